#include "mqtt/MosquittoClient.h"

#include <QFileInfo>
#include <algorithm>
#include <cerrno>
#include <condition_variable>
#include <cstring>
#include <mosquitto.h>
#include <mutex>
#include <openssl/ssl.h>
#include <openssl/x509.h>
#include <optional>
#include <poll.h>
#include <sys/socket.h>

using namespace std::chrono_literals;

namespace {
constexpr int kKeepAliveSeconds = 30;
// The network thread's longest sleep inside the library while connected: keep-alive
// needs a look now and then, nothing else does.
constexpr int kLoopTimeoutMs = 1000;
constexpr std::chrono::milliseconds kStopDrain {1500};
// Until the broker has accepted, the library's loop is run at most this often: a socket
// that fails in a way the library does not notice costs no more than that.
constexpr std::chrono::milliseconds kHandshakePace {10};
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

QString describeRefusal(int code)
{
    switch (code) {
    case 4:
        return QStringLiteral("the broker refused the login: wrong user name or password");
    case 5:
        return QStringLiteral("the broker refused the login: not authorised (wrong user name "
                              "or password?)");
    default:
        return QStringLiteral("the broker refused the connection: %1")
            .arg(QString::fromUtf8(mosquitto_connack_string(code)));
    }
}

using SteadyClock = std::chrono::steady_clock;
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
    QString tlsProblem; // what TLS said of the current attempt (network thread only)
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
    // One attempt and the connection it makes, until it ends; says why it ended and how
    // long it was connected.
    QString attempt(std::chrono::milliseconds *held);
    // Waits for the connection to the broker's port; empty when it stands.
    QString awaitSocket();
    // Sleeps for `duration` unless stop() wakes it; false when stopping.
    bool sleepUnlessStopped(std::chrono::milliseconds duration);

    static void onConnect(mosquitto *, void *self, int rc);
    static void onDisconnect(mosquitto *, void *self, int rc);
    static void onMessage(mosquitto *, void *self, const mosquitto_message *message);
    static void onLog(mosquitto *, void *self, int level, const char *text);
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
    mosquitto_log_callback_set(mosq, &Session::onLog);

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

bool MosquittoClient::publish(const QString &topic, const QByteArray &payload, bool retain, int qos)
{
    if (!m_session || !m_session->connected)
        return false;
    return mosquitto_publish(m_session->mosq, nullptr, topic.toUtf8().constData(),
                             int(payload.size()), payload.constData(), qos, retain)
        == MOSQ_ERR_SUCCESS;
}

void MosquittoClient::subscribe(const QString &pattern)
{
    if (m_session && m_session->connected)
        mosquitto_subscribe(m_session->mosq, nullptr, pattern.toUtf8().constData(), 1);
}

void MosquittoClient::unsubscribe(const QString &pattern)
{
    if (m_session && m_session->connected)
        mosquitto_unsubscribe(m_session->mosq, nullptr, pattern.toUtf8().constData());
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
        std::chrono::milliseconds held {0};
        const QString reason = attempt(&held);
        if (stopping)
            break;
        connected = false;
        // Only a connection that stood a while starts the pauses afresh: a broker that
        // accepts and drops at once is not asked again every second.
        if (held >= kSteadyConnection)
            retry = kFirstRetry;
        tell([&](MosquittoClient *client) { emit client->disconnected(reason, retry.count()); });
        if (!sleepUnlessStopped(retry))
            break;
        retry = std::min(retry * 2, kLongestRetry);
    }
    // The last message and the DISCONNECT go out before the thread ends.
    const auto deadline = SteadyClock::now() + kStopDrain;
    while (connected && SteadyClock::now() < deadline)
        if (mosquitto_loop(mosq, 100, 1) != MOSQ_ERR_SUCCESS)
            break;
    connected = false;
}

QString MosquittoClient::Session::attempt(std::chrono::milliseconds *held)
{
    refusal = 0;
    tlsProblem.clear();
    errno = 0;
    int rc = mosquitto_connect_async(mosq, host.constData(), port, kKeepAliveSeconds);
    int savedErrno = errno;
    if (rc == MOSQ_ERR_EAI)
        return QStringLiteral("the name \"%1\" could not be looked up")
            .arg(QString::fromUtf8(host));
    if (rc != MOSQ_ERR_SUCCESS && !tlsProblem.isEmpty())
        return tlsProblem;
    if (rc != MOSQ_ERR_SUCCESS)
        return describe(rc, savedErrno);
    // The library would run its loop on a socket whose connection failed (with TLS it
    // writes into it without end), so the connection is awaited here.
    if (const QString failed = awaitSocket(); !failed.isEmpty()) {
        mosquitto_disconnect(mosq);
        return failed;
    }
    const auto started = SteadyClock::now();
    std::optional<SteadyClock::time_point> connectedAt;
    while (!stopping) {
        const auto before = SteadyClock::now();
        errno = 0;
        rc = mosquitto_loop(mosq, connected ? kLoopTimeoutMs : int(kHandshakePace.count()), 1);
        savedErrno = errno;
        if (connected && !connectedAt)
            connectedAt = SteadyClock::now();
        if (rc != MOSQ_ERR_SUCCESS)
            break;
        if (connected)
            continue;
        if (SteadyClock::now() - started > kAttemptLimit) {
            mosquitto_disconnect(mosq);
            return !tlsProblem.isEmpty() ? tlsProblem
                                         : QStringLiteral("no answer from the broker at %1:%2 "
                                                          "within %3 s")
                                               .arg(QString::fromUtf8(host))
                                               .arg(port)
                                               .arg(kAttemptLimit.count() / 1000);
        }
        const auto spent = SteadyClock::now() - before;
        if (spent < kHandshakePace
            && !sleepUnlessStopped(
                std::chrono::duration_cast<std::chrono::milliseconds>(kHandshakePace - spent)))
            break;
    }
    if (connectedAt)
        *held = std::chrono::duration_cast<std::chrono::milliseconds>(SteadyClock::now()
                                                                      - *connectedAt);
    if (const int refused = refusal; refused != 0)
        return describeRefusal(refused);
    if (!tlsProblem.isEmpty())
        return tlsProblem;
    if (rc == MOSQ_ERR_CONN_LOST || (rc == MOSQ_ERR_ERRNO && savedErrno == 0))
        return connectedAt ? QStringLiteral("the broker closed the connection")
                           : QStringLiteral("the broker closed the connection before accepting "
                                            "it");
    const QString reason = describe(rc, savedErrno);
    return connectedAt ? QStringLiteral("the connection was lost (%1)").arg(reason) : reason;
}

QString MosquittoClient::Session::awaitSocket()
{
    const int fd = mosquitto_socket(mosq);
    if (fd < 0)
        return QStringLiteral("no connection to %1:%2").arg(QString::fromUtf8(host)).arg(port);
    const auto deadline = SteadyClock::now() + kAttemptLimit;
    while (!stopping) {
        pollfd watch {fd, POLLOUT, 0};
        const int ready = ::poll(&watch, 1, 200);
        if (ready < 0 && errno != EINTR)
            return QString::fromLocal8Bit(std::strerror(errno));
        if (ready > 0) {
            int error = 0;
            socklen_t size = sizeof error;
            if (::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &size) != 0)
                error = errno;
            // With TLS the library has already written into the socket, which took the
            // error: a socket that hangs up without a peer failed all the same.
            sockaddr_storage peer {};
            socklen_t peerSize = sizeof peer;
            const bool hungUp = (watch.revents & (POLLERR | POLLHUP)) != 0
                || ::getpeername(fd, reinterpret_cast<sockaddr *>(&peer), &peerSize) != 0;
            if (error == 0 && !hungUp)
                return {};
            if (error == 0)
                return QStringLiteral("%1:%2 did not take the connection (refused or "
                                      "unreachable: is the broker running?)")
                    .arg(QString::fromUtf8(host))
                    .arg(port);
            if (error == ECONNREFUSED)
                return QStringLiteral("%1:%2 refused the connection (is the broker running?)")
                    .arg(QString::fromUtf8(host))
                    .arg(port);
            return QStringLiteral("no connection to %1:%2: %3")
                .arg(QString::fromUtf8(host))
                .arg(port)
                .arg(QString::fromLocal8Bit(std::strerror(error)));
        }
        if (SteadyClock::now() >= deadline)
            return QStringLiteral("no answer from %1:%2 within %3 s")
                .arg(QString::fromUtf8(host))
                .arg(port)
                .arg(kAttemptLimit.count() / 1000);
    }
    return QStringLiteral("stopped");
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
    const bool retained = message->retain;
    static_cast<Session *>(self)->tell(
        [&](MosquittoClient *client) { emit client->messageReceived(topic, payload, retained); });
}

void MosquittoClient::Session::onLog(mosquitto *mosq, void *self, int level, const char *text)
{
    // A failed TLS handshake is logged here while its connection still exists, so the
    // certificate check's own verdict can be read.
    if (level != MOSQ_LOG_ERR || !std::strstr(text, "OpenSSL"))
        return;
    auto *session = static_cast<Session *>(self);
    if (!session->tlsProblem.isEmpty())
        return;
    const auto *ssl = static_cast<const SSL *>(mosquitto_ssl_get(mosq));
    const long verdict = ssl ? SSL_get_verify_result(ssl) : X509_V_OK;
    if (verdict != X509_V_OK) {
        session->tlsProblem = QStringLiteral("the broker's certificate is not trusted: %1")
                                  .arg(QString::fromUtf8(X509_verify_cert_error_string(verdict)));
        return;
    }
    QString said = QString::fromUtf8(text);
    if (const qsizetype colon = said.indexOf(QLatin1String(": ")); colon >= 0)
        said = said.mid(colon + 2);
    session->tlsProblem = QStringLiteral("TLS failed: %1").arg(said);
}
