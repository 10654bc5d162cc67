#include "mqtt/MosquittoClient.h"

#include <QFileInfo>
#include <algorithm>
#include <cerrno>
#include <condition_variable>
#include <cstring>
#include <mosquitto.h>
#include <mutex>

using namespace std::chrono_literals;

namespace {
constexpr int kKeepAliveSeconds = 30;
// The network thread's longest sleep inside the library while connected: keep-alive
// needs a look now and then, nothing else does.
constexpr int kLoopTimeoutMs = 1000;
constexpr std::chrono::milliseconds kStopDrain {1500};
const char *kSystemCaPath = "/etc/ssl/certs";

void initLibrary()
{
    static std::once_flag once;
    std::call_once(once, [] { mosquitto_lib_init(); });
}

QString describe(int rc, int savedErrno)
{
    if (rc == MOSQ_ERR_ERRNO && savedErrno != 0)
        return QString::fromLocal8Bit(std::strerror(savedErrno));
    return QString::fromUtf8(mosquitto_strerror(rc));
}
} // namespace

struct MosquittoClient::Session
{
    mosquitto *mosq = nullptr;
    QByteArray host;
    int port = 0;
    std::mutex mutex;
    std::condition_variable wake; // stop() to the thread
    std::condition_variable done; // the thread to stop()
    bool finished = false; // under mutex
    std::atomic<bool> stopping {false};
    std::atomic<bool> connected {false};
    std::atomic<int> refusal {0}; // CONNACK code of the last refused attempt
    // The object the thread reports to; null once the object has let go of the thread.
    std::mutex ownerMutex;
    MosquittoClient *owner = nullptr;

    ~Session()
    {
        if (mosq)
            mosquitto_destroy(mosq);
    }

    // Hands `report` the owner, if it still listens. The signals are queued to the
    // owner's thread, so the lock is held only briefly.
    template<typename Report> void tell(Report &&report)
    {
        std::lock_guard lock(ownerMutex);
        if (owner)
            report(owner);
    }

    void run();
    // Sleeps for `duration` unless stop() wakes it; false when stopping.
    bool sleepUnlessStopped(std::chrono::milliseconds duration);

    static void onConnect(mosquitto *, void *self, int rc);
    static void onDisconnect(mosquitto *, void *self, int rc);
    static void onMessage(mosquitto *, void *self, const mosquitto_message *message);
};

MosquittoClient::MosquittoClient(QObject *parent)
    : QObject(parent)
{
    initLibrary();
}

MosquittoClient::~MosquittoClient()
{
    stop();
}

bool MosquittoClient::isConnected() const
{
    return m_session && m_session->connected;
}

bool MosquittoClient::start(const Options &options, QString *error)
{
    const auto fail = [error](const QString &reason) {
        if (error)
            *error = reason;
        return false;
    };
    if (m_session)
        return fail(QStringLiteral("already started"));
    auto session = std::make_shared<Session>();
    mosquitto *mosq = mosquitto_new(options.clientId.toUtf8().constData(), true, session.get());
    if (!mosq)
        return fail(QStringLiteral("the MQTT client could not be created"));
    session->mosq = mosq;
    mosquitto_threaded_set(mosq, true);
    mosquitto_int_option(mosq, MOSQ_OPT_PROTOCOL_VERSION, MQTT_PROTOCOL_V311);
    // A (re)connection publishes some thirty retained messages at once. Without a limit
    // they all go out now, instead of waiting in the library's queue for acknowledgements.
    mosquitto_max_inflight_messages_set(mosq, 0);
    mosquitto_connect_callback_set(mosq, &Session::onConnect);
    mosquitto_disconnect_callback_set(mosq, &Session::onDisconnect);
    mosquitto_message_callback_set(mosq, &Session::onMessage);

    if (!options.user.isEmpty()) {
        const QByteArray user = options.user.toUtf8();
        const QByteArray password = options.password.toUtf8();
        mosquitto_username_pw_set(mosq, user.constData(),
                                  options.password.isEmpty() ? nullptr : password.constData());
    }
    if (!options.willTopic.isEmpty())
        mosquitto_will_set(mosq, options.willTopic.toUtf8().constData(),
                           int(options.willPayload.size()), options.willPayload.constData(), 1,
                           true);
    if (options.tls) {
        int rc = MOSQ_ERR_SUCCESS;
        if (!options.caFile.isEmpty()) {
            if (!QFileInfo(options.caFile).isReadable())
                return fail(
                    QStringLiteral("the CA file \"%1\" cannot be read").arg(options.caFile));
            rc = mosquitto_tls_set(mosq, QFile::encodeName(options.caFile).constData(), nullptr,
                                   nullptr, nullptr, nullptr);
        } else {
            mosquitto_int_option(mosq, MOSQ_OPT_TLS_USE_OS_CERTS, 1);
            rc = mosquitto_tls_set(mosq, nullptr, kSystemCaPath, nullptr, nullptr, nullptr);
        }
        if (rc != MOSQ_ERR_SUCCESS)
            return fail(QStringLiteral("TLS cannot be set up: %1")
                            .arg(QString::fromUtf8(mosquitto_strerror(rc))));
    }
    session->host = options.host.toUtf8();
    session->port = options.port;
    session->owner = this;
    m_session = session;
    m_thread = std::thread([session] {
        session->run();
        std::lock_guard lock(session->mutex);
        session->finished = true;
        session->done.notify_all();
    });
    return true;
}

bool MosquittoClient::publish(const QString &topic, const QByteArray &payload, bool retain)
{
    if (!m_session || !m_session->connected)
        return false;
    return mosquitto_publish(m_session->mosq, nullptr, topic.toUtf8().constData(),
                             int(payload.size()), payload.constData(), 1, retain)
        == MOSQ_ERR_SUCCESS;
}

void MosquittoClient::subscribe(const QString &pattern)
{
    if (m_session && m_session->connected)
        mosquitto_subscribe(m_session->mosq, nullptr, pattern.toUtf8().constData(), 1);
}

void MosquittoClient::stop(const QString &lastTopic, const QByteArray &lastPayload)
{
    if (!m_session)
        return;
    if (m_session->connected && !lastTopic.isEmpty())
        publish(lastTopic, lastPayload, true);
    const std::shared_ptr<Session> session = std::move(m_session);
    // Only a connection has a last message and a DISCONNECT to send; without one the
    // thread is given a moment only.
    const auto bound = session->connected ? kStopWait : kStopWait / 20;
    session->stopping = true;
    mosquitto_disconnect(session->mosq);
    bool finished = false;
    {
        std::unique_lock lock(session->mutex);
        session->wake.notify_all();
        finished = session->done.wait_for(lock, bound, [&] { return session->finished; });
    }
    {
        std::lock_guard lock(session->ownerMutex);
        session->owner = nullptr;
    }
    // A thread still inside a name lookup (which nothing can cut short) ends on its own
    // and releases the session then.
    if (finished)
        m_thread.join();
    else
        m_thread.detach();
}

void MosquittoClient::Session::run()
{
    std::chrono::milliseconds retry = kFirstRetry;
    while (!stopping) {
        refusal = 0;
        errno = 0;
        int rc = mosquitto_connect_async(mosq, host.constData(), port, kKeepAliveSeconds);
        int savedErrno = errno;
        bool wasConnected = false;
        if (rc == MOSQ_ERR_SUCCESS) {
            while (!stopping) {
                errno = 0;
                rc = mosquitto_loop(mosq, kLoopTimeoutMs, 1);
                savedErrno = errno;
                if (connected)
                    wasConnected = true;
                if (rc != MOSQ_ERR_SUCCESS)
                    break;
            }
        }
        if (stopping)
            break;
        connected = false;
        // A connection that stood starts the pauses afresh.
        if (wasConnected)
            retry = kFirstRetry;
        const int refused = refusal;
        const QString reason = refused != 0 ? QString::fromUtf8(mosquitto_connack_string(refused))
                                            : describe(rc, savedErrno);
        tell([&](MosquittoClient *client) { emit client->disconnected(reason, retry.count()); });
        if (!sleepUnlessStopped(retry))
            break;
        retry = std::min(retry * 2, kLongestRetry);
    }
    // The last message and the DISCONNECT go out before the thread ends.
    const auto deadline = std::chrono::steady_clock::now() + kStopDrain;
    while (connected && std::chrono::steady_clock::now() < deadline)
        if (mosquitto_loop(mosq, 100, 1) != MOSQ_ERR_SUCCESS)
            break;
    connected = false;
}

bool MosquittoClient::Session::sleepUnlessStopped(std::chrono::milliseconds duration)
{
    std::unique_lock lock(mutex);
    return !wake.wait_for(lock, duration, [this] { return stopping.load(); });
}

void MosquittoClient::Session::onConnect(mosquitto *, void *self, int rc)
{
    auto *session = static_cast<Session *>(self);
    if (rc != 0) {
        session->refusal = rc;
        return;
    }
    session->connected = true;
    session->tell([](MosquittoClient *client) { emit client->connected(); });
}

void MosquittoClient::Session::onDisconnect(mosquitto *, void *self, int)
{
    static_cast<Session *>(self)->connected = false;
}

void MosquittoClient::Session::onMessage(mosquitto *, void *self, const mosquitto_message *message)
{
    const QString topic = QString::fromUtf8(message->topic);
    const QByteArray payload(static_cast<const char *>(message->payload), message->payloadlen);
    static_cast<Session *>(self)->tell(
        [&](MosquittoClient *client) { emit client->messageReceived(topic, payload); });
}
