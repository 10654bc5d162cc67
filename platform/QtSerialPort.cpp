#include "platform/QtSerialPort.h"

#include "platform/SerialDeviceNames.h"
#include "platform/SerialPortError.h"
#include "platform/SettingsStore.h"

#include <QDeadlineTimer>
#include <QTimer>
#include <cerrno>
#include <poll.h>
#include <sys/ioctl.h>
#include <thread>
#include <utility>

namespace {
// How long a write waits per look while the device sends what it holds.
constexpr std::chrono::milliseconds kDrainStep {5};
} // namespace

QtSerialPort::QtSerialPort(SettingsStore *settings, QObject *parent)
    : SerialPort(parent)
    , m_settings(settings)
{
    connect(&m_serial, &QSerialPort::readyRead, this, [this] {
        m_transientErrors = 0;
        emit dataArrived();
    });
    connect(&m_serial, &QSerialPort::errorOccurred, this, &QtSerialPort::onError);
}

QtSerialPort::~QtSerialPort()
{
    if (m_serial.isOpen())
        m_serial.close();
}

void QtSerialPort::open(int portNumber)
{
    if (m_serial.isOpen())
        throw SerialPortError(SerialPortError::kPortAlreadyOpen, tr("Port already open"));
    const QString device = m_settings ? serialDeviceForPort(*m_settings, portNumber)
                                      : QStringLiteral("/dev/ttyS%1").arg(portNumber - 1);
    m_device = device;
    m_serial.setPortName(device);
    m_serial.setBaudRate(QSerialPort::Baud9600);
    m_serial.setDataBits(QSerialPort::Data8);
    m_serial.setParity(QSerialPort::NoParity);
    m_serial.setStopBits(QSerialPort::OneStop);
    m_serial.setFlowControl(QSerialPort::NoFlowControl);
    // Unlimited: with a limit Qt stops reading when it is full and the device's own
    // buffer overflows or the sender stalls; the link empties Qt's buffer at each
    // notification anyway.
    m_serial.setReadBufferSize(0);
    if (!m_serial.open(QIODevice::ReadWrite)) {
        const QString reason = m_serial.errorString();
        m_serial.clearError();
        throw SerialPortError(SerialPortError::kPortError,
                              tr("Cannot open %1: %2").arg(device, reason));
    }
    m_serial.clearError();
    m_lostReported = false;
    m_transientErrors = 0;
    m_held.clear();
}

void QtSerialPort::close()
{
    if (m_serial.isOpen()) {
        // Drops unsent output, so closing does not wait on a line that takes nothing.
        m_serial.clear(QSerialPort::Output);
        m_serial.close();
    }
    m_serial.clearError();
    m_held.clear();
}

bool QtSerialPort::isOpen() const
{
    return m_serial.isOpen();
}

void QtSerialPort::write(const QByteArray &bytes)
{
    if (!m_serial.isOpen())
        throw SerialPortError(SerialPortError::kPortNotOpen,
                              tr("Operation valid only when the port is open"));
    if (m_serial.write(bytes) != bytes.size()) {
        throw SerialPortError(SerialPortError::kPortError,
                              tr("Cannot write to %1: %2").arg(m_device, m_serial.errorString()));
    }
    // Hands the bytes to the device, then waits while the line has not taken them or
    // holds more than the transmit buffer would; a line that takes nothing more makes
    // this write last kWriteTimeout.
    m_serial.flush();
    const QDeadlineTimer deadline(kWriteTimeout);
    while (m_serial.isOpen() && !deadline.hasExpired()) {
        if (m_serial.bytesToWrite() > 0) {
            m_serial.waitForBytesWritten(int(std::max<qint64>(1, deadline.remainingTime())));
        } else if (queuedBytes() > kTransmitBufferBytes) {
            std::this_thread::sleep_for(kDrainStep);
        } else {
            return;
        }
    }
}

qint64 QtSerialPort::queuedBytes() const
{
    int unsent = 0;
    // The device's output queue; a pseudo-terminal or a failing query counts as empty.
    if (::ioctl(int(m_serial.handle()), TIOCOUTQ, &unsent) != 0)
        unsent = 0;
    return m_serial.bytesToWrite() + unsent;
}

qint64 QtSerialPort::bytesWaiting()
{
    return m_serial.isOpen() ? m_held.size() + m_serial.bytesAvailable() : 0;
}

QByteArray QtSerialPort::readAll()
{
    if (!m_serial.isOpen())
        return {};
    // Only what Qt has taken from the device: pulling more here (waitForReadyRead) would
    // race the read notification Qt may already have queued, which then reads nothing
    // and reports that as an error. What is still in the device comes with the next
    // notification, in order.
    return std::exchange(m_held, {}) + m_serial.readAll();
}

QString QtSerialPort::deviceName() const
{
    return m_serial.isOpen() ? m_device : QString();
}

void QtSerialPort::onError(QSerialPort::SerialPortError error)
{
    if (error == QSerialPort::NoError || error == QSerialPort::TimeoutError)
        return;
    // Errors during open() are thrown by open() itself.
    if (!m_serial.isOpen())
        return;
    const QString reason = QStringLiteral("%1: %2").arg(m_device, m_serial.errorString());
    m_serial.clearError();
    if (!deviceGone() && ++m_transientErrors <= kMaxTransientErrors) {
        // An empty read or a write the line could not take yet: the device is there.
        resumeReading();
        return;
    }
    // A vanished device keeps the port "open" and repeats its error endlessly:
    // close it at the first one and report the loss once.
    m_serial.close();
    m_held.clear();
    if (!m_lostReported) {
        m_lostReported = true;
        emit portLost(reason);
    }
}

bool QtSerialPort::deviceGone() const
{
    pollfd device {int(m_serial.handle()), POLLIN, 0};
    int ready = 0;
    do {
        ready = ::poll(&device, 1, 0);
    } while (ready < 0 && errno == EINTR);
    return ready < 0 || (device.revents & (POLLHUP | POLLERR | POLLNVAL)) != 0;
}

void QtSerialPort::resumeReading()
{
    // Qt stops its read notification after some errors and starts it again on the next
    // read; that read is done from the event loop, after Qt's own handling of the error.
    if (m_resumeQueued)
        return;
    m_resumeQueued = true;
    QTimer::singleShot(0, this, [this] {
        m_resumeQueued = false;
        if (!m_serial.isOpen())
            return;
        const QByteArray bytes = m_serial.readAll();
        if (bytes.isEmpty())
            return;
        m_held += bytes;
        emit dataArrived();
    });
}
