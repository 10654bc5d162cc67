#include "ctl/OrvaneCtl.h"

#include "program/TerminationHandler.h"

#include <QCoreApplication>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusServiceWatcher>
#include <QDBusVariant>
#include <QEventLoop>
#include <QRegularExpression>
#include <QTimer>

namespace {

const QString kService = QStringLiteral("org.orvane.Orvane");
const QString kRootInterface = QStringLiteral("org.orvane.Orvane");
const QString kAddInInterface = QStringLiteral("org.orvane.Orvane.AddIn");
const QString kProperties = QStringLiteral("org.freedesktop.DBus.Properties");
constexpr std::chrono::milliseconds kTerminateGrace {200};

bool isNotRunningError(const QString &name)
{
    return name == QLatin1String("org.freedesktop.DBus.Error.ServiceUnknown")
        || name == QLatin1String("org.freedesktop.DBus.Error.NameHasNoOwner")
        || name == QLatin1String("org.freedesktop.DBus.Error.UnknownObject");
}

} // namespace

OrvaneCtl::OrvaneCtl(const QDBusConnection &bus, FILE *out, FILE *err, QObject *parent)
    : QObject(parent)
    , m_bus(bus)
    , m_out(out)
    , m_err(err)
{
}

QString OrvaneCtl::helpText()
{
    return QStringLiteral(
        "Usage: orvane-ctl COMMAND\n"
        "Drives the Orvane running in this desktop session.\n"
        "\n"
        "Commands:\n"
        "  send CODE             send one receiver command code: five hexadecimal\n"
        "                        characters, e.g. 07A1D (input DVD)\n"
        "  display               print the two display lines, one per line\n"
        "  info                  print the model identifier, the model and the\n"
        "                        receiver's software version, one per line\n"
        "  connect [--power-on]  connect to the receiver, switching it on first with\n"
        "                        --power-on; when connected, switch the receiver on\n"
        "  disconnect            close the connection to the receiver\n"
        "  show                  show Orvane's window\n"
        "  hide                  hide Orvane's window\n"
        "  quit                  end Orvane (an add-in may refuse)\n"
        "  watch                 print each report of the receiver on its own line as it\n"
        "                        arrives, until interrupted or Orvane ends\n"
        "  --help                print this help\n"
        "\n"
        "Exit status: 0 done, 1 failed, 2 wrong usage or command code,\n"
        "3 Orvane is not running, 4 Orvane is not connected to the receiver.\n");
}

QString OrvaneCtl::commandCode(const QString &text)
{
    static const QRegularExpression hex(QStringLiteral("^[0-9A-Fa-f]{5}$"));
    return hex.match(text).hasMatch() ? text.toUpper() : QString();
}

int OrvaneCtl::failure(const QString &text, Status status)
{
    std::fprintf(m_err, "orvane-ctl: %s\n", qPrintable(text));
    std::fflush(m_err);
    return status;
}

bool OrvaneCtl::print(const QString &line)
{
    std::fprintf(m_out, "%s\n", line.toLocal8Bit().constData());
    return std::fflush(m_out) == 0 && !std::ferror(m_out);
}

int OrvaneCtl::run(const QStringList &arguments)
{
    const QString command = arguments.value(0);
    if (command == QLatin1String("--help") || command == QLatin1String("-h")
        || command == QLatin1String("help")) {
        std::fputs(qPrintable(helpText()), m_out);
        return Done;
    }
    static const QStringList plain
        = {QStringLiteral("display"), QStringLiteral("info"), QStringLiteral("disconnect"),
           QStringLiteral("show"),    QStringLiteral("hide"), QStringLiteral("quit"),
           QStringLiteral("watch")};
    const QStringList rest = arguments.mid(1);
    if (command == QLatin1String("send")) {
        if (rest.size() != 1)
            return failure(
                QStringLiteral("send takes one command code, e.g. orvane-ctl send 07A1D"), Usage);
        if (commandCode(rest.at(0)).isEmpty())
            return failure(QStringLiteral("\"%1\" is no command code: a code is five hexadecimal "
                                          "characters (0-9, A-F), e.g. 07A1D")
                               .arg(rest.at(0)),
                           Usage);
    } else if (command == QLatin1String("connect")) {
        if (!(rest.isEmpty() || rest == QStringList {QStringLiteral("--power-on")}))
            return failure(QStringLiteral("connect takes only --power-on"), Usage);
    } else if (plain.contains(command)) {
        if (!rest.isEmpty())
            return failure(QStringLiteral("%1 takes no arguments").arg(command), Usage);
    } else {
        std::fputs(qPrintable(helpText()), m_err);
        return command.isEmpty()
            ? Usage
            : failure(QStringLiteral("unknown command \"%1\"").arg(command), Usage);
    }

    if (!m_bus.isConnected())
        return failure(QStringLiteral("Orvane is not running (no session bus)"), NotRunning);
    QDBusMessage create = QDBusMessage::createMethodCall(
        kService, QStringLiteral("/"), kRootInterface, QStringLiteral("CreateAddIn"));
    create.setAutoStartService(false);
    const QDBusMessage created = m_bus.call(create, QDBus::Block, int(kCallWait.count()));
    if (created.type() == QDBusMessage::ErrorMessage) {
        if (isNotRunningError(created.errorName()))
            return failure(QStringLiteral("Orvane is not running"), NotRunning);
        return failure(created.errorMessage(), Failed);
    }
    m_path = created.arguments().value(0).value<QDBusObjectPath>().path();

    // The name shows in Orvane's list of add-ins; no answer is awaited.
    QDBusMessage name
        = QDBusMessage::createMethodCall(kService, m_path, kProperties, QStringLiteral("Set"));
    name.setArguments({kAddInInterface, QStringLiteral("AddInName"),
                       QVariant::fromValue(QDBusVariant(QStringLiteral("orvane-ctl")))});
    m_bus.send(name);

    if (command == QLatin1String("quit"))
        return quit();
    if (!call(QStringLiteral("AddInRegister"), {})) {
        releaseConnection();
        return m_status;
    }
    m_registered = true;
    const int status = runRegistered(command, rest);
    releaseConnection();
    return status;
}

int OrvaneCtl::runRegistered(const QString &command, const QStringList &arguments)
{
    const QString notConnected = QStringLiteral("Orvane is not connected to the receiver");
    QVariantList out;
    if (command == QLatin1String("send")) {
        if (!connectedToReceiver())
            return m_status == Done ? failure(notConnected, NotConnected) : m_status;
        return call(QStringLiteral("SendCommand"), {commandCode(arguments.at(0))}) ? Done
                                                                                   : m_status;
    }
    if (command == QLatin1String("display")) {
        if (!call(QStringLiteral("GetText"), {}, &out))
            return m_status;
        print(out.value(0).toString());
        print(out.value(1).toString());
        return Done;
    }
    if (command == QLatin1String("info")) {
        if (!connectedToReceiver())
            return m_status == Done ? failure(notConnected, NotConnected) : m_status;
        if (!call(QStringLiteral("GetInformation"), {}, &out))
            return m_status;
        print(out.value(1).toString());
        print(out.value(2).toString());
        print(out.value(3).toString());
        return Done;
    }
    if (command == QLatin1String("connect")) {
        const bool powerOn = !arguments.isEmpty();
        if (!call(QStringLiteral("Connect"), {powerOn}, nullptr, kConnectWait))
            return m_status;
        if (!connectedToReceiver())
            return m_status == Done
                ? failure(QStringLiteral("Orvane could not connect to the receiver"), NotConnected)
                : m_status;
        return Done;
    }
    if (command == QLatin1String("disconnect")) {
        if (!connectedToReceiver())
            return m_status == Done ? failure(notConnected, NotConnected) : m_status;
        return call(QStringLiteral("Disconnect"), {}) ? Done : m_status;
    }
    if (command == QLatin1String("show"))
        return call(QStringLiteral("Show"), {}) ? Done : m_status;
    if (command == QLatin1String("hide"))
        return call(QStringLiteral("Hide"), {}) ? Done : m_status;
    return watch();
}

bool OrvaneCtl::call(const QString &member, const QVariantList &arguments, QVariantList *out,
                     std::chrono::milliseconds wait)
{
    QDBusMessage message
        = QDBusMessage::createMethodCall(kService, m_path, kAddInInterface, member);
    message.setArguments(arguments);
    message.setAutoStartService(false);
    const QDBusMessage reply = m_bus.call(message, QDBus::Block, int(wait.count()));
    if (reply.type() == QDBusMessage::ErrorMessage) {
        m_status = isNotRunningError(reply.errorName())
            ? failure(QStringLiteral("Orvane is not running"), NotRunning)
            : failure(reply.errorMessage(), Failed);
        return false;
    }
    if (out)
        *out = reply.arguments();
    return true;
}

bool OrvaneCtl::connectedToReceiver()
{
    QDBusMessage get
        = QDBusMessage::createMethodCall(kService, m_path, kProperties, QStringLiteral("Get"));
    get.setArguments({kAddInInterface, QStringLiteral("Connected")});
    const QDBusMessage reply = m_bus.call(get, QDBus::Block, int(kCallWait.count()));
    if (reply.type() == QDBusMessage::ErrorMessage) {
        m_status = isNotRunningError(reply.errorName())
            ? failure(QStringLiteral("Orvane is not running"), NotRunning)
            : failure(reply.errorMessage(), Failed);
        return false;
    }
    return reply.arguments().value(0).value<QDBusVariant>().variant().toBool();
}

void OrvaneCtl::releaseConnection()
{
    if (m_path.isEmpty())
        return;
    if (m_registered) {
        QDBusMessage unregister = QDBusMessage::createMethodCall(kService, m_path, kAddInInterface,
                                                                 QStringLiteral("AddInUnRegister"));
        m_bus.call(unregister, QDBus::Block, int(kCallWait.count()));
        m_registered = false;
    }
    QDBusMessage release = QDBusMessage::createMethodCall(
        kService, QStringLiteral("/"), kRootInterface, QStringLiteral("ReleaseAddIn"));
    release.setArguments({QVariant::fromValue(QDBusObjectPath(m_path))});
    m_bus.call(release, QDBus::Block, int(kCallWait.count()));
    m_path.clear();
}

void OrvaneCtl::onTerminate()
{
    if (m_watchLoop)
        m_watchLoop->quit();
}

void OrvaneCtl::onReport(const QString &body)
{
    if (!print(body) && m_watchLoop)
        m_watchLoop->quit();
}

int OrvaneCtl::watch()
{
    QEventLoop loop;
    int status = Done;
    m_bus.connect(kService, m_path, kAddInInterface, QStringLiteral("ReceivedCommand"), this,
                  SLOT(onReport(QString)));
    // Asked to terminate (Orvane ends, or another add-in asks), the watch ends normally.
    m_bus.connect(kService, m_path, kAddInInterface, QStringLiteral("Terminate"), this,
                  SLOT(onTerminate()));
    // Orvane gone without a word (it crashed or was killed).
    QDBusServiceWatcher gone(kService, m_bus, QDBusServiceWatcher::WatchForUnregistration);
    // The news of the name may overtake the Terminate sent before it; that is
    // given a moment to arrive.
    connect(&gone, &QDBusServiceWatcher::serviceUnregistered, &loop, [&] {
        m_path.clear();
        QTimer::singleShot(kTerminateGrace, &loop, [&] {
            status = failure(QStringLiteral("Orvane ended"), NotRunning);
            loop.quit();
        });
    });
    TerminationHandler interrupted([&] { loop.quit(); });
    // Orvane may have ended between the registration and the watch.
    if (!m_bus.interface()->isServiceRegistered(kService))
        return failure(QStringLiteral("Orvane is not running"), NotRunning);
    m_watchLoop = &loop;
    loop.exec();
    m_watchLoop = nullptr;
    return status;
}

int OrvaneCtl::quit()
{
    QEventLoop loop;
    bool ended = false;
    QDBusServiceWatcher gone(kService, m_bus, QDBusServiceWatcher::WatchForUnregistration);
    connect(&gone, &QDBusServiceWatcher::serviceUnregistered, &loop, [&] {
        ended = true;
        loop.quit();
    });
    // Not registered: Orvane does not wait for this client's vote.
    if (!call(QStringLiteral("Quit"), {})) {
        releaseConnection();
        return m_status;
    }
    QTimer::singleShot(kQuitWait, &loop, &QEventLoop::quit);
    if (m_bus.interface()->isServiceRegistered(kService))
        loop.exec();
    else
        ended = true;
    if (ended) {
        m_path.clear();
        return Done;
    }
    releaseConnection();
    return failure(QStringLiteral("Orvane did not end: an add-in refused"), Failed);
}
