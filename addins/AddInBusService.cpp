#include "addins/AddInBusService.h"

#include "addins/AddInBusConnection.h"
#include "addins/AddInRuntime.h"
#include "addins/clsAddIn.h"
#include "link/CommandCode.h"
#include "platform/Clock.h"
#include "program/ProgramHost.h"
#include "program/ProgramValues.h"
#include "orvane_root_adaptor.h"

#include <QApplication>
#include <QDBusConnectionInterface>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusServiceWatcher>
#include <QEventLoop>
#include <QMainWindow>
#include <QMetaClassInfo>
#include <QTimer>
#include <algorithm>

namespace {

constexpr std::chrono::milliseconds kRoundGap {250};

const QString kErrorAccessDenied = QStringLiteral("org.freedesktop.DBus.Error.AccessDenied");
const QString kErrorLimits = QStringLiteral("org.freedesktop.DBus.Error.LimitsExceeded");
const QString kErrorUnknownObject = QStringLiteral("org.freedesktop.DBus.Error.UnknownObject");
const QString kErrorInvalidArgs = QStringLiteral("org.freedesktop.DBus.Error.InvalidArgs");

// The window a second start brings forward: an open modal box, else the main window,
// in mini mode the mini window, else any visible window of the program.
QWidget *windowToRaise(bool miniMode)
{
    if (QWidget *modal = QApplication::activeModalWidget())
        return modal;
    QWidget *other = nullptr;
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (!widget->isVisible() || widget->windowType() != Qt::Window)
            continue;
        if (miniMode ? widget->objectName() == u"Form_Mini"
                     : qobject_cast<QMainWindow *>(widget) != nullptr)
            return widget;
        if (!other)
            other = widget;
    }
    return other;
}

QString interfaceOf(const QMetaObject &adaptor)
{
    return QString::fromLatin1(
        adaptor.classInfo(adaptor.indexOfClassInfo("D-Bus Interface")).value());
}

} // namespace

AddInBusService::AddInBusService(AddInRuntime &runtime, const QDBusConnection &bus, Clock *clock,
                                 QObject *parent)
    : QObject(parent)
    , m_runtime(runtime)
    , m_bus(bus)
    , m_clock(clock)
{
    new OrvaneAdaptor(this);
    // The offscreen and minimal platforms (the service without a screen) show nothing.
    const QString platform = QGuiApplication::platformName();
    m_showsWindows = !platform.startsWith(u"offscreen") && !platform.startsWith(u"minimal");
}

AddInBusService::~AddInBusService()
{
    stop();
}

QString AddInBusService::rootInterface()
{
    return interfaceOf(OrvaneAdaptor::staticMetaObject);
}

QString AddInBusService::addInInterface()
{
    return interfaceOf(AddInBusConnection::interfaceMetaObject());
}

bool AddInBusService::start()
{
    if (m_running)
        return true;
    if (!m_bus.isConnected()) {
        m_error = tr("no session bus");
        return false;
    }
    QDBusConnectionInterface *daemon = m_bus.interface();
    if (!daemon
        || !m_bus.registerObject(QStringLiteral("/"), this, QDBusConnection::ExportAdaptors)) {
        m_error = tr("the automation objects could not be registered");
        return false;
    }
    connect(daemon, &QDBusConnectionInterface::serviceRegistered, this,
            &AddInBusService::onNameAcquired);
    // Queued: when another program holds the name, the bus hands it over as soon as
    // that program lets it go.
    const QDBusReply<QDBusConnectionInterface::RegisterServiceReply> reply
        = daemon->registerService(kServiceName, QDBusConnectionInterface::QueueService,
                                  QDBusConnectionInterface::DontAllowReplacement);
    if (!reply.isValid()) {
        disconnect(daemon, nullptr, this, nullptr);
        m_bus.unregisterObject(QStringLiteral("/"));
        m_error = reply.error().message();
        return false;
    }
    m_watcher = new QDBusServiceWatcher(this);
    m_watcher->setConnection(m_bus);
    m_watcher->setWatchMode(QDBusServiceWatcher::WatchForUnregistration);
    connect(m_watcher, &QDBusServiceWatcher::serviceUnregistered, this,
            &AddInBusService::ownerGone);
    m_running = true;
    if (reply.value() == QDBusConnectionInterface::ServiceRegistered) {
        m_nameOwned = true;
    } else {
        m_error = tr("another program owns %1 on the session bus; Orvane takes the "
                     "name when that program lets it go")
                      .arg(kServiceName);
        emit nameWaiting(m_error);
    }
    return true;
}

bool AddInBusService::Raise(const QString &ActivationToken)
{
    ProgramHost *host = m_runtime.host();
    const ProgramValues *values = m_runtime.values();
    if (!host || (values && values->AppClosing()) || !m_showsWindows)
        return false;
    if (!m_raises.take(m_clock->monotonic())) {
        if (calledFromDBus())
            sendErrorReply(kErrorLimits, QStringLiteral("Too many calls"));
        return false;
    }
    host->showProgram();
    QWidget *window = windowToRaise(values && values->MiniMode());
    if (!window)
        return false;
    // The compositor grants the focus to the token of the start the user made.
    if (!ActivationToken.isEmpty() && QGuiApplication::platformName().startsWith(u"wayland"))
        qputenv("XDG_ACTIVATION_TOKEN", ActivationToken.toUtf8());
    window->setWindowState((window->windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    window->raise();
    window->activateWindow();
    return true;
}

void AddInBusService::onNameAcquired(const QString &name)
{
    if (name != kServiceName || m_nameOwned || !m_running)
        return;
    m_nameOwned = true;
    m_error.clear();
    emit nameTaken();
}

void AddInBusService::stop()
{
    if (!m_running)
        return;
    m_running = false;
    // Releasing unregisters the add-ins: they hear nothing more from the program.
    while (!m_connections.empty())
        release(m_connections.begin()->first);
    m_processOf.clear();
    m_processes.clear();
    m_waitingCreates.clear();
    m_unresponsive.clear();
    delete m_watcher;
    m_watcher = nullptr;
    m_bus.unregisterObject(QStringLiteral("/"));
    if (QDBusConnectionInterface *daemon = m_bus.interface()) {
        disconnect(daemon, nullptr, this, nullptr);
        // A call to the bus: it returns only after the signals sent before it (the
        // Terminate of the shutdown) have left the program.
        daemon->unregisterService(kServiceName);
    }
    m_nameOwned = false;
}

QDBusObjectPath AddInBusService::CreateAddIn()
{
    if (!calledFromDBus())
        return {};
    const QDBusMessage call = message();
    const QString owner = call.service();
    if (voting()) {
        sendErrorReply(kErrorBusy, QStringLiteral("Orvane is ending"));
        return {};
    }
    const auto known = m_processOf.constFind(owner);
    if (known != m_processOf.constEnd()) {
        if (!m_processes[*known].calls.take(m_clock->monotonic())) {
            sendErrorReply(kErrorLimits, QStringLiteral("Too many calls"));
            return {};
        }
        setDelayedReply(true);
        createFor(call, *known);
        return {};
    }
    // A bus connection new to the program: its process is asked of the bus first.
    QList<QDBusMessage> &waiting = m_waitingCreates[owner];
    if (waiting.size() >= m_maxPerProcess) {
        sendErrorReply(kErrorLimits, QStringLiteral("Too many calls"));
        return {};
    }
    setDelayedReply(true);
    waiting.append(call);
    if (waiting.size() == 1)
        resolveProcess(owner);
    return {};
}

void AddInBusService::resolveProcess(const QString &owner)
{
    QDBusPendingCall pending
        = m_bus.interface()->asyncCall(QStringLiteral("GetConnectionUnixProcessID"), owner);
    auto *watch = new QDBusPendingCallWatcher(pending, this);
    connect(watch, &QDBusPendingCallWatcher::finished, this, [this, owner](auto *done) {
        done->deleteLater();
        const QDBusPendingReply<uint> pid = *done;
        // A client whose process the bus does not know is a process of its own.
        const QString process
            = pid.isValid() && pid.value() != 0 ? QStringLiteral("pid %1").arg(pid.value()) : owner;
        const QList<QDBusMessage> waiting = m_waitingCreates.take(owner);
        for (const QDBusMessage &call : waiting)
            createFor(call, process);
    });
}

void AddInBusService::createFor(const QDBusMessage &call, const QString &process)
{
    if (!m_running)
        return;
    const QString owner = call.service();
    const auto refuse = [&](const QString &name, const QString &text) {
        m_bus.send(call.createErrorReply(name, text));
        if (m_processes.value(process).connections == 0)
            m_processes.remove(process);
    };
    if (voting())
        return refuse(kErrorBusy, QStringLiteral("Orvane is ending"));
    Process &client = m_processes[process];
    const int total = int(m_connections.size());
    if (total >= m_maxConnections)
        return refuse(kErrorLimits,
                      QStringLiteral("Orvane holds %1 connections already").arg(m_maxConnections));
    if (client.connections >= m_maxPerProcess)
        return refuse(kErrorLimits,
                      QStringLiteral("A client may hold %1 connections").arg(m_maxPerProcess));
    if (client.connections > 0 && total >= m_maxConnections - m_reserved)
        return refuse(kErrorLimits,
                      QStringLiteral("The last connections are kept for new clients"));
    ++client.connections;
    if (!m_processOf.contains(owner)) {
        m_processOf.insert(owner, process);
        m_watcher->addWatchedService(owner);
        // The client may have left before the watch was in place; the bus answers
        // this question only after it has taken the watch.
        QDBusPendingCall pending
            = m_bus.interface()->asyncCall(QStringLiteral("NameHasOwner"), owner);
        auto *check = new QDBusPendingCallWatcher(pending, this);
        connect(check, &QDBusPendingCallWatcher::finished, this, [this, owner](auto *done) {
            done->deleteLater();
            const QDBusPendingReply<bool> has = *done;
            if (has.isValid() && !has.value())
                ownerGone(owner);
        });
    }
    const quint64 number = m_nextNumber++;
    const QString path = QStringLiteral("%1/%2").arg(kAddInPath).arg(number);
    auto connection = std::make_unique<AddInBusConnection>(this, number, path, owner, process);
    m_bus.registerObject(path, connection.get(), QDBusConnection::ExportAdaptors);
    m_connections.emplace(number, std::move(connection));
    m_bus.send(call.createReply(QVariant::fromValue(QDBusObjectPath(path))));
}

void AddInBusService::ReleaseAddIn(const QDBusObjectPath &AddIn)
{
    if (!calledFromDBus())
        return;
    const QString caller = message().service();
    if (voting()) {
        sendErrorReply(kErrorBusy, QStringLiteral("Orvane is ending"));
        return;
    }
    const auto known = m_processOf.constFind(caller);
    if (known != m_processOf.constEnd() && !m_processes[*known].calls.take(m_clock->monotonic())) {
        sendErrorReply(kErrorLimits, QStringLiteral("Too many calls"));
        return;
    }
    const auto found = m_connections.find(numberOfPath(AddIn.path()));
    if (found == m_connections.end() || found->second->released()) {
        sendErrorReply(kErrorUnknownObject, QStringLiteral("No connection %1").arg(AddIn.path()));
        return;
    }
    AddInBusConnection *connection = found->second.get();
    if (connection->owner() != caller) {
        sendErrorReply(kErrorAccessDenied,
                       QStringLiteral("The connection belongs to another client"));
        return;
    }
    if (connection->busy()) {
        connection->unregister();
        connection->markReleased();
    } else {
        release(found->first);
    }
}

std::pair<QString, QString> AddInBusService::admit(const AddInBusConnection *connection,
                                                   const QDBusMessage &message,
                                                   AddInBusConnection::CallKind kind)
{
    using Kind = AddInBusConnection::CallKind;
    if (connection->released())
        return {kErrorUnknownObject, QStringLiteral("No connection %1").arg(message.path())};
    if (connection->owner() != message.service())
        return {kErrorAccessDenied, QStringLiteral("The connection belongs to another client")};
    Process &client = m_processes[connection->process()];
    const auto now = m_clock->monotonic();
    if (!client.calls.take(now))
        return {kErrorLimits, QStringLiteral("Too many calls")};
    if (kind == Kind::ChangesList && voting())
        return {kErrorBusy, QStringLiteral("Orvane is ending")};
    const QVariantList arguments = message.arguments();
    const qsizetype limit = kind == Kind::Message ? AddInBusConnection::kMaxMessageText
                                                  : AddInBusConnection::kMaxText;
    qsizetype text = 0;
    for (const QVariant &argument : arguments) {
        if (argument.metaType() != QMetaType::fromType<QString>())
            continue;
        if (argument.toString().size() > limit)
            return {kErrorInvalidArgs, QStringLiteral("Text too long")};
        text += argument.toString().size();
    }
    if (kind == Kind::Command) {
        if (!CommandCode::isCommandCode(arguments.value(0).toString()))
            return {kErrorInvalidArgs,
                    QStringLiteral("A command code is five characters 0-9 or A-F, e.g. 07A1D")};
        if (!client.commands.take(now))
            return {kErrorLimits, QStringLiteral("Too many commands")};
    }
    if (kind == Kind::Message) {
        if (!client.messages.take(now))
            return {kErrorLimits, QStringLiteral("Too many messages")};
        // Every registered bus client receives the text: it costs once per receiver.
        const auto receivers
            = std::count_if(m_connections.begin(), m_connections.end(), [](const auto &entry) {
                  return entry.second->addIn()->isRegistered();
              });
        if (!client.messageText.take(now, double(text) * double(std::max<qsizetype>(1, receivers))))
            return {kErrorLimits, QStringLiteral("Too much message text")};
    }
    return {};
}

void AddInBusService::setVoteWaits(std::chrono::milliseconds perClient,
                                   std::chrono::milliseconds perRound)
{
    m_voteWait = std::min(perClient, kVoteWait);
    m_voteRoundWait = std::min(perRound, kVoteRoundWait);
}

void AddInBusService::setConnectionLimits(int perProcess, int total, int reserved)
{
    m_maxPerProcess = perProcess;
    m_maxConnections = total;
    m_reserved = reserved;
}

long AddInBusService::askUnload(AddInBusConnection *connection)
{
    if (!m_running || !connection || connection->released())
        return 0;
    const auto asked = m_clock->monotonic();
    if (!m_lastAskEnded || asked - *m_lastAskEnded > kRoundGap)
        m_roundWaited = {};
    const qint64 wait = std::min<qint64>(
        m_voteWait.count(),
        (m_voteRoundWait
         - std::chrono::duration_cast<std::chrono::milliseconds>(m_roundWaited))
            .count());
    const QString owner = connection->owner();
    const auto silent = m_unresponsive.constFind(owner);
    if (wait <= 0 || (silent != m_unresponsive.constEnd() && asked - *silent < kUnresponsiveFor)) {
        m_lastAskEnded = asked;
        return 0;
    }
    m_unresponsive.remove(owner);

    QDBusMessage call = QDBusMessage::createMethodCall(connection->owner(), kClientPath,
                                                       kClientInterface, QStringLiteral("Unload"));
    call.setArguments({QVariant::fromValue(QDBusObjectPath(connection->path()))});
    QDBusPendingCallWatcher pending(m_bus.asyncCall(call, int(wait)));
    if (!pending.isFinished()) {
        // Events run while the client thinks; the program stays responsive and the
        // wait ends with the answer or the time-out, whichever comes first.
        QEventLoop loop;
        connect(&pending, &QDBusPendingCallWatcher::finished, &loop, &QEventLoop::quit);
        QTimer::singleShot(int(wait) + 200, &loop, &QEventLoop::quit);
        ++m_voteDepth;
        loop.exec();
        --m_voteDepth;
    }
    long cancel = 0;
    if (!pending.isFinished() || pending.error().type() == QDBusError::NoReply
        || pending.error().type() == QDBusError::Timeout) {
        if (m_processOf.contains(owner) && !m_goneDuringVote.contains(owner))
            m_unresponsive[owner] = m_clock->monotonic();
    } else if (!pending.isError()) {
        const QVariant answer = pending.reply().arguments().value(0);
        if (answer.metaType() == QMetaType::fromType<int>())
            cancel = answer.toInt();
    }
    m_lastAskEnded = m_clock->monotonic();
    m_roundWaited += *m_lastAskEnded - asked;
    if (!voting())
        QTimer::singleShot(0, this, &AddInBusService::finishDeferred);
    return cancel;
}

void AddInBusService::sendSignal(const AddInBusConnection *connection, const QString &name,
                                 const QVariantList &arguments)
{
    if (!m_running || !connection || connection->released())
        return;
    QDBusMessage signal = QDBusMessage::createTargetedSignal(
        connection->owner(), connection->path(), addInInterface(), name);
    signal.setArguments(arguments);
    m_bus.send(signal);
}

void AddInBusService::ownerGone(const QString &owner)
{
    m_waitingCreates.remove(owner);
    if (!m_processOf.contains(owner))
        return;
    // A vote walks the list of add-ins; the list changes only after it.
    if (voting()) {
        if (!m_goneDuringVote.contains(owner))
            m_goneDuringVote.append(owner);
        return;
    }
    std::vector<quint64> numbers;
    for (const auto &[number, connection] : m_connections) {
        if (connection->owner() == owner)
            numbers.push_back(number);
    }
    for (quint64 number : numbers) {
        AddInBusConnection *connection = m_connections.at(number).get();
        if (connection->busy()) {
            connection->unregister();
            connection->markReleased();
        } else {
            release(number);
        }
    }
}

void AddInBusService::releaseLater(quint64 number)
{
    QTimer::singleShot(0, this, [this, number] {
        const auto found = m_connections.find(number);
        if (found != m_connections.end() && !found->second->busy())
            release(number);
    });
}

void AddInBusService::release(quint64 number)
{
    const auto found = m_connections.find(number);
    if (found == m_connections.end())
        return;
    std::unique_ptr<AddInBusConnection> connection = std::move(found->second);
    m_connections.erase(found);
    m_bus.unregisterObject(connection->path());
    const QString owner = connection->owner();
    const QString process = connection->process();
    connection.reset();
    const auto client = m_processes.find(process);
    if (client != m_processes.end() && --client->connections <= 0)
        m_processes.erase(client);
    const bool ownerHoldsMore
        = std::any_of(m_connections.begin(), m_connections.end(),
                      [&](const auto &entry) { return entry.second->owner() == owner; });
    if (!ownerHoldsMore) {
        m_processOf.remove(owner);
        m_unresponsive.remove(owner);
        if (m_watcher)
            m_watcher->removeWatchedService(owner);
    }
}

void AddInBusService::finishDeferred()
{
    if (voting())
        return;
    const QStringList gone = std::exchange(m_goneDuringVote, {});
    for (const QString &owner : gone)
        ownerGone(owner);
}

quint64 AddInBusService::numberOfPath(const QString &path)
{
    const QString prefix = kAddInPath + QLatin1Char('/');
    if (!path.startsWith(prefix))
        return 0;
    bool ok = false;
    const quint64 number = QStringView(path).mid(prefix.size()).toULongLong(&ok);
    return ok ? number : 0;
}
