#pragma once

#include "platform/SerialPort.h"

#include <QList>
#include <QStringList>
#include <chrono>
#include <functional>

class ReceiverModel;

// A serial port wired to a receiver model. Whatever the program writes goes to the
// model at once; the model's answer arrives later (after `latency`, from the event
// loop), so a caller really has to wait for it. Without a model nothing answers.
class FakeSerialPort : public SerialPort
{
    Q_OBJECT
public:
    explicit FakeSerialPort(ReceiverModel *model = nullptr, QObject *parent = nullptr);
    ~FakeSerialPort() override;

    void open(int portNumber) override;
    void close() override;
    bool isOpen() const override { return m_open; }
    void write(const QByteArray &bytes) override;
    qint64 bytesWaiting() override;
    QByteArray readAll() override;

    void setModel(ReceiverModel *model) { m_model = model; }
    ReceiverModel *model() const { return m_model; }

    // Delay before an answer arrives; 0 still waits for the event loop.
    void setLatency(std::chrono::milliseconds latency) { m_latency = latency; }
    // Deliver answers in pieces of this many bytes, one piece per latency period
    // (0: the whole answer at once), to split frames over several reads.
    void setChunkSize(int bytes) { m_chunkSize = bytes; }
    // Every following open throws SerialPortError(number, description) while set.
    void setOpenFailure(bool fail, int number = 8002,
                        const QString &description = QStringLiteral("Invalid port number"));
    // Runs at the start of every open, as events run while a network port connects.
    void setOpenHook(std::function<void()> hook) { m_openHook = std::move(hook); }
    // The next `writes` writes (-1: all) sleep this long before returning.
    void setWriteStall(std::chrono::milliseconds stall, int writes = -1);
    // Every following write throws SerialPortError while set.
    void setWriteFailure(bool fail) { m_writeFails = fail; }

    // The device disappears: the port closes, portLost is emitted, and opens fail
    // until reappear().
    void vanish(const QString &reason = QStringLiteral("device removed"));
    void reappear() { m_gone = false; }

    // Bytes that arrive from the line as if the receiver had sent them: at once,
    // or through the same delayed delivery as answers.
    void injectRaw(const QByteArray &bytes);
    void injectLater(const QByteArray &bytes);

    // Each write() call, in order (the link writes one frame per call).
    const QList<QByteArray> &writes() const { return m_writes; }
    // The five-character codes of the STX code ETX frames written, in order.
    QStringList writtenCodes() const;
    void clearWrites() { m_writes.clear(); }

    int openCount() const { return m_openCount; }
    int closeCount() const { return m_closeCount; }
    int lastPortNumber() const { return m_portNumber; }

private:
    void queue(const QByteArray &bytes);
    void deliverNext();

    ReceiverModel *m_model;
    bool m_open = false;
    bool m_gone = false;
    int m_portNumber = 0;
    int m_openCount = 0;
    int m_closeCount = 0;

    std::chrono::milliseconds m_latency {0};
    int m_chunkSize = 0;
    std::function<void()> m_openHook;
    bool m_openFails = false;
    int m_openErrorNumber = 8002;
    QString m_openErrorText;
    std::chrono::milliseconds m_writeStall {0};
    int m_stalledWrites = 0;
    bool m_writeFails = false;

    QByteArray m_inFlight;
    bool m_deliveryScheduled = false;
    QByteArray m_waiting;
    QList<QByteArray> m_writes;
};
