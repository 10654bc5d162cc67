#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

struct mosquitto;
struct mosquitto_message;

// One connection to an MQTT broker through libmosquitto. The network runs on a thread of
// its own (name lookups, connecting and TLS never hold up the caller); what happens there
// comes back as queued signals on the object's thread. A lost or refused connection is
// tried again after a pause that doubles from 1 s up to 60 s; the thread sleeps between
// attempts and wakes at most once a second while connected.
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

    explicit MosquittoClient(QObject *parent = nullptr);
    // Stops as stop() does.
    ~MosquittoClient() override;

    // Starts connecting; returns false (and says why) when the options cannot be used.
    bool start(const Options &options, QString *error = nullptr);
    // Publishes with QoS 1 from any thread; false when not connected (the caller
    // republishes everything on connect).
    bool publish(const QString &topic, const QByteArray &payload, bool retain);
    void subscribe(const QString &pattern);
    // Publishes a last retained message (if any), disconnects cleanly and ends the thread;
    // waits for that at most about a second and a half.
    void stop(const QString &lastTopic = {}, const QByteArray &lastPayload = {});

    bool isConnected() const { return m_connected; }
    // Connection attempts so far.
    int attempts() const { return m_attempts; }

signals:
    void connected();
    // The connection failed or ended; the next attempt follows after `retryIn`.
    void disconnected(const QString &reason, qint64 retryInMs);
    void messageReceived(const QString &topic, const QByteArray &payload);

private:
    static void onConnect(mosquitto *, void *self, int rc);
    static void onDisconnect(mosquitto *, void *self, int rc);
    static void onMessage(mosquitto *, void *self, const mosquitto_message *message);

    void run();
    // Sleeps for `duration` unless stop() wakes it; false when stopping.
    bool sleepUnlessStopped(std::chrono::milliseconds duration);

    mosquitto *m_mosq = nullptr;
    QByteArray m_host;
    int m_port = 0;
    std::thread m_thread;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::atomic<bool> m_stopping {false};
    std::atomic<bool> m_connected {false};
    std::atomic<int> m_attempts {0};
    std::atomic<int> m_refusal {0}; // CONNACK code of the last refused attempt
};
