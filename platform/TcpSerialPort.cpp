#include "platform/TcpSerialPort.h"

#include "platform/NetworkPortAddress.h"
#include "platform/SerialDeviceNames.h"
#include "platform/SerialPortError.h"
#include "platform/SettingsStore.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

TcpSerialPort::TcpSerialPort(SettingsStore *settings, QObject *parent)
    : SerialPort(parent)
    , m_settings(settings)
{
    connect(&m_socket, &QTcpSocket::readyRead, this, &SerialPort::dataArrived);
    connect(&m_socket, &QTcpSocket::disconnected, this, &TcpSerialPort::onDisconnected);
    connect(&m_socket, &QTcpSocket::errorOccurred, this, &TcpSerialPort::onError);
}

TcpSerialPort::~TcpSerialPort()
{
    m_socket.disconnect(this);
    m_socket.abort();
}

void TcpSerialPort::open(int portNumber)
{
    openName(m_settings ? serialDeviceForPort(*m_settings, portNumber) : QString());
}

void TcpSerialPort::openName(const QString &portName)
{
    const QString name = portName.trimmed();
    if (m_connecting) {
        throw SerialPortError(SerialPortError::kPortError,
                              tr("Cannot open %1: a connection is being made").arg(name));
    }
    close();
    const std::optional<NetworkPortAddress> address = NetworkPortAddress::parse(name);
    if (!address) {
        throw SerialPortError(SerialPortError::kPortError,
                              tr("Cannot open %1: not a network address (write "
                                 "tcp://host:port, port 1 to 65535)")
                                  .arg(name));
    }

    // Waits with events running, so the window stays alive, but for a bounded time.
    m_connecting = true;
    m_socket.setReadBufferSize(kReadBufferBytes);
    m_socket.connectToHost(address->host, address->port);
    bool timedOut = false;
    if (m_socket.state() != QAbstractSocket::ConnectedState
        && m_socket.state() != QAbstractSocket::UnconnectedState) {
        QEventLoop loop;
        QTimer deadline;
        deadline.setSingleShot(true);
        connect(&deadline, &QTimer::timeout, &loop, [&] {
            timedOut = true;
            loop.quit();
        });
        connect(&m_socket, &QTcpSocket::connected, &loop, &QEventLoop::quit);
        connect(&m_socket, &QTcpSocket::errorOccurred, &loop, &QEventLoop::quit);
        connect(&m_socket, &QTcpSocket::stateChanged, &loop,
                [&](QAbstractSocket::SocketState state) {
                    if (state == QAbstractSocket::UnconnectedState)
                        loop.quit();
                });
        deadline.start(m_connectTimeout);
        loop.exec();
    }
    m_connecting = false;

    if (m_socket.state() != QAbstractSocket::ConnectedState) {
        const QString reason = timedOut
            ? QStringLiteral("no answer within %1 s").arg(double(m_connectTimeout.count()) / 1000.0)
            : m_socket.errorString();
        m_socket.abort();
        throw SerialPortError(SerialPortError::kPortError,
                              tr("Cannot connect to %1: %2").arg(name, reason));
    }
    // Small frames go out at once; a bridge that vanishes silently is found in time.
    m_socket.setSocketOption(QAbstractSocket::LowDelayOption, 1);
    m_socket.setSocketOption(QAbstractSocket::KeepAliveOption, 1);
    m_name = address->toString();
    m_open = true;
    m_lostReported = false;
}

void TcpSerialPort::close()
{
    m_open = false;
    // Also ends a connection attempt still waiting in openName().
    m_socket.abort();
}

bool TcpSerialPort::isOpen() const
{
    return m_open && m_socket.state() == QAbstractSocket::ConnectedState;
}

void TcpSerialPort::write(const QByteArray &bytes)
{
    if (!isOpen())
        throw SerialPortError(SerialPortError::kPortError, tr("The port is not open"));
    if (m_socket.write(bytes) != bytes.size()) {
        throw SerialPortError(SerialPortError::kPortError,
                              tr("Cannot write to %1: %2").arg(m_name, m_socket.errorString()));
    }
    // Hands the bytes to the system now without waiting for them to go out.
    m_socket.flush();
    // A bridge that takes no more data blocks the write, for a bounded time, as a
    // stalled serial line does; the link then reconnects.
    QElapsedTimer blocked;
    blocked.start();
    while (isOpen() && m_socket.bytesToWrite() > kTransmitBufferBytes
           && blocked.elapsed() < kBlockedWriteLimit.count()) {
        m_socket.waitForBytesWritten(int(kBlockedWriteLimit.count() - blocked.elapsed()));
    }
}

qint64 TcpSerialPort::bytesWaiting()
{
    return isOpen() ? m_socket.bytesAvailable() : 0;
}

QByteArray TcpSerialPort::readAll()
{
    return isOpen() ? m_socket.readAll() : QByteArray();
}

QString TcpSerialPort::deviceName() const
{
    return isOpen() ? m_name : QString();
}

void TcpSerialPort::onDisconnected()
{
    if (m_open)
        reportLost(QStringLiteral("%1: the connection was closed").arg(m_name));
}

void TcpSerialPort::onError(QAbstractSocket::SocketError error)
{
    // Errors while connecting are thrown by openName() itself.
    if (!m_open || error == QAbstractSocket::SocketTimeoutError)
        return;
    reportLost(QStringLiteral("%1: %2").arg(m_name, m_socket.errorString()));
}

void TcpSerialPort::reportLost(const QString &why)
{
    m_open = false;
    m_socket.abort();
    if (!m_lostReported) {
        m_lostReported = true;
        emit portLost(why);
    }
}
