#include "ReceiverProcess.h"

#include <QFileInfo>
#include <QTest>
#include <chrono>

using namespace std::chrono_literals;

namespace {
constexpr std::chrono::milliseconds kStartWait {5000};
constexpr std::chrono::milliseconds kStopWait {3000};
} // namespace

ReceiverProcess::~ReceiverProcess()
{
    stop();
}

QString ReceiverProcess::program()
{
    return qEnvironmentVariable("ORVANE_BUILD_DIR") + QStringLiteral("/orvane-receiver");
}

bool ReceiverProcess::isBuilt()
{
    return !qEnvironmentVariableIsEmpty("ORVANE_BUILD_DIR") && QFileInfo(program()).isExecutable();
}

bool ReceiverProcess::start(const QStringList &arguments)
{
    m_device.clear();
    m_log.clear();
    m_process.start(program(), arguments);
    if (!m_process.waitForStarted(int(kStartWait.count()))) {
        m_error = m_process.errorString();
        return false;
    }
    // Lets events run while waiting, so a window already on screen stays alive.
    if (!QTest::qWaitFor([this] { return m_process.canReadLine(); }, int(kStartWait.count()))) {
        m_error = QStringLiteral("no device path from ") + program();
        return false;
    }
    m_device = QString::fromLocal8Bit(m_process.readLine()).trimmed();
    if (!m_device.startsWith(QLatin1String("/dev/"))
        && !m_device.startsWith(QLatin1String("tcp://"))) {
        m_error = QStringLiteral("not a device path: ") + m_device;
        return false;
    }
    return true;
}

void ReceiverProcess::writeLine(const QByteArray &line)
{
    m_process.write(line + '\n');
}

QString ReceiverProcess::log()
{
    m_log += QString::fromLatin1(m_process.readAllStandardError());
    return m_log;
}

void ReceiverProcess::stop()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.terminate();
    if (!m_process.waitForFinished(int(kStopWait.count()))) {
        m_process.kill();
        m_process.waitForFinished(int(kStopWait.count()));
    }
}

void ReceiverProcess::kill()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.kill();
    m_process.waitForFinished(int(kStopWait.count()));
}
