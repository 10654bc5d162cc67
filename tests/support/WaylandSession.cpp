#include "WaylandSession.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QLibraryInfo>
#include <QStandardPaths>
#include <QTest>

namespace {
const QString kSocket = QStringLiteral("orvane-test");
const QString kPortal = QStringLiteral("org.freedesktop.portal.Desktop");
const QString kConnection = QStringLiteral("wayland-session");

void end(QProcess &process)
{
    if (process.state() == QProcess::NotRunning)
        return;
    process.terminate();
    if (!process.waitForFinished(5000)) {
        process.kill();
        process.waitForFinished(3000);
    }
}

QDBusMessage standIn(const QString &method)
{
    return QDBusMessage::createMethodCall(kPortal, QStringLiteral("/standin"),
                                          QStringLiteral("org.orvane.test.PortalStandIn"), method);
}
} // namespace

WaylandSession::~WaylandSession()
{
    end(m_program);
    end(m_portal);
    end(m_weston);
    QDBusConnection::disconnectFromBus(kConnection);
}

QString WaylandSession::missing()
{
    if (QStandardPaths::findExecutable(QStringLiteral("weston")).isEmpty())
        return QStringLiteral("weston is not installed");
    const QDir plugins(QLibraryInfo::path(QLibraryInfo::PluginsPath)
                       + QStringLiteral("/platforms"));
    if (plugins.entryList({QStringLiteral("libqwayland*")}).isEmpty())
        return QStringLiteral("Qt's Wayland platform plugin is not installed");
    return {};
}

bool WaylandSession::fail(const QString &error)
{
    m_error = error;
    return false;
}

bool WaylandSession::start(bool portal)
{
    const QString build = qEnvironmentVariable("ORVANE_BUILD_DIR");
    if (!m_bus.start())
        return fail(m_bus.errorString());
    m_connection = QDBusConnection::connectToBus(m_bus.address(), kConnection);

    QFile::setPermissions(m_runtime.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QProcessEnvironment environment = m_bus.environment();
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_runtime.path());
    environment.remove(QStringLiteral("DISPLAY"));
    m_weston.setProcessEnvironment(environment);
    m_weston.setProcessChannelMode(QProcess::MergedChannels);
    m_weston.start(QStringLiteral("weston"),
                   {QStringLiteral("--backend=headless-backend.so"),
                    QStringLiteral("--shell=kiosk-shell.so"), QStringLiteral("--no-config"),
                    QStringLiteral("--idle-time=0"), QStringLiteral("--socket=") + kSocket});
    QDeadlineTimer deadline(10000);
    while (!QFile::exists(m_runtime.filePath(kSocket)) && !deadline.hasExpired()
           && m_weston.waitForStarted(100) && m_weston.state() == QProcess::Running)
        m_weston.waitForReadyRead(50);
    if (!QFile::exists(m_runtime.filePath(kSocket)))
        return fail(QStringLiteral("weston made no socket: ") + m_weston.readAll());

    if (portal) {
        m_portal.setProcessEnvironment(m_bus.environment());
        m_portal.start(build + QStringLiteral("/tests/orvane-portal-standin"), {});
        if (!QTest::qWaitFor(
                [this] { return m_connection.interface()->isServiceRegistered(kPortal); }))
            return fail(QStringLiteral("the portal stand-in does not start"));
    }

    if (!m_receiver.start({QStringLiteral("--log")}))
        return fail(m_receiver.errorString());
    QDir(m_config.path()).mkpath(QStringLiteral("Orvane"));
    QFile config(m_config.filePath(QStringLiteral("Orvane/Orvane.conf")));
    if (!config.open(QIODevice::WriteOnly))
        return fail(config.errorString());
    config.write("[Ports]\nCom1=" + m_receiver.device().toLocal8Bit()
                 + "\n[Config]\nMediaKeyWinamp=1\nMediaKeyOrvane=1\n");
    config.close();

    environment.insert(QStringLiteral("WAYLAND_DISPLAY"), kSocket);
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("wayland"));
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), m_config.path());
    m_program.setProcessEnvironment(environment);
    m_program.start(build + QStringLiteral("/orvane"), {QStringLiteral("-C1")});
    if (!QTest::qWaitFor([this] { return m_receiver.log().contains(QStringLiteral("20100")); },
                         20000))
        return fail(QStringLiteral("the program did not connect: ")
                    + m_program.readAllStandardError());
    return true;
}

QString WaylandSession::boundShortcut(const QString &trigger)
{
    const QDBusMessage reply = m_connection.call(standIn(QStringLiteral("Bound")));
    for (const QString &line : reply.arguments().value(0).toStringList())
        if (line.section(QLatin1Char('|'), 3) == trigger)
            return line.section(QLatin1Char('|'), 1, 1);
    return {};
}

void WaylandSession::activate(const QString &id, bool down)
{
    m_connection.call(standIn(QStringLiteral("Activate")) << id << down);
}
