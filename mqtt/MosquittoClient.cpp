#include "mqtt/MosquittoClient.h"

#include <QFileInfo>
#include <algorithm>
#include <cerrno>
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

MosquittoClient::MosquittoClient(QObject *parent)
    : QObject(parent)
{
    initLibrary();
}

MosquittoClient::~MosquittoClient()
{
    stop();
}

bool MosquittoClient::start(const Options &options, QString *error)
{
    const auto fail = [error](const QString &reason) {
        if (error)
            *error = reason;
        return false;
    };
    if (m_mosq)
        return fail(QStringLiteral("already started"));
    m_mosq = mosquitto_new(options.clientId.toUtf8().constData(), true, this);
    if (!m_mosq)
        return fail(QStringLiteral("the MQTT client could not be created"));
    mosquitto_threaded_set(m_mosq, true);
    mosquitto_int_option(m_mosq, MOSQ_OPT_PROTOCOL_VERSION, MQTT_PROTOCOL_V311);
    mosquitto_connect_callback_set(m_mosq, &MosquittoClient::onConnect);
    mosquitto_disconnect_callback_set(m_mosq, &MosquittoClient::onDisconnect);
    mosquitto_message_callback_set(m_mosq, &MosquittoClient::onMessage);

    if (!options.user.isEmpty()) {
        const QByteArray user = options.user.toUtf8();
        const QByteArray password = options.password.toUtf8();
        mosquitto_username_pw_set(m_mosq, user.constData(),
                                  options.password.isEmpty() ? nullptr : password.constData());
    }
    if (!options.willTopic.isEmpty())
        mosquitto_will_set(m_mosq, options.willTopic.toUtf8().constData(),
                           int(options.willPayload.size()), options.willPayload.constData(), 1,
                           true);
    if (options.tls) {
        int rc = MOSQ_ERR_SUCCESS;
        if (!options.caFile.isEmpty()) {
            if (!QFileInfo(options.caFile).isReadable())
                return fail(
                    QStringLiteral("the CA file \"%1\" cannot be read").arg(options.caFile));
            rc = mosquitto_tls_set(m_mosq, QFile::encodeName(options.caFile).constData(), nullptr,
                                   nullptr, nullptr, nullptr);
        } else {
            mosquitto_int_option(m_mosq, MOSQ_OPT_TLS_USE_OS_CERTS, 1);
            rc = mosquitto_tls_set(m_mosq, nullptr, kSystemCaPath, nullptr, nullptr, nullptr);
        }
        if (rc != MOSQ_ERR_SUCCESS)
            return fail(QStringLiteral("TLS cannot be set up: %1")
                            .arg(QString::fromUtf8(mosquitto_strerror(rc))));
    }
    m_host = options.host.toUtf8();
    m_port = options.port;
    m_stopping = false;
    m_thread = std::thread([this] { run(); });
    return true;
}

bool MosquittoClient::publish(const QString &topic, const QByteArray &payload, bool retain)
{
    if (!m_mosq || !m_connected)
        return false;
    return mosquitto_publish(m_mosq, nullptr, topic.toUtf8().constData(), int(payload.size()),
                             payload.constData(), 1, retain)
        == MOSQ_ERR_SUCCESS;
}

void MosquittoClient::subscribe(const QString &pattern)
{
    if (m_mosq && m_connected)
        mosquitto_subscribe(m_mosq, nullptr, pattern.toUtf8().constData(), 1);
}

void MosquittoClient::stop(const QString &lastTopic, const QByteArray &lastPayload)
{
    if (!m_mosq)
        return;
    if (m_connected && !lastTopic.isEmpty())
        publish(lastTopic, lastPayload, true);
    m_stopping = true;
    mosquitto_disconnect(m_mosq);
    m_wake.notify_all();
    if (m_thread.joinable())
        m_thread.join();
    mosquitto_destroy(m_mosq);
    m_mosq = nullptr;
    m_connected = false;
}

void MosquittoClient::run()
{
    std::chrono::milliseconds retry = kFirstRetry;
    while (!m_stopping) {
        ++m_attempts;
        m_refusal = 0;
        errno = 0;
        int rc = mosquitto_connect_async(m_mosq, m_host.constData(), m_port, kKeepAliveSeconds);
        int savedErrno = errno;
        bool wasConnected = false;
        if (rc == MOSQ_ERR_SUCCESS) {
            while (!m_stopping) {
                errno = 0;
                rc = mosquitto_loop(m_mosq, kLoopTimeoutMs, 1);
                savedErrno = errno;
                if (m_connected)
                    wasConnected = true;
                if (rc != MOSQ_ERR_SUCCESS)
                    break;
            }
        }
        if (m_stopping)
            break;
        m_connected = false;
        // A connection that stood starts the pauses afresh.
        if (wasConnected)
            retry = kFirstRetry;
        const int refusal = m_refusal;
        const QString reason = refusal != 0 ? QString::fromUtf8(mosquitto_connack_string(refusal))
                                            : describe(rc, savedErrno);
        emit disconnected(reason, retry.count());
        if (!sleepUnlessStopped(retry))
            break;
        retry = std::min(retry * 2, kLongestRetry);
    }
    // The last message and the DISCONNECT go out before the thread ends.
    const auto deadline = std::chrono::steady_clock::now() + kStopDrain;
    while (m_connected && std::chrono::steady_clock::now() < deadline)
        if (mosquitto_loop(m_mosq, 100, 1) != MOSQ_ERR_SUCCESS)
            break;
    m_connected = false;
}

bool MosquittoClient::sleepUnlessStopped(std::chrono::milliseconds duration)
{
    std::unique_lock lock(m_mutex);
    return !m_wake.wait_for(lock, duration, [this] { return m_stopping.load(); });
}

void MosquittoClient::onConnect(mosquitto *, void *self, int rc)
{
    auto *client = static_cast<MosquittoClient *>(self);
    if (rc != 0) {
        client->m_refusal = rc;
        return;
    }
    client->m_connected = true;
    emit client->connected();
}

void MosquittoClient::onDisconnect(mosquitto *, void *self, int)
{
    static_cast<MosquittoClient *>(self)->m_connected = false;
}

void MosquittoClient::onMessage(mosquitto *, void *self, const mosquitto_message *message)
{
    auto *client = static_cast<MosquittoClient *>(self);
    emit client->messageReceived(
        QString::fromUtf8(message->topic),
        QByteArray(static_cast<const char *>(message->payload), message->payloadlen));
}
