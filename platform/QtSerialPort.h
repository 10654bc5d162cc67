#pragma once

#include "platform/SerialPort.h"

#include <QSerialPort>
#include <chrono>

class SettingsStore;

// The serial line on a real device: 9600 baud, 8N1, no flow control. COM n is
// mapped to a device through the settings store (see serialDeviceForPort).
// A device that fails for good (unplugged adapter, closed pseudo-terminal) is
// closed and reported once through portLost. Nothing else closes it: Qt's serial port
// also reports an empty read as an error (as when its read notification was already
// queued for bytes another read took) and a write the line cannot take at once as one;
// such an error is only taken for a loss when the device says it has gone (hang-up or
// error on the line), else the port reads on.
//
// Reading never bypasses Qt's own notification: readAll() returns what Qt has taken from
// the device, and Qt takes all the device holds (its read buffer is not limited), so a
// burst of any size arrives in order, through dataArrived.
//
// A write behaves like one into a 512-byte transmit buffer: it returns once the line has
// taken the bytes and no more than 512 wait to go out, and blocks for at most
// kWriteTimeout when the line takes no more. The link takes such a write for a hung port.
class QtSerialPort : public SerialPort
{
    Q_OBJECT
public:
    static constexpr qint64 kTransmitBufferBytes = 512;
    // Errors in a row without a byte in between, on a device that has not gone, after
    // which the port is taken for lost anyway (a line that only ever fails).
    static constexpr int kMaxTransientErrors = 50;
    static constexpr std::chrono::milliseconds kWriteTimeout {800};

    explicit QtSerialPort(SettingsStore *settings, QObject *parent = nullptr);
    ~QtSerialPort() override;

    void open(int portNumber) override;
    void close() override;
    bool isOpen() const override;
    void write(const QByteArray &bytes) override;
    qint64 bytesWaiting() override;
    QByteArray readAll() override;

    // The device path of the open port (empty when closed).
    QString deviceName() const;

private:
    void onError(QSerialPort::SerialPortError error);
    // The device has hung up or reports an error of its own (what a vanished device does).
    bool deviceGone() const;
    // After a transient error: takes up reading again where Qt stopped it.
    void resumeReading();
    // Bytes not yet handed to the device, plus those the device has not yet sent.
    qint64 queuedBytes() const;

    SettingsStore *m_settings;
    QSerialPort m_serial;
    QString m_device;
    bool m_lostReported = false;
    int m_transientErrors = 0;
    bool m_resumeQueued = false;
    // Bytes Qt handed over while reading was taken up again, for the next readAll().
    QByteArray m_held;
};
