#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <chrono>
#include <memory>
#include <thread>

// One connection to an MQTT broker through libmosquitto. The network runs on a thread of
// its own (name lookups, connecting and TLS never hold up the caller); what happens there
// comes back as queued signals on the object's thread. An attempt that has no answer
// within kAttemptLimit is given up. A lost or refused connection is tried again after a
// pause that doubles from 1 s up to 60 s and starts afresh only after a connection that
// held kSteadyConnection; the thread sleeps between attempts and wakes at most once a
// second while connected. Stopping never waits on the network beyond its bound: a thread
// still inside a name lookup is left to end alone.
//
// libmosquitto's own reconnecting loop is not used: its pauses grow with the square of
// the attempts in whole seconds, start afresh on any accepted connection, and an attempt
// whose broker never answers waits for the keep-alive.
class MosquittoClient : public QObject
{
    Q_OBJECT
public:
    struct Options
    {
        QString host;
        int port = 1883;
        bool tls = false;
        QString caFile; // empty: the system's certificate authorities
        QString user;
        QString password;
        QString clientId;
        QString willTopic; // retained, published by the broker when the connection dies
        QByteArray willPayload;
    };

    static constexpr std::chrono::milliseconds kFirstRetry {1000};
    static constexpr std::chrono::milliseconds kLongestRetry {60000};
    static constexpr std::chrono::milliseconds kAttemptLimit {5000};
    static constexpr std::chrono::milliseconds kSteadyConnection {30000};

    explicit MosquittoClient(QObject *parent = nullptr);
    // Stops as stop() does.
    ~MosquittoClient() override;

    // Starts connecting; returns false (and says why) when the options cannot be used.
    bool start(const Options &options, QString *error = nullptr);
    // Publishes from any thread; false when not connected (the caller republishes
    // everything on connect). QoS 0 is enough for what is published again on every
    // connect, and asks nothing back of the broker.
    bool publish(const QString &topic, const QByteArray &payload, bool retain, int qos = 1);
    void subscribe(const QString &pattern);
    void unsubscribe(const QString &pattern);
    // Publishes a last retained message (if any), disconnects cleanly and ends the thread;
    // waits for that at most kStopWait, and only briefly when not connected. No signal is
    // emitted after it.
    void stop(const QString &lastTopic = {}, const QByteArray &lastPayload = {});
    static constexpr std::chrono::milliseconds kStopWait {2000};

    bool isConnected() const;

signals:
    void connected();
    // The connection failed or ended; the next attempt follows after `retryIn`. The reason
    // says what failed in words for a person (refused, no answer, the certificate and why,
    // the login).
    void disconnected(const QString &reason, qint64 retryInMs);
    // `retained`: the broker kept the message and hands it to a new subscriber, which
    // says nothing about when it was sent.
    void messageReceived(const QString &topic, const QByteArray &payload, bool retained);

private:
    // What the network thread works on, shared with it so that it may outlive this object.
    struct Session;

    std::shared_ptr<Session> m_session;
    std::thread m_thread;
};
