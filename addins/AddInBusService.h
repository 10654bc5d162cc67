#pragma once

#include <QDBusConnection>
#include <QDBusVirtualObject>
#include <QElapsedTimer>
#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QVariantList>
#include <chrono>
#include <map>
#include <memory>

class AddInBusConnection;
class AddInRuntime;
class QDBusServiceWatcher;

// The program's automation interface on the user's session bus. It owns the
// well-known name, hands out connection objects (one clsAddIn each) to the clients
// that ask, forwards their calls and keeps them within bounds: only a connection's
// owner may call it, each client and the program hold a limited number of
// connections, calls and commands are rate-limited, and a client that leaves the bus
// loses its connections at once. The interface is described in org.orvane.Orvane.xml.
class AddInBusService : public QDBusVirtualObject
{
    Q_OBJECT
public:
    static inline const QString kServiceName = QStringLiteral("org.orvane.Orvane");
    static inline const QString kRootInterface = QStringLiteral("org.orvane.Orvane");
    static inline const QString kAddInInterface = QStringLiteral("org.orvane.Orvane.AddIn");
    static inline const QString kClientInterface = QStringLiteral("org.orvane.Orvane.AddInClient");
    static inline const QString kAddInPath = QStringLiteral("/org/orvane/Orvane/AddIn");
    static inline const QString kClientPath = QStringLiteral("/org/orvane/Orvane/AddInClient");
    static inline const QString kErrorBusy = QStringLiteral("org.orvane.Orvane.Error.Busy");

    static constexpr int kMaxConnectionsPerClient = 8;
    static constexpr int kMaxConnections = 64;
    // Calls of all kinds, and receiver commands among them, per client and second;
    // a burst of that many is let through at once.
    static constexpr double kCallsPerSecond = 500;
    static constexpr double kCommandsPerSecond = 40;
    // How long the program waits for one client's unload vote and for all votes of
    // one shutdown together, and how long a client that let its vote run out is not
    // waited for again.
    static constexpr std::chrono::milliseconds kVoteWait {2000};
    static constexpr std::chrono::milliseconds kVoteRoundWait {5000};
    static constexpr std::chrono::milliseconds kUnresponsiveFor {30000};

    // Works on `bus`: the session bus in the program, a private bus in tests. The
    // connections it hands out are add-ins of `runtime`.
    AddInBusService(AddInRuntime &runtime, const QDBusConnection &bus, QObject *parent = nullptr);
    ~AddInBusService() override;

    // Registers the objects and takes the well-known name. False, with errorString(),
    // when there is no bus or another program owns the name; the program then runs
    // without automation.
    bool start();
    // Releases every connection and the name. Safe to call more than once.
    void stop();
    bool isRunning() const { return m_running; }
    QString errorString() const { return m_error; }
    int connectionCount() const { return int(m_connections.size()); }
    AddInRuntime &runtime() const { return m_runtime; }

    QString introspect(const QString &path) const override;
    bool handleMessage(const QDBusMessage &message, const QDBusConnection &connection) override;

    // The program is about to end and asks the add-in of `connection`: sends the
    // Unload signal, then the vote call to its owner, and waits at most the vote wait
    // while events run. The answer, 0 when there was none.
    long askUnload(AddInBusConnection *connection);
    // Sends an add-in event as a signal addressed to the owner of `connection`.
    void sendSignal(const AddInBusConnection *connection, const QString &name,
                    const QVariantList &arguments = {});
    // True while a vote waits; calls that change the list of add-ins are refused then.
    bool voting() const { return m_voteDepth > 0; }
    // Shorter waits than kVoteWait and kVoteRoundWait (tests).
    void setVoteWaits(std::chrono::milliseconds perClient, std::chrono::milliseconds perRound);

    // One client's part of an interface description, cut from org.orvane.Orvane.xml.
    static QString interfaceXml(const QString &interface);

private:
    struct RateLimit
    {
        double perSecond = 0;
        double tokens = 0;
        QElapsedTimer clock;
        bool take();
    };
    struct Client
    {
        int connections = 0;
        RateLimit calls;
        RateLimit commands;
        QElapsedTimer unresponsive; // valid while the client is not waited for
    };

    QDBusMessage handleRoot(const QDBusMessage &message);
    QDBusMessage createAddIn(const QDBusMessage &message);
    QDBusMessage releaseAddIn(const QDBusMessage &message);
    QDBusMessage handleAddIn(const QDBusMessage &message);
    void ownerGone(const QString &owner);
    void release(quint64 number);
    void releaseWhenIdle(AddInBusConnection *connection);
    void finishDeferred();
    static quint64 numberOfPath(const QString &path);

    AddInRuntime &m_runtime;
    QDBusConnection m_bus;
    QDBusServiceWatcher *m_watcher = nullptr;
    bool m_running = false;
    QString m_error;
    quint64 m_nextNumber = 1;
    std::map<quint64, std::unique_ptr<AddInBusConnection>> m_connections;
    QHash<QString, Client> m_clients;
    int m_voteDepth = 0;
    std::chrono::milliseconds m_voteWait = kVoteWait;
    std::chrono::milliseconds m_voteRoundWait = kVoteRoundWait;
    // The asks of one shutdown follow each other closely; a pause ends the round.
    QElapsedTimer m_lastAskEnded;
    qint64 m_roundWaitedMs = 0;
    QStringList m_goneDuringVote;
};
