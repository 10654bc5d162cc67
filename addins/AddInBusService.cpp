#include "addins/AddInBusService.h"

#include "addins/AddInBusConnection.h"
#include "errors/ShowErrBox.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusServiceWatcher>
#include <QEventLoop>
#include <QFile>
#include <QTimer>
#include <algorithm>

namespace {

constexpr std::chrono::milliseconds kRoundGap {250};

const QString kIntrospectable = QStringLiteral("org.freedesktop.DBus.Introspectable");
const QString kProperties = QStringLiteral("org.freedesktop.DBus.Properties");
const QString kErrorAccessDenied = QStringLiteral("org.freedesktop.DBus.Error.AccessDenied");
const QString kErrorLimits = QStringLiteral("org.freedesktop.DBus.Error.LimitsExceeded");
const QString kErrorUnknownObject = QStringLiteral("org.freedesktop.DBus.Error.UnknownObject");
const QString kErrorUnknownMethod = QStringLiteral("org.freedesktop.DBus.Error.UnknownMethod");

QString wholeDescription()
{
    QFile file(QStringLiteral(":/org/orvane/org.orvane.Orvane.xml"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}

} // namespace

bool AddInBusService::RateLimit::take()
{
    if (!clock.isValid()) {
        clock.start();
        tokens = perSecond;
    }
    tokens = std::min(perSecond, tokens + double(clock.restart()) * perSecond / 1000.0);
    if (tokens < 1.0)
        return false;
    tokens -= 1.0;
    return true;
}

AddInBusService::AddInBusService(AddInRuntime &runtime, const QDBusConnection &bus, QObject *parent)
    : QDBusVirtualObject(parent)
    , m_runtime(runtime)
    , m_bus(bus)
{
}

AddInBusService::~AddInBusService()
{
    stop();
}

QString AddInBusService::interfaceXml(const QString &interface)
{
    static const QString description = wholeDescription();
    const QString head = QStringLiteral("<interface name=\"%1\">").arg(interface);
    const qsizetype begin = description.indexOf(head);
    if (begin < 0)
        return {};
    const QString tail = QStringLiteral("</interface>");
    const qsizetype end = description.indexOf(tail, begin);
    if (end < 0)
        return {};
    return description.mid(begin, end + tail.size() - begin) + QLatin1Char('\n');
}

bool AddInBusService::start()
{
    if (m_running)
        return true;
    if (!m_bus.isConnected()) {
        m_error = QStringLiteral("no session bus");
        return false;
    }
    if (!m_bus.registerVirtualObject(QStringLiteral("/"), this)
        || !m_bus.registerVirtualObject(kAddInPath, this, QDBusConnection::SubPath)) {
        m_bus.unregisterObject(QStringLiteral("/"));
        m_error = QStringLiteral("the automation objects could not be registered");
        return false;
    }
    QDBusConnectionInterface *daemon = m_bus.interface();
    const QDBusReply<QDBusConnectionInterface::RegisterServiceReply> reply = daemon
        ? daemon->registerService(kServiceName, QDBusConnectionInterface::DontQueueService,
                                  QDBusConnectionInterface::DontAllowReplacement)
        : QDBusReply<QDBusConnectionInterface::RegisterServiceReply>();
    if (!reply.isValid() || reply.value() != QDBusConnectionInterface::ServiceRegistered) {
        m_bus.unregisterObject(kAddInPath, QDBusConnection::UnregisterTree);
        m_bus.unregisterObject(QStringLiteral("/"));
        m_error = reply.isValid()
            ? QStringLiteral("another program owns %1 on the session bus").arg(kServiceName)
            : reply.error().message();
        return false;
    }
    m_watcher = new QDBusServiceWatcher(this);
    m_watcher->setConnection(m_bus);
    m_watcher->setWatchMode(QDBusServiceWatcher::WatchForUnregistration);
    connect(m_watcher, &QDBusServiceWatcher::serviceUnregistered, this,
            &AddInBusService::ownerGone);
    m_running = true;
    return true;
}

void AddInBusService::stop()
{
    if (!m_running)
        return;
    m_running = false;
    // Releasing unregisters the add-ins: they hear nothing more from the program.
    while (!m_connections.empty())
        release(m_connections.begin()->first);
    m_clients.clear();
    delete m_watcher;
    m_watcher = nullptr;
    m_bus.unregisterObject(kAddInPath, QDBusConnection::UnregisterTree);
    m_bus.unregisterObject(QStringLiteral("/"));
    // A call to the bus: it returns only after the signals sent before it (the
    // Terminate of the shutdown) have left the program.
    if (QDBusConnectionInterface *daemon = m_bus.interface())
        daemon->unregisterService(kServiceName);
}

QString AddInBusService::introspect(const QString &path) const
{
    if (path == QLatin1String("/"))
        return interfaceXml(kRootInterface);
    if (m_connections.count(numberOfPath(path)) != 0)
        return interfaceXml(kAddInInterface);
    return {};
}

bool AddInBusService::handleMessage(const QDBusMessage &message, const QDBusConnection &)
{
    if (message.type() != QDBusMessage::MethodCallMessage)
        return false;
    // Introspection and the properties of "/" are left to the bus library.
    if (message.interface() == kIntrospectable)
        return false;
    // No call from outside waits on a box the user has to close.
    const ErrorsWithoutWaiting errorsWithoutWaiting;
    QDBusMessage reply;
    if (message.path() == QLatin1String("/")) {
        if (message.interface() == kProperties)
            return false;
        reply = handleRoot(message);
    } else {
        reply = handleAddIn(message);
    }
    if (message.isReplyRequired())
        m_bus.send(reply);
    return true;
}

QDBusMessage AddInBusService::handleRoot(const QDBusMessage &message)
{
    const auto known = m_clients.find(message.service());
    if (known != m_clients.end() && !known->calls.take())
        return message.createErrorReply(kErrorLimits, QStringLiteral("Too many calls"));
    if (!message.interface().isEmpty() && message.interface() != kRootInterface)
        return message.createErrorReply(
            kErrorUnknownMethod, QStringLiteral("No interface %1 at /").arg(message.interface()));
    if (message.member() == QLatin1String("CreateAddIn") && message.signature().isEmpty())
        return createAddIn(message);
    if (message.member() == QLatin1String("ReleaseAddIn")
        && message.signature() == QLatin1String("o"))
        return releaseAddIn(message);
    return message.createErrorReply(kErrorUnknownMethod,
                                    QStringLiteral("No method %1 with signature \"%2\" at /")
                                        .arg(message.member(), message.signature()));
}

QDBusMessage AddInBusService::createAddIn(const QDBusMessage &message)
{
    const QString owner = message.service();
    if (voting())
        return message.createErrorReply(kErrorBusy, QStringLiteral("Orvane is ending"));
    if (int(m_connections.size()) >= kMaxConnections)
        return message.createErrorReply(
            kErrorLimits,
            QStringLiteral("Orvane holds %1 connections already").arg(kMaxConnections));
    Client &client = m_clients[owner];
    if (client.connections >= kMaxConnectionsPerClient)
        return message.createErrorReply(
            kErrorLimits,
            QStringLiteral("A client may hold %1 connections").arg(kMaxConnectionsPerClient));
    if (client.connections == 0) {
        client.calls.perSecond = kCallsPerSecond;
        client.commands.perSecond = kCommandsPerSecond;
        m_watcher->addWatchedService(owner);
        // The client may have left before the watch was in place; the bus answers
        // this question only after it has taken the watch.
        QDBusPendingCall pending
            = m_bus.interface()->asyncCall(QStringLiteral("NameHasOwner"), owner);
        auto *check = new QDBusPendingCallWatcher(pending, this);
        connect(check, &QDBusPendingCallWatcher::finished, this, [this, owner](auto *call) {
            call->deleteLater();
            const QDBusPendingReply<bool> has = *call;
            if (has.isValid() && !has.value())
                ownerGone(owner);
        });
    }
    ++client.connections;
    const quint64 number = m_nextNumber++;
    auto connection = std::make_unique<AddInBusConnection>(
        this, number, QStringLiteral("%1/%2").arg(kAddInPath).arg(number), owner);
    const QString path = connection->path();
    m_connections.emplace(number, std::move(connection));
    return message.createReply(QVariant::fromValue(QDBusObjectPath(path)));
}

QDBusMessage AddInBusService::releaseAddIn(const QDBusMessage &message)
{
    if (voting())
        return message.createErrorReply(kErrorBusy, QStringLiteral("Orvane is ending"));
    const QString path = message.arguments().value(0).value<QDBusObjectPath>().path();
    const auto found = m_connections.find(numberOfPath(path));
    if (found == m_connections.end())
        return message.createErrorReply(kErrorUnknownObject,
                                        QStringLiteral("No connection %1").arg(path));
    if (found->second->owner() != message.service())
        return message.createErrorReply(kErrorAccessDenied,
                                        QStringLiteral("The connection belongs to another client"));
    AddInBusConnection *connection = found->second.get();
    if (connection->busy())
        releaseWhenIdle(connection);
    else
        release(found->first);
    return message.createReply();
}

QDBusMessage AddInBusService::handleAddIn(const QDBusMessage &message)
{
    const auto found = m_connections.find(numberOfPath(message.path()));
    if (found == m_connections.end() || found->second->released())
        return message.createErrorReply(kErrorUnknownObject,
                                        QStringLiteral("No connection %1").arg(message.path()));
    AddInBusConnection *connection = found->second.get();
    if (connection->owner() != message.service())
        return message.createErrorReply(kErrorAccessDenied,
                                        QStringLiteral("The connection belongs to another client"));
    const auto owned = m_clients.find(connection->owner());
    if (owned == m_clients.end())
        return message.createErrorReply(kErrorUnknownObject,
                                        QStringLiteral("No connection %1").arg(message.path()));
    Client &client = *owned;
    if (!client.calls.take())
        return message.createErrorReply(kErrorLimits, QStringLiteral("Too many calls"));
    if (message.member() == QLatin1String("SendCommand") && !client.commands.take())
        return message.createErrorReply(kErrorLimits, QStringLiteral("Too many commands"));
    const bool changesList = message.member() == QLatin1String("AddInRegister")
        || message.member() == QLatin1String("AddInUnRegister")
        || message.member() == QLatin1String("AddInTerminate")
        || message.member() == QLatin1String("Quit");
    if (changesList && voting())
        return message.createErrorReply(kErrorBusy, QStringLiteral("Orvane is ending"));

    // The call may let events run (a connect, a settings read); the client may leave
    // meanwhile, and its connection then goes only after the call has returned.
    const quint64 number = found->first;
    QDBusMessage reply = connection->handle(message);
    if (connection->released() && !connection->busy())
        release(number);
    return reply;
}

void AddInBusService::setVoteWaits(std::chrono::milliseconds perClient,
                                   std::chrono::milliseconds perRound)
{
    m_voteWait = std::min(perClient, kVoteWait);
    m_voteRoundWait = std::min(perRound, kVoteRoundWait);
}

long AddInBusService::askUnload(AddInBusConnection *connection)
{
    if (!m_running || !connection || connection->released())
        return 0;
    sendSignal(connection, QStringLiteral("Unload"));
    if (!m_lastAskEnded.isValid() || m_lastAskEnded.elapsed() > kRoundGap.count())
        m_roundWaitedMs = 0;
    const qint64 wait
        = std::min<qint64>(m_voteWait.count(), m_voteRoundWait.count() - m_roundWaitedMs);
    Client &client = m_clients[connection->owner()];
    if (wait <= 0
        || (client.unresponsive.isValid()
            && client.unresponsive.elapsed() < kUnresponsiveFor.count())) {
        m_lastAskEnded.start();
        return 0;
    }
    client.unresponsive.invalidate();

    QDBusMessage call = QDBusMessage::createMethodCall(connection->owner(), kClientPath,
                                                       kClientInterface, QStringLiteral("Unload"));
    call.setArguments({QVariant::fromValue(QDBusObjectPath(connection->path()))});
    const QString owner = connection->owner();
    QElapsedTimer waited;
    waited.start();
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
        if (m_clients.contains(owner) && !m_goneDuringVote.contains(owner))
            m_clients[owner].unresponsive.start();
    } else if (!pending.isError()) {
        const QVariant answer = pending.reply().arguments().value(0);
        if (answer.metaType() == QMetaType::fromType<int>())
            cancel = answer.toInt();
    }
    m_roundWaitedMs += waited.elapsed();
    m_lastAskEnded.start();
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
        connection->owner(), connection->path(), kAddInInterface, name);
    signal.setArguments(arguments);
    m_bus.send(signal);
}

void AddInBusService::ownerGone(const QString &owner)
{
    if (!m_clients.contains(owner))
        return;
    if (m_watcher)
        m_watcher->removeWatchedService(owner);
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
        if (connection->busy())
            releaseWhenIdle(connection);
        else
            release(number);
    }
    m_clients.remove(owner);
}

void AddInBusService::releaseWhenIdle(AddInBusConnection *connection)
{
    connection->unregister();
    connection->markReleased();
}

void AddInBusService::release(quint64 number)
{
    const auto found = m_connections.find(number);
    if (found == m_connections.end())
        return;
    std::unique_ptr<AddInBusConnection> connection = std::move(found->second);
    m_connections.erase(found);
    const QString owner = connection->owner();
    connection.reset();
    const auto client = m_clients.find(owner);
    if (client != m_clients.end() && --client->connections <= 0) {
        m_clients.erase(client);
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
