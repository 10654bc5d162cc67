#include "PrivateBus.h"

#include <QStandardPaths>
#include <QTest>

namespace {
constexpr int kStartWait = 5000;
}

PrivateBus::~PrivateBus()
{
    stop();
}

bool PrivateBus::start()
{
    const QString program = QStandardPaths::findExecutable(QStringLiteral("dbus-daemon"));
    if (program.isEmpty()) {
        m_error = QStringLiteral("dbus-daemon is not installed (scripts/install-deps)");
        return false;
    }
    m_daemon.setProgram(program);
    m_daemon.setArguments({QStringLiteral("--session"), QStringLiteral("--nofork"),
                           QStringLiteral("--nopidfile"), QStringLiteral("--print-address=1")});
    m_daemon.setProcessChannelMode(QProcess::SeparateChannels);
    m_daemon.start();
    if (!m_daemon.waitForStarted(kStartWait)) {
        m_error = m_daemon.errorString();
        return false;
    }
    if (!QTest::qWaitFor([this] { return m_daemon.canReadLine(); }, kStartWait)) {
        m_error = QStringLiteral("dbus-daemon printed no address: ")
            + QString::fromLocal8Bit(m_daemon.readAllStandardError());
        stop();
        return false;
    }
    m_address = QString::fromLocal8Bit(m_daemon.readLine()).trimmed();
    return !m_address.isEmpty();
}

void PrivateBus::stop()
{
    if (m_daemon.state() == QProcess::NotRunning)
        return;
    m_daemon.terminate();
    if (!m_daemon.waitForFinished(3000)) {
        m_daemon.kill();
        m_daemon.waitForFinished(3000);
    }
}

QProcessEnvironment PrivateBus::environment() const
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), m_address);
    return environment;
}
