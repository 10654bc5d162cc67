#include "FakeSerialPort.h"

#include "platform/SerialPortError.h"
#include "sim/ReceiverModel.h"

#include <QThread>
#include <QTimer>

FakeSerialPort::FakeSerialPort(ReceiverModel *model, QObject *parent)
    : SerialPort(parent)
    , m_model(model)
{
}

FakeSerialPort::~FakeSerialPort() = default;

void FakeSerialPort::open(int portNumber)
{
    if (m_openHook)
        m_openHook();
    if (m_open)
        throw SerialPortError(SerialPortError::kPortAlreadyOpen,
                              QStringLiteral("Port already open"));
    if (m_gone || m_openFails)
        throw SerialPortError(m_openErrorNumber,
                              m_openErrorText.isEmpty() ? QStringLiteral("Invalid port number")
                                                        : m_openErrorText);
    m_open = true;
    m_portNumber = portNumber;
    ++m_openCount;
}

void FakeSerialPort::close()
{
    if (m_open)
        ++m_closeCount;
    m_open = false;
    // A closed port receives nothing: what was waiting or under way is lost.
    m_waiting.clear();
    m_inFlight.clear();
}

void FakeSerialPort::write(const QByteArray &bytes)
{
    if (!m_open)
        throw SerialPortError(SerialPortError::kPortNotOpen,
                              QStringLiteral("Operation valid only when the port is open"));
    if (m_writeFails)
        throw SerialPortError(SerialPortError::kPortError, QStringLiteral("Write failed"));
    if (m_stalledWrites != 0) {
        if (m_stalledWrites > 0)
            --m_stalledWrites;
        QThread::msleep(static_cast<unsigned long>(m_writeStall.count()));
    }
    m_writes.append(bytes);
    if (m_model)
        queue(m_model->feed(bytes));
}

qint64 FakeSerialPort::bytesWaiting()
{
    return m_open ? m_waiting.size() : 0;
}

QByteArray FakeSerialPort::readAll()
{
    if (!m_open)
        return {};
    return std::exchange(m_waiting, {});
}

void FakeSerialPort::setOpenFailure(bool fail, int number, const QString &description)
{
    m_openFails = fail;
    m_openErrorNumber = number;
    m_openErrorText = description;
}

void FakeSerialPort::setWriteStall(std::chrono::milliseconds stall, int writes)
{
    m_writeStall = stall;
    m_stalledWrites = stall.count() > 0 ? writes : 0;
}

void FakeSerialPort::vanish(const QString &reason)
{
    m_gone = true;
    close();
    emit portLost(reason);
}

void FakeSerialPort::injectRaw(const QByteArray &bytes)
{
    if (!m_open || bytes.isEmpty())
        return;
    m_waiting += bytes;
    emit dataArrived();
}

void FakeSerialPort::injectLater(const QByteArray &bytes)
{
    queue(bytes);
}

QStringList FakeSerialPort::writtenCodes() const
{
    QStringList codes;
    for (const QByteArray &bytes : m_writes) {
        qsizetype from = 0;
        while ((from = bytes.indexOf('\x02', from)) >= 0) {
            const qsizetype end = bytes.indexOf('\x03', from);
            if (end < 0)
                break;
            codes << QString::fromLatin1(bytes.mid(from + 1, end - from - 1));
            from = end + 1;
        }
    }
    return codes;
}

void FakeSerialPort::queue(const QByteArray &bytes)
{
    if (bytes.isEmpty())
        return;
    m_inFlight += bytes;
    if (!m_deliveryScheduled) {
        m_deliveryScheduled = true;
        QTimer::singleShot(m_latency, this, &FakeSerialPort::deliverNext);
    }
}

void FakeSerialPort::deliverNext()
{
    m_deliveryScheduled = false;
    if (m_inFlight.isEmpty())
        return;
    const qsizetype count = m_chunkSize > 0 ? m_chunkSize : m_inFlight.size();
    const QByteArray piece = m_inFlight.left(count);
    m_inFlight.remove(0, piece.size());
    if (!m_inFlight.isEmpty()) {
        m_deliveryScheduled = true;
        QTimer::singleShot(m_latency, this, &FakeSerialPort::deliverNext);
    }
    if (m_open) {
        m_waiting += piece;
        emit dataArrived();
    }
}
