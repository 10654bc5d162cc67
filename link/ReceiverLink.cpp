#include "link/ReceiverLink.h"

#include "errors/ErrorGuard.h"
#include "errors/OrvaneError.h"
#include "link/ConfigurationBlock.h"
#include "link/LinkHost.h"
#include "link/LinkTimings.h"
#include "platform/SerialPort.h"
#include "platform/SerialPortError.h"
#include "platform/UserDialogs.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <algorithm>
#include <thread>
#include <utility>

using namespace std::chrono_literals;

namespace {
constexpr char kStx = 0x02;
constexpr char kEtx = 0x03;
constexpr char kDc1 = 0x11;
constexpr char kDc3 = 0x13;
constexpr char kDel = 0x7f;

// How often a wait with events running looks at the port when no data wakes it.
constexpr std::chrono::milliseconds kWaitTick {20};
// Step of the reset's wait for a free link, which runs no events.
constexpr std::chrono::milliseconds kBusySleepStep {50};

const QString kSentMarker = QStringLiteral("---> ");
const QString kReceivedMarker = QStringLiteral("<--- ");

// Runs one operation of the port; a failure of the line becomes the program's error
// with the same number, text and source line, as the user has always seen it.
template<typename Step> void onPort(Step &&step)
{
    try {
        step();
    } catch (const SerialPortError &error) {
        throw OrvaneError(error.number(), error.description(), error.where());
    }
}

std::chrono::milliseconds elapsedOf(const QElapsedTimer &clock)
{
    return std::chrono::milliseconds(clock.elapsed());
}
} // namespace

// Holds the busy flag for one operation and frees it however the operation ends, so a
// failing write cannot leave the link busy for good; then the link catches up with what
// arrived meanwhile.
class ReceiverLink::Busy
{
public:
    explicit Busy(ReceiverLink &link)
        : m_link(link)
    {
        m_link.m_linkBusy = true;
    }
    ~Busy()
    {
        m_link.m_linkBusy = false;
        m_link.operationEnded();
    }
    Busy(const Busy &) = delete;
    Busy &operator=(const Busy &) = delete;

private:
    ReceiverLink &m_link;
};

ReceiverLink::ReceiverLink(SerialPort *port, LinkHost *host, UserDialogs *dialogs, QObject *parent)
    : QObject(parent)
    , m_port(port)
    , m_host(host)
    , m_dialogs(dialogs)
{
    connect(m_port, &SerialPort::portLost, this, &ReceiverLink::onPortLost);
    connect(m_port, &SerialPort::dataArrived, this, &ReceiverLink::onDataArrived);
}

ReceiverLink::~ReceiverLink() = default;

bool ReceiverLink::PortOpen() const
{
    return m_port && m_port->isOpen();
}

void ReceiverLink::OpenPort()
{
    ++m_portEpoch;
    m_cutter.reset();
    onPort([&] { m_port->open(m_commPort); });
}

void ReceiverLink::ClosePort()
{
    ++m_portEpoch;
    // What was read and not yet evaluated belongs to the connection that ends here.
    m_cutter.reset();
    m_reports.clear();
    onPort([&] { m_port->close(); });
}

QStringList ReceiverLink::takeReports()
{
    return std::exchange(m_reports, {});
}

void ReceiverLink::setTrafficLog(bool logTraffic, bool logToFile)
{
    m_logTraffic = logTraffic || logToFile;
    m_logToFile = logToFile;
}

void ReceiverLink::onDataArrived()
{
    // Read from the event loop, not inside the port's notification: one read however
    // many notifications come before it.
    if (m_readQueued)
        return;
    m_readQueued = true;
    QMetaObject::invokeMethod(this, &ReceiverLink::readArrived, Qt::QueuedConnection);
}

void ReceiverLink::readArrived()
{
    m_readQueued = false;
    // An operation that holds the port reads what arrives itself.
    if (m_linkBusy || !PortOpen())
        return;
    QString received;
    ReadPort(received, true);
}

void ReceiverLink::operationEnded()
{
    if (PortOpen() && waitingBytes() > 0)
        onDataArrived();
    if (m_reports.isEmpty() || m_notifyQueued)
        return;
    m_notifyQueued = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_notifyQueued = false;
            // The operation running now announces them when it ends.
            if (!m_linkBusy && !m_reports.isEmpty())
                emit reportsReady();
        },
        Qt::QueuedConnection);
}

QString ReceiverLink::takeWaiting()
{
    if (!m_port->isOpen())
        return {};
    const QString text = QString::fromLatin1(m_port->readAll());
    if (text.isEmpty())
        return text;
    m_reports += m_cutter.cut(text);
    if (m_reports.size() > kMaxWaitingReports)
        m_reports.remove(0, m_reports.size() - kMaxWaitingReports);
    return text;
}

QString ReceiverLink::discardWaiting()
{
    const QString text = takeWaiting();
    m_cutter.reset();
    return text;
}

void ReceiverLink::onPortLost(const QString &reason)
{
    ignoringErrors([this] { ClosePort(); });
    m_linkBusy = false;
    if (m_host)
        m_host->linkLost(reason);
}

qint64 ReceiverLink::waitingBytes()
{
    qint64 count = 0;
    ignoringErrors([&] { count = m_port->bytesWaiting(); });
    return count;
}

void ReceiverLink::writeFrame(const QByteArray &frame)
{
    if (m_logTraffic)
        DebugLog(QString::fromLatin1(frame), true);
    onPort([&] { m_port->write(frame); });
}

void ReceiverLink::waitForEvents(std::chrono::milliseconds limit)
{
    QEventLoop loop;
    QTimer tick;
    tick.setSingleShot(true);
    connect(&tick, &QTimer::timeout, &loop, &QEventLoop::quit);
    connect(m_port, &SerialPort::dataArrived, &loop, &QEventLoop::quit);
    connect(m_port, &SerialPort::portLost, &loop, &QEventLoop::quit);
    tick.start(std::max(limit, 0ms));
    loop.exec();
}

void ReceiverLink::pause(std::chrono::milliseconds duration)
{
    QEventLoop loop;
    QTimer deadline;
    deadline.setSingleShot(true);
    connect(&deadline, &QTimer::timeout, &loop, &QEventLoop::quit);
    connect(m_port, &SerialPort::portLost, &loop, &QEventLoop::quit);
    deadline.start(std::max(duration, 0ms));
    loop.exec();
}

bool ReceiverLink::SendCommand(const QString &code, int RefreshSettings)
{
    if (!PortOpen() || m_linkBusy)
        return false;

    if (RefreshSettings == 1) {
        guarded("Form_Com", "SendCommand", [&] {
            QString fresh;
            ReadSettings(fresh);
            if (!fresh.isEmpty() && ConfigurationBlock(fresh).dataAt(1) != QLatin1Char('1'))
                m_host->SetOrvaneSettings(fresh);
        });
        // The read let events run: the port may have gone or been taken meanwhile.
        if (!PortOpen() || m_linkBusy)
            return false;
    }

    Busy busy(*this);
    bool written = false;
    guarded("Form_Com", "SendCommand", [&] {
        QElapsedTimer clock;
        clock.start();
        writeFrame(kStx + code.toLatin1() + kEtx);
        written = true;
        // A write that blocks this long means a hung port.
        if (elapsedOf(clock) >= LinkTimings::current().answerWait)
            ReConnect();
    });
    return written;
}

template<typename Complete>
void ReceiverLink::collect(QString &text, bool direct, Complete &&complete)
{
    const quint64 epoch = m_portEpoch;
    QElapsedTimer clock;
    clock.start();
    text.clear();
    for (;;) {
        if (epoch != m_portEpoch || !m_port->isOpen())
            break;
        if (waitingBytes() > 0) {
            text += takeWaiting();
            if (complete(text))
                break;
        }
        if (direct)
            break;
        const auto remaining = LinkTimings::current().answerWait - elapsedOf(clock);
        if (remaining <= 0ms)
            break;
        waitForEvents(std::min(remaining, kWaitTick));
    }
    if (m_logTraffic)
        DebugLog(text, false);
}

void ReceiverLink::ReadPort(QString &Puffer, bool Direct)
{
    if (m_linkBusy || !PortOpen())
        return;

    Busy busy(*this);
    guarded("Form_Com", "ReadPort", [&] {
        collect(Puffer, Direct,
                [](const QString &text) { return text.endsWith(QLatin1Char(kEtx)); });
    });
}

void ReceiverLink::ClearComPuffer(QString *Puffer)
{
    if (!PortOpen() || m_linkBusy)
        return;

    Busy busy(*this);
    guarded("Form_Com", "ClearComPuffer", [&] {
        const QString discarded = discardWaiting();
        if (Puffer)
            *Puffer = discarded;
    });
}

void ReceiverLink::ReadSettings(QString &stSettings, QString *stSettingsOrginal)
{
    if (!PortOpen() || m_linkBusy)
        return;

    {
        Busy busy(*this);
        const bool requested = guarded("Form_Com", "ReadSettings", [&] {
            QElapsedTimer clock;
            clock.start();
            discardWaiting();
            writeFrame(QByteArray(1, kDc1) + "000" + kEtx);
            if (elapsedOf(clock) >= LinkTimings::current().answerWait)
                ReConnect();
        });
        if (!requested)
            return;
    }

    // Read into a fresh text: when the port has gone meanwhile, the caller must get
    // nothing rather than what its text held before. Only a whole block counts: reports
    // before it go their way, and half a block (a receiver that fell silent) is no answer.
    stSettings.clear();
    if (m_linkBusy || !PortOpen())
        return;
    {
        Busy busy(*this);
        guarded("Form_Com", "ReadSettings", [&] {
            QString received;
            collect(received, false, [](const QString &text) {
                return ConfigurationBlock::lastIn(text).isComplete();
            });
            stSettings = ConfigurationBlock::lastIn(received).text();
            if (!ConfigurationBlock(stSettings).isComplete())
                stSettings.clear();
        });
    }
    if (stSettings.isEmpty())
        return;

    guarded("Form_Com", "ReadSettings", [&] {
        if (stSettingsOrginal)
            *stSettingsOrginal = stSettings;
        m_host->incomingSettings(stSettings.mid(1, stSettings.size() - 2));
        stSettings = fixSettingsQuirk(stSettings);
    });
}

QString ReceiverLink::fixSettingsQuirk(const QString &block)
{
    return ConfigurationBlock(block).withoutQuirk().text();
}

void ReceiverLink::ReConnect()
{
    guarded("Form_Com", "ReConnect", [&] {
        m_host->setLine1(QString());
        m_host->setLine2(QStringLiteral("Reconnect"));
        // The reports read so far stay for the program; a half report cannot be finished
        // after the port is opened anew.
        discardWaiting();
        ++m_portEpoch;
        onPort([&] { m_port->close(); });
        const quint64 epoch = m_portEpoch;
        pause(LinkTimings::current().reconnectPause);
        // The user disconnected (or connected anew) meanwhile: leave the port to that.
        if (epoch != m_portEpoch)
            return;
        ++m_portEpoch;
        onPort([&] { m_port->open(m_commPort); });
        m_host->setLine2(QStringLiteral("Done"));
        if (m_logTraffic)
            DebugLog(QStringLiteral("RECONNECT"), true);
    });
}

void ReceiverLink::ResetOrvane(QString *Ret)
{
    bool resetSent = false;
    guarded("Form_Com", "ResetOrvane", [&] {
        if (!PortOpen()) {
            m_dialogs->inform(tr("Connect Error !"));
            return;
        }

        // No events run during this wait, so nothing can free the flag: it only
        // bounds how long the user waits for the "Time Out" message.
        QElapsedTimer clock;
        clock.start();
        while (m_linkBusy) {
            const auto remaining = LinkTimings::current().resetWait - elapsedOf(clock);
            if (remaining <= 0ms) {
                m_dialogs->inform(tr("Time Out"));
                return;
            }
            std::this_thread::sleep_for(std::min(remaining, kBusySleepStep));
        }

        Busy busy(*this);
        discardWaiting();
        writeFrame(QByteArray(1, kDc3) + QByteArray(3, kDel) + kEtx);
        pause(LinkTimings::current().resetWait);
        const QString answer = takeWaiting();
        if (m_logTraffic)
            DebugLog(answer, false);
        if (Ret)
            *Ret = answer;
        // A port lost during the pause leaves nothing to switch on.
        resetSent = PortOpen();
    });
    if (resetSent)
        PowerOn();
}

void ReceiverLink::SendMessage(QString &Message)
{
    guarded("Form_Com", "SendMessage", [&] {
        if (Message.size() < 16)
            Message = Message.leftJustified(16, QLatin1Char(' '));
        SendCommand(QStringLiteral("21000"));
        for (qsizetype k = 0; k < 16; k += 4)
            SendCommand(QLatin1Char('3') + Message.mid(k, 4));
    });
}

void ReceiverLink::DebugLog(const QString &Puffer, bool Send)
{
    guarded("Form_Com", "DebugLog", [&] {
        // Empty poll results would flood the log ten times a second.
        if (m_host->pollRunning() && Puffer.isEmpty())
            return;
        writeLogLine((Send ? kSentMarker : kReceivedMarker) + Puffer);
    });
}

void ReceiverLink::LogNote(const QString &line)
{
    guarded("Form_Com", "DebugLog", [&] {
        if (m_logTraffic)
            writeLogLine(line);
    });
}

void ReceiverLink::writeLogLine(const QString &line)
{
    emit trafficLogged(line);

    if (m_logToFile) {
        const bool chosen = !m_logFile.path().isEmpty();
        try {
            m_logFile.append(line);
        } catch (...) {
            emit logFileChanged(m_logFile.path(), false);
            throw;
        }
        if (!chosen)
            emit logFileChanged(m_logFile.path(), true);
    }
}

void ReceiverLink::startLogFile()
{
    try {
        m_logFile.start();
    } catch (...) {
        emit logFileChanged(m_logFile.path(), false);
        throw;
    }
    emit logFileChanged(m_logFile.path(), true);
}

void ReceiverLink::stopLogFile()
{
    emit logFileChanged(QString(), true);
}
