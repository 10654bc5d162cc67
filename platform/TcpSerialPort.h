#pragma once

#include "platform/SerialPort.h"

#include <QTcpSocket>
#include <chrono>

class SettingsStore;

// The serial line through a serial-to-network bridge in raw mode: the bytes of the
// line travel unchanged over one TCP connection. It behaves like the device port:
// reads of what has arrived (at most 1024 bytes at a time), writes handed on at once (a write
// blocks only while more than a transmit buffer is left unaccepted), and a connection the bridge
// drops is closed and reported once through portLost, like an unplugged adapter. Opening waits for
// the connection with events running, at most connectTimeout(), so the window stays alive while a
// bridge does not answer.
class TcpSerialPort : public SerialPort
{
    Q_OBJECT
public:
    static constexpr qint64 kReadBufferBytes = 1024;
    // The serial line's transmit buffer: beyond this many bytes the bridge has not
    // taken, a write waits for it, as a write to a full serial line blocks.
    static constexpr qint64 kTransmitBufferBytes = 512;
    // The longest such wait; the link takes a write that long as a hung line.
    static constexpr std::chrono::milliseconds kBlockedWriteLimit {800};
    static constexpr std::chrono::milliseconds kConnectTimeout {3000};

    explicit TcpSerialPort(SettingsStore *settings, QObject *parent = nullptr);
    ~TcpSerialPort() override;

    // Opens the address configured for COM n (see serialDeviceForPort).
    void open(int portNumber) override;
    // Opens a port name "tcp://host:port"; throws SerialPortError with the reason when it
    // is no valid address or no connection is made in time.
    void openName(const QString &portName);
    void close() override;
    bool isOpen() const override;
    void write(const QByteArray &bytes) override;
    qint64 bytesWaiting() override;
    QByteArray readAll() override;

    // A connection attempt is waiting in openName().
    bool isConnecting() const { return m_connecting; }
    // The address of the open connection (empty when closed).
    QString deviceName() const;

    std::chrono::milliseconds connectTimeout() const { return m_connectTimeout; }
    void setConnectTimeout(std::chrono::milliseconds timeout) { m_connectTimeout = timeout; }

private:
    void onDisconnected();
    void onError(QAbstractSocket::SocketError error);
    void reportLost(const QString &why);

    SettingsStore *m_settings;
    QTcpSocket m_socket;
    QString m_name;
    std::chrono::milliseconds m_connectTimeout = kConnectTimeout;
    bool m_connecting = false;
    bool m_open = false;
    bool m_lostReported = false;
};
