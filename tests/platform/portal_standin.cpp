// A desktop portal with global shortcuts only, for the tests, written from the published
// interface: sessions, binding through a request's Response, activation signals and the
// version property. The test drives it over org.orvane.test.PortalStandIn on /standin:
// Bound() lists "session|id|description|trigger" of the open sessions, Activate(id, down)
// reports a press (down) or release of the shortcut in every open session binding it.
// Serves on the session bus of DBUS_SESSION_BUS_ADDRESS until ended. As a faulty portal:
// --silent-create never answers a CreateSession, --bind-response N answers every
// BindShortcuts with response N (1 cancelled, 2 failed).

#include <QCoreApplication>
#include <QDBusAbstractAdaptor>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusVirtualObject>
#include <QMap>
#include <QTimer>
#include <functional>

// Outside any namespace: the bus finds the slots' argument types by their names.
struct Shortcut
{
    QString id;
    QVariantMap options;
};

QDBusArgument &operator<<(QDBusArgument &argument, const Shortcut &shortcut)
{
    argument.beginStructure();
    argument << shortcut.id << shortcut.options;
    argument.endStructure();
    return argument;
}

const QDBusArgument &operator>>(const QDBusArgument &argument, Shortcut &shortcut)
{
    argument.beginStructure();
    argument >> shortcut.id >> shortcut.options;
    argument.endStructure();
    return argument;
}

namespace {
const QString kPath = QStringLiteral("/org/freedesktop/portal/desktop");

QString senderElement(const QDBusMessage &message)
{
    return message.service().mid(1).replace(QLatin1Char('.'), QLatin1Char('_'));
}
} // namespace

Q_DECLARE_METATYPE(Shortcut)

// Sessions by object path, each with the shortcuts bound in it, and how the portal fails.
struct Sessions
{
    QMap<QString, QList<Shortcut>> bound;
    bool silentCreate = false;
    uint bindResponse = 0;
};

// Sends a request's Response a moment after the method's reply, as a portal does.
// The shortcuts count as bound (`done`) once the Response is out.
void respond(const QString &request, const QVariantMap &results, std::function<void()> done = {},
             uint response = 0)
{
    QTimer::singleShot(5, [request, results, done, response] {
        QDBusMessage signal = QDBusMessage::createSignal(
            request, QStringLiteral("org.freedesktop.portal.Request"), QStringLiteral("Response"));
        signal << response << results;
        QDBusConnection::sessionBus().send(signal);
        if (done && response == 0)
            done();
    });
}

class GlobalShortcuts : public QDBusAbstractAdaptor
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.GlobalShortcuts")
    Q_PROPERTY(uint version READ version)
public:
    GlobalShortcuts(QObject *parent, Sessions &sessions)
        : QDBusAbstractAdaptor(parent)
        , m_sessions(sessions)
    {
    }
    uint version() const { return 1; }

public slots:
    QDBusObjectPath CreateSession(const QVariantMap &options, const QDBusMessage &message)
    {
        const QString sender = senderElement(message);
        const QString request = QStringLiteral("%1/request/%2/%3")
                                    .arg(kPath, sender, options.value("handle_token").toString());
        const QString session
            = QStringLiteral("%1/session/%2/%3")
                  .arg(kPath, sender, options.value("session_handle_token").toString());
        m_sessions.bound.insert(session, {});
        if (m_sessions.silentCreate)
            return QDBusObjectPath(request);
        respond(
            request,
            {{QStringLiteral("session_handle"), QVariant::fromValue(QDBusObjectPath(session))}});
        return QDBusObjectPath(request);
    }

    QDBusObjectPath BindShortcuts(const QDBusObjectPath &session, const QList<Shortcut> &shortcuts,
                                  const QString &parentWindow, const QVariantMap &options,
                                  const QDBusMessage &message)
    {
        Q_UNUSED(parentWindow);
        const QString request
            = QStringLiteral("%1/request/%2/%3")
                  .arg(kPath, senderElement(message), options.value("handle_token").toString());
        respond(request, {{QStringLiteral("shortcuts"), QVariant::fromValue(shortcuts)}},
                [this, session = session.path(), shortcuts] {
                    if (m_sessions.bound.contains(session))
                        m_sessions.bound[session] = shortcuts;
                },
                m_sessions.bindResponse);
        return QDBusObjectPath(request);
    }

signals:
    void Activated(const QDBusObjectPath &session, const QString &id, qulonglong timestamp,
                   const QVariantMap &options);
    void Deactivated(const QDBusObjectPath &session, const QString &id, qulonglong timestamp,
                     const QVariantMap &options);

private:
    Sessions &m_sessions;
};

class Control : public QDBusAbstractAdaptor
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.orvane.test.PortalStandIn")
public:
    Control(QObject *parent, Sessions &sessions, GlobalShortcuts &portal)
        : QDBusAbstractAdaptor(parent)
        , m_sessions(sessions)
        , m_portal(portal)
    {
    }

public slots:
    QStringList Bound() const
    {
        QStringList lines;
        for (auto session = m_sessions.bound.cbegin(); session != m_sessions.bound.cend();
             ++session)
            for (const Shortcut &shortcut : *session)
                lines << QStringList {session.key(), shortcut.id,
                                      shortcut.options.value("description").toString(),
                                      shortcut.options.value("preferred_trigger").toString()}
                             .join(QLatin1Char('|'));
        return lines;
    }

    void Activate(const QString &id, bool down)
    {
        for (auto session = m_sessions.bound.cbegin(); session != m_sessions.bound.cend();
             ++session)
            for (const Shortcut &shortcut : *session)
                if (shortcut.id == id) {
                    const QDBusObjectPath path(session.key());
                    if (down)
                        emit m_portal.Activated(path, id, 0, {});
                    else
                        emit m_portal.Deactivated(path, id, 0, {});
                }
    }

private:
    Sessions &m_sessions;
    GlobalShortcuts &m_portal;
};

// Session objects: Close ends the session and its shortcuts.
class SessionObjects : public QDBusVirtualObject
{
public:
    explicit SessionObjects(Sessions &sessions)
        : m_sessions(sessions)
    {
    }
    QString introspect(const QString &) const override { return {}; }
    bool handleMessage(const QDBusMessage &message, const QDBusConnection &connection) override
    {
        if (message.member() != QLatin1String("Close"))
            return false;
        m_sessions.bound.remove(message.path());
        connection.send(message.createReply());
        return true;
    }

private:
    Sessions &m_sessions;
};

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    qDBusRegisterMetaType<Shortcut>();
    qDBusRegisterMetaType<QList<Shortcut>>();
    QDBusConnection bus = QDBusConnection::sessionBus();
    Sessions sessions;
    const QStringList arguments = QCoreApplication::arguments();
    sessions.silentCreate = arguments.contains(QStringLiteral("--silent-create"));
    const qsizetype response = arguments.indexOf(QStringLiteral("--bind-response"));
    if (response > 0)
        sessions.bindResponse = arguments.value(response + 1).toUInt();
    QObject desktop;
    auto *portal = new GlobalShortcuts(&desktop, sessions);
    QObject standIn;
    new Control(&standIn, sessions, *portal);
    SessionObjects sessionObjects(sessions);
    if (!bus.registerObject(kPath, &desktop)
        || !bus.registerObject(QStringLiteral("/standin"), &standIn)
        || !bus.registerVirtualObject(kPath + QStringLiteral("/session"), &sessionObjects,
                                      QDBusConnection::SubPath)
        || !bus.registerService(QStringLiteral("org.freedesktop.portal.Desktop")))
        return 1;
    return app.exec();
}

#include "portal_standin.moc"
