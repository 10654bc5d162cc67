#pragma once

#include "platform/KeyState.h"

#include <QDBusConnection>
#include <QElapsedTimer>
#include <QHash>
#include <QObject>
#include <QSet>
#include <QTimer>
#include <QVariantMap>
#include <chrono>
#include <span>

class QDBusMessage;
class QDBusObjectPath;
class QDBusPendingCallWatcher;
class QDBusServiceWatcher;

// Global keys from the desktop portal's global shortcuts, for Wayland sessions, where
// no program sees the keyboard of another. One shortcut per wanted key is bound in a
// portal session; the desktop reports its activation whichever window has the focus.
// A portal session binds once, so a change of the wanted keys closes it and binds the
// new set in a fresh one. Every call is asynchronous: nothing waits on the portal.
// When the bus has no portal with global shortcuts, nothing is reported and the
// unavailable handler is told once. A portal that does not answer for a session, refuses
// the shortcuts or goes away is told to the notice handler once; the portal's name is
// watched, and a portal that comes (back) is bound again.
class PortalKeyState final : public QObject, public KeyState
{
    Q_OBJECT
public:
    struct Shortcut
    {
        int virtualKey;
        const char *id;
        const char *description;
        const char *preferredTrigger;
    };
    // The keys offered to the portal.
    static std::span<const Shortcut> shortcuts();

    // The desktop file id the portal knows the program by.
    static constexpr const char *kAppId = "org.orvane.Orvane";
    // How long the portal may take to answer for a new session; its dialog for the
    // shortcuts comes only after that, so the binding itself has no limit.
    static constexpr std::chrono::milliseconds kSessionAnswerWait {10000};

    explicit PortalKeyState(const QDBusConnection &bus, QObject *parent = nullptr);
    ~PortalKeyState() override;

    bool wentDown(int virtualKey) override;
    bool isForeground(const QWidget *window) override;
    bool watch(std::function<void()> pressed) override;
    void setWantedKeys(const QList<int> &virtualKeys) override;
    void whenUnavailable(std::function<void()> unavailable) override;
    void whenNotice(std::function<void(const QString &text)> notice) override;
    // For tests: a shorter wait for the session's answer.
    void setSessionAnswerWait(std::chrono::milliseconds wait) { m_sessionAnswerWait = wait; }

    // The keys bound in the current session (for tests and the status of the binding).
    QSet<int> boundKeys() const { return m_bound; }

private slots:
    void onResponse(uint response, const QVariantMap &results, const QDBusMessage &message);
    void onActivated(const QDBusObjectPath &session, const QString &id, qulonglong timestamp,
                     const QVariantMap &options);
    void onDeactivated(const QDBusObjectPath &session, const QString &id, qulonglong timestamp,
                       const QVariantMap &options);
    void onPortalOwnerChanged(const QString &name, const QString &oldOwner,
                              const QString &newOwner);
    void onSessionNotAnswered();

private:
    enum class Portal { Unknown, Asking, Present, Missing };

    void probe();
    void settle();
    void createSession();
    void bindShortcuts();
    void closeSession();
    void request(const QString &method, const QVariantList &arguments, const QString &handleToken);
    void requestFailed();
    void setMissing();
    void watchPortalName();
    void stopListening();
    // Tells `text` unless a trouble was told since the keys last worked.
    void tellTrouble(const QString &text);
    QDBusMessage portalCall(const QString &interface, const QString &method) const;
    QString nextToken();
    QSet<int> wantedNow() const;

    QDBusConnection m_bus;
    Portal m_portal = Portal::Unknown;
    std::function<void()> m_pressed;
    std::function<void()> m_unavailable;
    std::function<void(const QString &)> m_notice;
    QString m_told; // the trouble told since the keys last worked
    QDBusServiceWatcher *m_portalWatch = nullptr;
    QTimer m_sessionAnswer;
    std::chrono::milliseconds m_sessionAnswerWait = kSessionAnswerWait;
    QSet<int> m_wanted;
    QSet<int> m_bound; // keys of the bound session
    QSet<int> m_binding; // keys of the binding under way
    QString m_session; // object path of the open session, empty when none
    QString m_request; // object path of the request awaiting its response, empty when none
    bool m_busy = false; // a session is being created or bound
    int m_tokens = 0;
    QSet<int> m_down; // keys activated and not yet deactivated
    QHash<int, qint64> m_lastActivation; // per key, on m_clock
    QSet<int> m_pressedKeys; // keys pressed and not yet queried
    QElapsedTimer m_clock;
};
