#include "platform/PortalKeyState.h"

#include <QApplication>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusServiceWatcher>
#include <QDBusVariant>
#include <QWidget>
#include <atomic>

namespace {

const QString kService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString kPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString kInterface = QStringLiteral("org.freedesktop.portal.GlobalShortcuts");
const QString kRequest = QStringLiteral("org.freedesktop.portal.Request");
const QString kSession = QStringLiteral("org.freedesktop.portal.Session");
const QString kRegistry = QStringLiteral("org.freedesktop.host.portal.Registry");
// Signals are matched by object path and interface, without naming the sender: naming it
// would make Qt ask the bus for its owner and wait for the answer.
const QString kAnySender;

// Calls that set up the binding; the desktop may show a dialog only after answering.
constexpr int kCallTimeoutMs = 10000;
// A desktop that never reports the release of a key: a new activation this long after
// the previous one is a new press; closer ones are the key's repeats.
constexpr qint64 kHeldRepeatMs = 1000;

constexpr PortalKeyState::Shortcut kShortcuts[] = {
    {173, "volume-mute", "Mute the receiver", "XF86AudioMute"},
    {174, "volume-down", "Turn the receiver's volume down", "XF86AudioLowerVolume"},
    {175, "volume-up", "Turn the receiver's volume up", "XF86AudioRaiseVolume"},
    {176, "next-track", "Next track of the media player", "XF86AudioNext"},
    {177, "previous-track", "Previous track of the media player", "XF86AudioPrev"},
    {178, "stop", "Stop the media player", "XF86AudioStop"},
    {179, "play-pause", "Play or pause the media player", "XF86AudioPlay"},
};

int keyOfShortcut(const QString &id)
{
    for (const auto &shortcut : kShortcuts)
        if (id == QLatin1String(shortcut.id))
            return shortcut.virtualKey;
    return 0;
}

// One shortcut as the portal takes it: (id, {description, preferred_trigger}).
struct PortalShortcut
{
    QString id;
    QVariantMap options;
};

QDBusArgument &operator<<(QDBusArgument &argument, const PortalShortcut &shortcut)
{
    argument.beginStructure();
    argument << shortcut.id << shortcut.options;
    argument.endStructure();
    return argument;
}

const QDBusArgument &operator>>(const QDBusArgument &argument, PortalShortcut &shortcut)
{
    argument.beginStructure();
    argument >> shortcut.id >> shortcut.options;
    argument.endStructure();
    return argument;
}

// Tokens name request and session objects per connection: unique within the process.
std::atomic<int> g_tokens {0};

} // namespace

Q_DECLARE_METATYPE(PortalShortcut)

std::span<const PortalKeyState::Shortcut> PortalKeyState::shortcuts()
{
    return kShortcuts;
}

PortalKeyState::PortalKeyState(const QDBusConnection &bus, QObject *parent)
    : QObject(parent)
    , m_bus(bus)
{
    m_clock.start();
    qDBusRegisterMetaType<PortalShortcut>();
    qDBusRegisterMetaType<QList<PortalShortcut>>();
    m_sessionAnswer.setSingleShot(true);
    connect(&m_sessionAnswer, &QTimer::timeout, this, &PortalKeyState::onSessionNotAnswered);
}

PortalKeyState::~PortalKeyState()
{
    if (!m_request.isEmpty())
        m_bus.send(
            QDBusMessage::createMethodCall(kService, m_request, kRequest, QStringLiteral("Close")));
    closeSession();
}

QDBusMessage PortalKeyState::portalCall(const QString &interface, const QString &method) const
{
    return QDBusMessage::createMethodCall(kService, kPath, interface, method);
}

QString PortalKeyState::nextToken()
{
    return QStringLiteral("orvane%1").arg(++g_tokens);
}

QSet<int> PortalKeyState::wantedNow() const
{
    return m_pressed ? m_wanted : QSet<int>();
}

bool PortalKeyState::watch(std::function<void()> pressed)
{
    m_pressed = std::move(pressed);
    if (!m_pressed) {
        m_pressedKeys.clear();
        m_down.clear();
    } else if (m_portal == Portal::Unknown) {
        probe();
    }
    settle();
    return m_portal != Portal::Missing;
}

void PortalKeyState::setWantedKeys(const QList<int> &virtualKeys)
{
    m_wanted = QSet<int>(virtualKeys.cbegin(), virtualKeys.cend());
    settle();
}

void PortalKeyState::whenUnavailable(std::function<void()> unavailable)
{
    m_unavailable = std::move(unavailable);
    if (m_portal == Portal::Missing)
        setMissing();
}

void PortalKeyState::whenNotice(std::function<void(const QString &)> notice)
{
    m_notice = std::move(notice);
}

void PortalKeyState::tellTrouble(const QString &text)
{
    if (!m_told.isEmpty())
        return;
    m_told = text;
    if (m_notice)
        m_notice(text);
    else
        qWarning("%s", qPrintable(text));
}

void PortalKeyState::setMissing()
{
    m_portal = Portal::Missing;
    // A portal that comes later is told as the keys' return.
    if (m_told.isEmpty())
        m_told = QStringLiteral("no portal");
    if (auto told = std::exchange(m_unavailable, nullptr))
        told();
}

// The portal knows a program outside a sandbox by the id it registers (where the portal
// offers that); then the interface's version says whether global shortcuts are offered.
void PortalKeyState::probe()
{
    if (!m_bus.isConnected()) {
        setMissing();
        return;
    }
    watchPortalName();
    m_portal = Portal::Asking;
    QDBusMessage registration = portalCall(kRegistry, QStringLiteral("Register"));
    registration << QString::fromLatin1(kAppId) << QVariantMap();
    auto *registered
        = new QDBusPendingCallWatcher(m_bus.asyncCall(registration, kCallTimeoutMs), this);
    connect(registered, &QDBusPendingCallWatcher::finished, this, [this](auto *watcher) {
        watcher->deleteLater();
        QDBusMessage get = QDBusMessage::createMethodCall(
            kService, kPath, QStringLiteral("org.freedesktop.DBus.Properties"),
            QStringLiteral("Get"));
        get << kInterface << QStringLiteral("version");
        auto *version = new QDBusPendingCallWatcher(m_bus.asyncCall(get, kCallTimeoutMs), this);
        connect(version, &QDBusPendingCallWatcher::finished, this, [this](auto *answer) {
            answer->deleteLater();
            const QDBusPendingReply<QDBusVariant> reply = *answer;
            if (reply.isError() || reply.value().variant().toUInt() < 1) {
                setMissing();
                return;
            }
            m_portal = Portal::Present;
            m_bus.connect(kAnySender, kPath, kInterface, QStringLiteral("Activated"), this,
                          SLOT(onActivated(QDBusObjectPath, QString, qulonglong, QVariantMap)));
            m_bus.connect(kAnySender, kPath, kInterface, QStringLiteral("Deactivated"), this,
                          SLOT(onDeactivated(QDBusObjectPath, QString, qulonglong, QVariantMap)));
            settle();
        });
    });
}

// A portal that ends takes its sessions and requests along; one that starts (again) is
// probed and bound afresh.
void PortalKeyState::watchPortalName()
{
    if (m_portalWatch)
        return;
    m_portalWatch = new QDBusServiceWatcher(kService, m_bus,
                                            QDBusServiceWatcher::WatchForOwnerChange, this);
    connect(m_portalWatch, &QDBusServiceWatcher::serviceOwnerChanged, this,
            &PortalKeyState::onPortalOwnerChanged);
}

void PortalKeyState::onPortalOwnerChanged(const QString &, const QString &oldOwner,
                                          const QString &newOwner)
{
    if (!oldOwner.isEmpty()) {
        const bool keysWanted = m_portal == Portal::Present && !wantedNow().isEmpty();
        if (!m_request.isEmpty())
            m_bus.disconnect(kAnySender, m_request, kRequest, QStringLiteral("Response"), this,
                             SLOT(onResponse(uint, QVariantMap, QDBusMessage)));
        m_sessionAnswer.stop();
        m_request.clear();
        m_session.clear();
        m_bound.clear();
        m_binding.clear();
        m_down.clear();
        m_busy = false;
        m_portal = Portal::Unknown;
        if (keysWanted)
            tellTrouble(tr("The desktop portal for global shortcuts went away: the "
                           "global keys are off until it is back."));
    }
    if (!newOwner.isEmpty() && m_pressed && m_portal != Portal::Asking)
        probe();
}

void PortalKeyState::onSessionNotAnswered()
{
    if (m_request.isEmpty() || !m_session.isEmpty())
        return;
    m_bus.disconnect(kAnySender, m_request, kRequest, QStringLiteral("Response"), this,
                     SLOT(onResponse(uint, QVariantMap, QDBusMessage)));
    m_bus.send(
        QDBusMessage::createMethodCall(kService, m_request, kRequest, QStringLiteral("Close")));
    m_request.clear();
    m_bound.clear();
    m_busy = false;
    // The same keys are not asked for again until the portal starts anew.
    tellTrouble(tr("The desktop portal for global shortcuts did not answer the "
                   "request for a session within %1 seconds: the global keys are "
                   "off until the portal is restarted.")
                    .arg(double(m_sessionAnswerWait.count()) / 1000.0));
}

// Brings the portal's binding to the wanted keys, one request at a time. A set the portal
// refused (the user cancelled its dialog) is not asked for again until the set changes.
void PortalKeyState::settle()
{
    if (m_portal != Portal::Present || m_busy)
        return;
    const QSet<int> wanted = wantedNow();
    if (wanted == m_binding)
        return;
    closeSession();
    m_bound.clear();
    m_down.clear();
    m_binding = wanted;
    if (!wanted.isEmpty())
        createSession();
}

void PortalKeyState::closeSession()
{
    if (m_session.isEmpty())
        return;
    m_bus.send(
        QDBusMessage::createMethodCall(kService, m_session, kSession, QStringLiteral("Close")));
    m_session.clear();
}

void PortalKeyState::createSession()
{
    m_busy = true;
    const QString token = nextToken();
    QVariantMap options {{QStringLiteral("handle_token"), token},
                         {QStringLiteral("session_handle_token"), nextToken()}};
    request(QStringLiteral("CreateSession"), {options}, token);
}

void PortalKeyState::bindShortcuts()
{
    QList<PortalShortcut> shortcuts;
    for (const Shortcut &shortcut : kShortcuts)
        if (m_binding.contains(shortcut.virtualKey))
            shortcuts.append(
                {QString::fromLatin1(shortcut.id),
                 {{QStringLiteral("description"), QString::fromLatin1(shortcut.description)},
                  {QStringLiteral("preferred_trigger"),
                   QString::fromLatin1(shortcut.preferredTrigger)}}});
    const QString token = nextToken();
    request(QStringLiteral("BindShortcuts"),
            {QVariant::fromValue(QDBusObjectPath(m_session)), QVariant::fromValue(shortcuts),
             QString(), QVariantMap {{QStringLiteral("handle_token"), token}}},
            token);
}

// The portal answers a call at once with the path of a request object and the outcome
// later through that object's Response signal. The path is known beforehand, so the
// subscription is made before the call and no answer can slip past.
void PortalKeyState::request(const QString &method, const QVariantList &arguments,
                             const QString &handleToken)
{
    const QString sender = m_bus.baseService().mid(1).replace(QLatin1Char('.'), QLatin1Char('_'));
    m_request = QStringLiteral("%1/request/%2/%3").arg(kPath, sender, handleToken);
    const char *slot = SLOT(onResponse(uint, QVariantMap, QDBusMessage));
    m_bus.connect(kAnySender, m_request, kRequest, QStringLiteral("Response"), this, slot);
    QDBusMessage call = portalCall(kInterface, method);
    call.setArguments(arguments);
    auto *watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(call, kCallTimeoutMs), this);
    if (method == QLatin1String("CreateSession"))
        m_sessionAnswer.start(m_sessionAnswerWait);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, slot, method, expected = m_request](auto *answer) {
                answer->deleteLater();
                if (m_request != expected)
                    return; // answered already
                const QDBusPendingReply<QDBusObjectPath> reply = *answer;
                if (!reply.isError() && reply.value().path() == expected)
                    return;
                m_bus.disconnect(kAnySender, m_request, kRequest, QStringLiteral("Response"), this,
                                 slot);
                if (reply.isError()) {
                    m_sessionAnswer.stop();
                    tellTrouble(tr("The desktop portal for global shortcuts answered "
                                   "%1 with an error (%2): the global keys are off.")
                                    .arg(method, reply.error().message()));
                    requestFailed();
                    return;
                }
                // Portals before version 0.9 chose the path themselves.
                m_request = reply.value().path();
                m_bus.connect(kAnySender, m_request, kRequest, QStringLiteral("Response"), this,
                              slot);
            });
}

void PortalKeyState::requestFailed()
{
    m_request.clear();
    closeSession();
    m_bound.clear();
    m_busy = false;
    settle();
}

void PortalKeyState::onResponse(uint response, const QVariantMap &results,
                                const QDBusMessage &message)
{
    if (message.path() != m_request)
        return;
    m_bus.disconnect(kAnySender, m_request, kRequest, QStringLiteral("Response"), this,
                     SLOT(onResponse(uint, QVariantMap, QDBusMessage)));
    m_request.clear();
    const bool binding = !m_session.isEmpty();
    if (!binding)
        m_sessionAnswer.stop();
    if (response == 1) {
        tellTrouble(tr("The global shortcuts were cancelled in the desktop's "
                       "dialog: the global keys are off."));
        requestFailed();
        return;
    }
    if (response != 0) {
        tellTrouble(tr("The desktop portal for global shortcuts refused %1 "
                       "(response %2): the global keys are off.")
                        .arg(binding ? QStringLiteral("to bind them") : QStringLiteral("a session"))
                        .arg(response));
        requestFailed();
        return;
    }
    if (m_session.isEmpty()) {
        // Created: the handle arrives as an object path, from older portals as text.
        const QVariant handle = results.value(QStringLiteral("session_handle"));
        m_session = handle.metaType() == QMetaType::fromType<QDBusObjectPath>()
            ? handle.value<QDBusObjectPath>().path()
            : handle.toString();
        if (m_session.isEmpty()) {
            requestFailed();
            return;
        }
        bindShortcuts();
        return;
    }
    m_bound = m_binding;
    m_busy = false;
    if (!m_told.isEmpty()) {
        m_told.clear();
        if (m_notice)
            m_notice(tr("The desktop portal for global shortcuts answers again: the "
                        "global keys are bound."));
    }
    settle();
}

void PortalKeyState::onActivated(const QDBusObjectPath &session, const QString &id,
                                 qulonglong timestamp, const QVariantMap &options)
{
    Q_UNUSED(timestamp);
    Q_UNUSED(options);
    const int key = keyOfShortcut(id);
    if (session.path() != m_session || !m_bound.contains(key))
        return;
    const qint64 now = m_clock.elapsed();
    const qint64 previous = m_lastActivation.value(key, -kHeldRepeatMs);
    m_lastActivation.insert(key, now);
    // A held key's repeated activations are no new presses.
    if (m_down.contains(key) && now - previous < kHeldRepeatMs)
        return;
    m_down.insert(key);
    m_pressedKeys.insert(key);
    if (m_pressed)
        m_pressed();
}

void PortalKeyState::onDeactivated(const QDBusObjectPath &session, const QString &id,
                                   qulonglong timestamp, const QVariantMap &options)
{
    Q_UNUSED(timestamp);
    Q_UNUSED(options);
    if (session.path() == m_session)
        m_down.remove(keyOfShortcut(id));
}

bool PortalKeyState::wentDown(int virtualKey)
{
    return m_pressedKeys.remove(virtualKey);
}

bool PortalKeyState::isForeground(const QWidget *window)
{
    return window && QApplication::activeWindow() == window->window();
}
