#include "ctl/OrvaneCtl.h"

#include "mqtt/HomeAssistantConfig.h"
#include "orvane_interface.h"
#include "program/PrintableText.h"
#include "program/TerminationHandler.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusServiceWatcher>
#include <QDBusVariant>
#include <QEventLoop>
#include <QRegularExpression>
#include <QTimer>
#include <optional>

namespace {

// The program's well-known name is the name of its root interface.
const QString kService = QString::fromLatin1(OrgOrvaneOrvaneInterface::staticInterfaceName());
constexpr std::chrono::milliseconds kTerminateGrace {200};
// After a Terminate, how long Orvane may take to leave the bus before the Terminate
// counts as an add-in's request rather than Orvane's end.
constexpr std::chrono::milliseconds kEndGrace {1500};

// The answer to a command code the link did not send because the port is closed.
const QString kNotConnectedError = QStringLiteral("org.orvane.Orvane.Error.NotConnected");

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

OrvaneCtl::~OrvaneCtl() = default;

std::span<const OrvaneCtl::Command> OrvaneCtl::commands()
{
    using enum Takes;
    using enum Needs;
    static constexpr Command kCommands[] = {
        {"send", "CODE",
         "send one receiver command code: five hexadecimal\n"
         "characters, e.g. 07AC1 (input DVD)",
         OneCode, Registration, &OrvaneCtl::send},
        {"display", "", "print the two display lines, one per line", Nothing, Registration,
         &OrvaneCtl::display},
        {"info", "",
         "print the model identifier, the model and the\n"
         "receiver's software version, one per line",
         Nothing, Registration, &OrvaneCtl::info},
        {"connect", "[--power-on]",
         "connect to the receiver, switching it on first with\n"
         "--power-on; when connected, switch the receiver on",
         PowerOn, Registration, &OrvaneCtl::connectReceiver},
        {"disconnect", "", "close the connection to the receiver", Nothing, Registration,
         &OrvaneCtl::disconnectReceiver},
        {"show", "", "show Orvane's window", Nothing, Registration, &OrvaneCtl::show},
        {"hide", "", "hide Orvane's window", Nothing, Registration, &OrvaneCtl::hide},
        {"quit", "", "end Orvane (an add-in may refuse)", Nothing, Connection, &OrvaneCtl::quit},
        {"watch", "",
         "print each report of the receiver on its own line as it\n"
         "arrives, until interrupted or Orvane ends",
         Nothing, Registration, &OrvaneCtl::watch},
        {"home-assistant", "",
         "print a media player for Home Assistant's\n"
         "configuration.yaml, built on the entities of Orvane's MQTT\n"
         "bridge (Orvane need not run)",
         Nothing, Alone, &OrvaneCtl::homeAssistant},
    };
    return kCommands;
}

QString OrvaneCtl::helpText()
{
    // Each command with its arguments in one column, its description beside it.
    constexpr int kColumn = 24;
    const auto row = [](const QString &name, const QString &help) {
        QString text = QStringLiteral("  ") + name;
        text = text.leftJustified(kColumn - 1) + QLatin1Char(' ');
        return text
            + QString(help).replace(QLatin1Char('\n'),
                                    QLatin1Char('\n') + QString(kColumn, QLatin1Char(' ')))
            + QLatin1Char('\n');
    };
    QString text = QStringLiteral("Usage: orvane-ctl COMMAND\n"
                                  "Drives the Orvane running in this desktop session.\n"
                                  "\n"
                                  "Commands:\n");
    for (const Command &command : commands()) {
        QString name = QString::fromLatin1(command.name);
        if (*command.synopsis)
            name += QLatin1Char(' ') + QString::fromLatin1(command.synopsis);
        text += row(name, QString::fromLatin1(command.help));
    }
    text += row(QStringLiteral("--help"), QStringLiteral("print this help"));
    text += row(QStringLiteral("--version"), QStringLiteral("print the version"));
    return text
        + QStringLiteral(
               "\n"
               "Control characters in what Orvane answers are not printed.\n"
               "\n"
               "Exit status:\n"
               "  0  done; watch: interrupted, or Orvane ended normally\n"
               "  1  failed: a code the link could not send, output that cannot be written,\n"
               "     a quit an add-in refused or that Orvane did not finish within ten seconds\n"
               "  2  wrong usage or command code\n"
               "  3  Orvane is not running; watch: Orvane ended without a word\n"
               "  4  Orvane is not connected to the receiver\n"
               "  5  watch: an add-in asked this client to terminate\n");
}

QString OrvaneCtl::versionText()
{
    return QStringLiteral("orvane-ctl %1\n").arg(QCoreApplication::applicationVersion());
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
    std::fprintf(m_out, "%s\n", printableText(line).toLocal8Bit().constData());
    return std::fflush(m_out) == 0 && !std::ferror(m_out);
}

QString OrvaneCtl::usageProblem(const Command &command, const QStringList &arguments) const
{
    // --power-on with another command counts as one argument too many.
    const qsizetype given = arguments.size() + (m_powerOn && command.takes != Takes::PowerOn);
    switch (command.takes) {
    case Takes::OneCode:
        if (given != 1)
            return QStringLiteral("send takes one command code, e.g. orvane-ctl send 07AC1");
        if (commandCode(arguments.at(0)).isEmpty())
            return QStringLiteral("\"%1\" is no command code: a code is five hexadecimal "
                                  "characters (0-9, A-F), e.g. 07AC1")
                .arg(arguments.at(0));
        return QString();
    case Takes::PowerOn:
        return given == 0 ? QString()
                          : QStringLiteral("%1 takes only --power-on").arg(command.name);
    case Takes::Nothing:
        break;
    }
    return given == 0 ? QString() : QStringLiteral("%1 takes no arguments").arg(command.name);
}

int OrvaneCtl::run(const QStringList &arguments)
{
    QCommandLineParser parser;
    const QCommandLineOption helpOption(QStringList {QStringLiteral("h"), QStringLiteral("help")});
    const QCommandLineOption versionOption(
        QStringList {QStringLiteral("v"), QStringLiteral("version")});
    const QCommandLineOption powerOnOption(QStringLiteral("power-on"));
    parser.addOptions({helpOption, versionOption, powerOnOption});
    if (!parser.parse(QStringList {QStringLiteral("orvane-ctl")} + arguments)) {
        std::fputs(qPrintable(helpText()), m_err);
        return failure(parser.errorText(), Usage);
    }
    const QStringList positional = parser.positionalArguments();
    const QString name = positional.value(0);
    if (parser.isSet(helpOption) || name == QLatin1String("help")) {
        std::fputs(qPrintable(helpText()), m_out);
        return Done;
    }
    if (parser.isSet(versionOption)) {
        std::fputs(qPrintable(versionText()), m_out);
        return Done;
    }
    m_powerOn = parser.isSet(powerOnOption);
    const Command *command = nullptr;
    for (const Command &candidate : commands())
        if (name == QLatin1String(candidate.name))
            command = &candidate;
    if (!command) {
        std::fputs(qPrintable(helpText()), m_err);
        return name.isEmpty() ? Usage
                              : failure(QStringLiteral("unknown command \"%1\"").arg(name), Usage);
    }
    const QStringList rest = positional.mid(1);
    const QString problem = usageProblem(*command, rest);
    if (!problem.isEmpty())
        return failure(problem, Usage);
    if (command->needs == Needs::Alone)
        return (this->*command->run)(rest);
    return runWithOrvane(*command, rest);
}

int OrvaneCtl::runWithOrvane(const Command &command, const QStringList &arguments)
{
    if (!m_bus.isConnected())
        return failure(QStringLiteral("Orvane is not running (no session bus)"), NotRunning);
    OrgOrvaneOrvaneInterface root(kService, QStringLiteral("/"), m_bus);
    root.setTimeout(int(kCallWait.count()));
    QDBusPendingReply<QDBusObjectPath> created = root.CreateAddIn();
    created.waitForFinished();
    if (created.isError()) {
        if (isNotRunningError(created.error().name()))
            return failure(QStringLiteral("Orvane is not running"), NotRunning);
        return failure(created.error().message(), Failed);
    }
    m_path = created.value().path();
    m_addIn = std::make_unique<OrgOrvaneOrvaneAddInInterface>(kService, m_path, m_bus);
    m_addIn->setTimeout(int(kCallWait.count()));

    // The name shows in Orvane's list of add-ins; no answer is awaited.
    QDBusMessage name = QDBusMessage::createMethodCall(
        kService, m_path, QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Set"));
    name.setArguments({m_addIn->interface(), QStringLiteral("AddInName"),
                       QVariant::fromValue(QDBusVariant(QStringLiteral("orvane-ctl")))});
    m_bus.send(name);

    // A command that needs no registration releases the connection itself.
    if (command.needs == Needs::Connection)
        return (this->*command.run)(arguments);
    if (!answered(m_addIn->AddInRegister())) {
        releaseConnection();
        return m_status;
    }
    m_registered = true;
    const int status = (this->*command.run)(arguments);
    releaseConnection();
    return status;
}

namespace {
const QString kNotConnected = QStringLiteral("Orvane is not connected to the receiver");
const QString kUnwritable = QStringLiteral("the output cannot be written");
} // namespace

int OrvaneCtl::homeAssistant(const QStringList &)
{
    std::fputs(HomeAssistantConfig::universalMediaPlayer().toUtf8().constData(), m_out);
    return std::fflush(m_out) == 0 && !std::ferror(m_out) ? Done : Failed;
}

int OrvaneCtl::send(const QStringList &arguments)
{
    if (!connectedToReceiver())
        return m_status == Done ? failure(kNotConnected, NotConnected) : m_status;
    return answered(m_addIn->SendCommand(commandCode(arguments.at(0)))) ? Done : m_status;
}

int OrvaneCtl::display(const QStringList &)
{
    QDBusPendingReply<QString, QString> text = m_addIn->GetText();
    if (!answered(text))
        return m_status;
    const bool written = print(text.argumentAt<0>()) && print(text.argumentAt<1>());
    return written ? Done : failure(kUnwritable, Failed);
}

int OrvaneCtl::info(const QStringList &)
{
    if (!connectedToReceiver())
        return m_status == Done ? failure(kNotConnected, NotConnected) : m_status;
    QDBusPendingReply<int, QString, QString, QString, QString> info = m_addIn->GetInformation();
    if (!answered(info))
        return m_status;
    const bool written
        = print(info.argumentAt<1>()) && print(info.argumentAt<2>()) && print(info.argumentAt<3>());
    return written ? Done : failure(kUnwritable, Failed);
}

int OrvaneCtl::connectReceiver(const QStringList &)
{
    m_addIn->setTimeout(int(kConnectWait.count()));
    const bool connected = answered(m_addIn->Connect(m_powerOn));
    m_addIn->setTimeout(int(kCallWait.count()));
    if (!connected)
        return m_status;
    if (!connectedToReceiver())
        return m_status == Done
            ? failure(QStringLiteral("Orvane could not connect to the receiver"), NotConnected)
            : m_status;
    return Done;
}

int OrvaneCtl::disconnectReceiver(const QStringList &)
{
    if (!connectedToReceiver())
        return m_status == Done ? failure(kNotConnected, NotConnected) : m_status;
    return answered(m_addIn->Disconnect()) ? Done : m_status;
}

int OrvaneCtl::show(const QStringList &)
{
    return answered(m_addIn->Show()) ? Done : m_status;
}

int OrvaneCtl::hide(const QStringList &)
{
    return answered(m_addIn->Hide()) ? Done : m_status;
}

bool OrvaneCtl::answered(QDBusPendingCall call)
{
    call.waitForFinished();
    if (!call.isError())
        return true;
    m_status = failure(call.error());
    return false;
}

int OrvaneCtl::failure(const QDBusError &error)
{
    if (isNotRunningError(error.name()))
        return failure(QStringLiteral("Orvane is not running"), NotRunning);
    return failure(printableText(error.message()),
                   error.name() == kNotConnectedError ? NotConnected : Failed);
}

bool OrvaneCtl::connectedToReceiver()
{
    const bool connected = m_addIn->connected();
    const QDBusError error = m_addIn->lastError();
    if (error.isValid()) {
        m_status = failure(error);
        return false;
    }
    return connected;
}

void OrvaneCtl::releaseConnection()
{
    if (m_path.isEmpty())
        return;
    if (m_registered) {
        m_addIn->AddInUnRegister().waitForFinished();
        m_registered = false;
    }
    OrgOrvaneOrvaneInterface root(kService, QStringLiteral("/"), m_bus);
    root.setTimeout(int(kCallWait.count()));
    root.ReleaseAddIn(QDBusObjectPath(m_path)).waitForFinished();
    m_path.clear();
}

void OrvaneCtl::onTerminate()
{
    // Orvane ends (its name goes soon after) or an add-in asked this client to go.
    if (!m_watchLoop)
        return;
    QEventLoop *loop = m_watchLoop;
    QTimer::singleShot(kEndGrace, loop, [this, loop] {
        if (m_bus.interface()->isServiceRegistered(kService)) {
            m_status
                = failure(QStringLiteral("an add-in asked orvane-ctl to terminate"), Terminated);
        } else {
            m_status = Done;
            m_path.clear();
        }
        loop->quit();
    });
}

void OrvaneCtl::onReport(const QString &body)
{
    if (!print(body) && m_watchLoop)
        m_watchLoop->quit();
}

int OrvaneCtl::watch(const QStringList &)
{
    QEventLoop loop;
    int status = Done;
    m_status = Done;
    connect(m_addIn.get(), &OrgOrvaneOrvaneAddInInterface::ReceivedCommand, this,
            &OrvaneCtl::onReport);
    connect(m_addIn.get(), &OrgOrvaneOrvaneAddInInterface::Terminate, this,
            &OrvaneCtl::onTerminate);
    // Orvane gone without a word (it crashed or was killed).
    QDBusServiceWatcher gone(kService, m_bus, QDBusServiceWatcher::WatchForUnregistration);
    // The news of the name may overtake the Terminate sent before it; that is
    // given a moment to arrive.
    bool terminating = false;
    connect(m_addIn.get(), &OrgOrvaneOrvaneAddInInterface::Terminate, &loop,
            [&] { terminating = true; });
    connect(&gone, &QDBusServiceWatcher::serviceUnregistered, &loop, [&] {
        m_path.clear();
        QTimer::singleShot(kTerminateGrace, &loop, [&] {
            if (!terminating)
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
    return status != Done ? status : m_status;
}

int OrvaneCtl::quit(const QStringList &)
{
    QEventLoop loop;
    bool ended = false;
    QDBusServiceWatcher gone(kService, m_bus, QDBusServiceWatcher::WatchForUnregistration);
    connect(&gone, &QDBusServiceWatcher::serviceUnregistered, &loop, [&] {
        ended = true;
        loop.quit();
    });
    // Orvane tells how the add-ins' vote ended; a refusal needs no further wait.
    std::optional<bool> ending;
    QString refusedBy;
    connect(m_addIn.get(), &OrgOrvaneOrvaneAddInInterface::QuitOutcome, &loop,
            [&](bool bEnding, const QString &stRefusedBy) {
                ending = bEnding;
                refusedBy = printableText(stRefusedBy);
                if (!bEnding)
                    loop.quit();
            });
    // Not registered: Orvane does not wait for this client's vote.
    if (!answered(m_addIn->Quit())) {
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
    if (ending == false) {
        return failure(
            refusedBy.isEmpty()
                ? QStringLiteral("an add-in refused to let Orvane end")
                : QStringLiteral("the add-in \"%1\" refused to let Orvane end").arg(refusedBy),
            Failed);
    }
    if (ending == true)
        return failure(QStringLiteral("Orvane is ending but still running ten seconds after the "
                                      "quit"),
                       Failed);
    return failure(QStringLiteral("Orvane has not finished asking its add-ins whether it may end, "
                                  "ten seconds after the quit"),
                   Failed);
}
