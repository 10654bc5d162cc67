#pragma once

#include "addins/AddInBusConnection.h"
#include "program/RateLimiter.h"

#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QHash>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariantList>
#include <chrono>
#include <map>
#include <memory>
#include <optional>
#include <utility>

class AddInBusConnection;
class AddInRuntime;
class Clock;
class QDBusServiceWatcher;

// The program's automation interface on the user's session bus. It owns the
// well-known name, hands out connection objects (one clsAddIn each) to the clients
// that ask, and keeps them within bounds: only a connection's owner may call it, each
// client process and the program hold a limited number of connections, calls,
// commands and messages are rate-limited per process, and a client that leaves the bus
// loses its connections at once. The interface is described in org.orvane.Orvane.xml;
// the adaptors of "/" and of the connection objects are generated from it.
class AddInBusService : public QObject, protected QDBusContext
{
    Q_OBJECT
public:
    static inline const QString kServiceName = QStringLiteral("org.orvane.Orvane");
    static inline const QString kAddInPath = QStringLiteral("/org/orvane/Orvane/AddIn");
    static inline const QString kClientInterface = QStringLiteral("org.orvane.Orvane.AddInClient");
    static inline const QString kClientPath = QStringLiteral("/org/orvane/Orvane/AddInClient");
    static inline const QString kErrorBusy = QStringLiteral("org.orvane.Orvane.Error.Busy");
    // SendCommand's code did not reach the receiver.
    static inline const QString kErrorNotConnected
        = QStringLiteral("org.orvane.Orvane.Error.NotConnected");
    static inline const QString kErrorNotSent = QStringLiteral("org.orvane.Orvane.Error.NotSent");
    static QString rootInterface();
    static QString addInInterface();

    // Connections per client process (over all its bus connections) and in all; the
    // last kReservedConnections are kept for processes that hold none yet.
    static constexpr int kMaxConnectionsPerProcess = 8;
    static constexpr int kMaxConnections = 64;
    static constexpr int kReservedConnections = 8;
    // Calls of all kinds, receiver commands, add-in messages and the message text they
    // spread (its length times the bus clients that receive it), per client process
    // and second; a burst of one second's worth is let through at once.
    static constexpr double kCallsPerSecond = 500;
    static constexpr double kCommandsPerSecond = 40;
    static constexpr double kMessagesPerSecond = 20;
    static constexpr double kMessageTextPerSecond = 256 * 1024;
    // How long the program waits for one client's unload vote and for all votes of
    // one shutdown together, and how long a client that let its vote run out is not
    // waited for again.
    static constexpr std::chrono::milliseconds kVoteWait {2000};
    static constexpr std::chrono::milliseconds kVoteRoundWait {5000};
    static constexpr std::chrono::milliseconds kUnresponsiveFor {30000};

    // Works on `bus`: the session bus in the program, a private bus in tests. The
    // connections it hands out are add-ins of `runtime`; rates and the vote's bounds read
    // `clock`'s monotonic time.
    AddInBusService(AddInRuntime &runtime, const QDBusConnection &bus, Clock *clock,
                    QObject *parent = nullptr);
    ~AddInBusService() override;

    // Registers the objects and asks for the well-known name. False, with
    // errorString(), when there is no bus or the objects cannot be registered. When
    // another program owns the name, start() succeeds but the service waits in the
    // bus's queue (nameOwned() false, nameWaiting() emitted) and takes the name as soon
    // as the other program lets it go (nameTaken()).
    bool start();
    // Releases every connection and the name. Safe to call more than once.
    void stop();
    bool isRunning() const { return m_running; }
    bool nameOwned() const { return m_nameOwned; }
    QString errorString() const { return m_error; }
    int connectionCount() const { return int(m_connections.size()); }
    AddInRuntime &runtime() const { return m_runtime; }

    // The gate of every call of a connection object: the caller is its owner, the
    // process is within its limits and the arguments are acceptable. An empty error
    // name admits the call.
    std::pair<QString, QString> admit(const AddInBusConnection *connection,
                                      const QDBusMessage &message,
                                      AddInBusConnection::CallKind kind);
    // The program is about to end and asks the add-in of `connection`: the vote call
    // to its owner, waited for at most the vote wait while events run. The answer, 0
    // when there was none.
    long askUnload(AddInBusConnection *connection);
    // Sends an add-in event as a signal addressed to the owner of `connection`.
    void sendSignal(const AddInBusConnection *connection, const QString &name,
                    const QVariantList &arguments = {});
    // Releases the connection once the current call has answered.
    void releaseLater(quint64 number);
    // True while a vote waits; calls that change the list of add-ins are refused then.
    bool voting() const { return m_voteDepth > 0; }
    // Shorter waits than kVoteWait and kVoteRoundWait (tests).
    void setVoteWaits(std::chrono::milliseconds perClient, std::chrono::milliseconds perRound);
    // Other connection limits than the program's (tests).
    void setConnectionLimits(int perProcess, int total, int reserved);
    // Whether Raise can show a window; false on the platforms without a screen.
    void setShowsWindows(bool shows) { m_showsWindows = shows; }

signals:
    // Another program holds the name; the service waits for it (`text` says so).
    void nameWaiting(const QString &text);
    // The service took the name after waiting for it.
    void nameTaken();

    // The members of org.orvane.Orvane at "/", called by the generated adaptor.
public slots:
    QDBusObjectPath CreateAddIn();
    void ReleaseAddIn(const QDBusObjectPath &AddIn);
    bool Raise(const QString &ActivationToken);

private:
    RateLimiter m_raises {1};
    bool m_showsWindows = true;
    struct Process
    {
        int connections = 0;
        RateLimiter calls {kCallsPerSecond};
        RateLimiter commands {kCommandsPerSecond};
        RateLimiter messages {kMessagesPerSecond};
        RateLimiter messageText {kMessageTextPerSecond};
    };

    void createFor(const QDBusMessage &message, const QString &process);
    void resolveProcess(const QString &owner);
    void ownerGone(const QString &owner);
    void release(quint64 number);
    void finishDeferred();
    void onNameAcquired(const QString &name);
    static quint64 numberOfPath(const QString &path);

    AddInRuntime &m_runtime;
    QDBusConnection m_bus;
    Clock *m_clock;
    QDBusServiceWatcher *m_watcher = nullptr;
    bool m_running = false;
    bool m_nameOwned = false;
    QString m_error;
    quint64 m_nextNumber = 1;
    std::map<quint64, std::unique_ptr<AddInBusConnection>> m_connections;
    // Bus connections that hold connection objects, with their process; processes
    // with their limits; calls to CreateAddIn waiting for the caller's process.
    QHash<QString, QString> m_processOf;
    QHash<QString, Process> m_processes;
    QHash<QString, QList<QDBusMessage>> m_waitingCreates;
    // Bus connections that let their vote run out (since when), not waited for again for
    // a while.
    QHash<QString, std::chrono::nanoseconds> m_unresponsive;
    int m_maxPerProcess = kMaxConnectionsPerProcess;
    int m_maxConnections = kMaxConnections;
    int m_reserved = kReservedConnections;
    int m_voteDepth = 0;
    std::chrono::milliseconds m_voteWait = kVoteWait;
    std::chrono::milliseconds m_voteRoundWait = kVoteRoundWait;
    // The asks of one shutdown follow each other closely; a pause ends the round.
    std::optional<std::chrono::nanoseconds> m_lastAskEnded;
    std::chrono::nanoseconds m_roundWaited {0};
    QStringList m_goneDuringVote;
};
