#include "web/WebListener.h"

#include <QSslSocket>
#include <QTcpSocket>

namespace {
// A header line is taken apart at the first colon; names are compared in lower case.
std::optional<WebListener::Head> parseHead(const QByteArray &text)
{
    const QList<QByteArray> lines = text.split('\n');
    const QList<QByteArray> request = lines.value(0).trimmed().split(' ');
    if (request.size() != 3 || !request[2].startsWith("HTTP/1."))
        return std::nullopt;
    WebListener::Head head;
    head.method = request[0];
    head.target = request[1];
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QByteArray line = lines[i].trimmed();
        if (line.isEmpty())
            continue;
        const qsizetype colon = line.indexOf(':');
        if (colon <= 0)
            return std::nullopt;
        const QByteArray name = line.left(colon).trimmed().toLower();
        const QByteArray value = line.mid(colon + 1).trimmed();
        // A second Content-Length or Host would let two readers see two requests.
        if ((name == "content-length" || name == "host") && head.fields.contains(name))
            return std::nullopt;
        head.fields.insert(name, value);
    }
    if (head.fields.contains("content-length")) {
        bool ok = false;
        head.contentLength = head.fields.value("content-length").toLongLong(&ok);
        if (!ok || head.contentLength < 0)
            return std::nullopt;
    }
    return head;
}
} // namespace

WebListener::WebListener(Screen screen, Refused refused, std::optional<QSslConfiguration> tls,
                         QObject *parent)
    : QTcpServer(parent)
    , m_screen(std::move(screen))
    , m_refused(std::move(refused))
    , m_tls(std::move(tls))
{
    // Room for every connection allowed arriving at once.
    setListenBacklogSize(2 * kMostConnections);
}

WebListener::~WebListener() = default;

const QList<std::pair<QByteArray, QByteArray>> &WebListener::securityFields()
{
    static const QList<std::pair<QByteArray, QByteArray>> fields {
        {"Content-Security-Policy",
         "default-src 'none'; script-src 'self'; style-src 'self'; img-src 'self'; "
         "connect-src 'self'; base-uri 'none'; form-action 'none'; frame-ancestors 'none'"},
        {"X-Content-Type-Options", "nosniff"},
        {"Referrer-Policy", "no-referrer"},
        {"X-Frame-Options", "DENY"},
        {"Cache-Control", "no-store"},
    };
    return fields;
}

void WebListener::incomingConnection(qintptr descriptor)
{
    QTcpSocket *socket = nullptr;
    if (m_tls) {
        auto *secure = new QSslSocket(this);
        if (!secure->setSocketDescriptor(descriptor)) {
            delete secure;
            return;
        }
        secure->setSslConfiguration(*m_tls);
        secure->startServerEncryption();
        socket = secure;
    } else {
        socket = new QTcpSocket(this);
        if (!socket->setSocketDescriptor(descriptor)) {
            delete socket;
            return;
        }
    }
    if (m_streams.size() >= kMostConnections) {
        // Answered once its request is in, so the answer is not lost to the request
        // arriving at a closed socket.
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] {
            m_refused(socket->peerAddress(),
                      QStringLiteral("more than %1 connections (503)").arg(kMostConnections));
            refuse(socket, {503, "Service Unavailable", {{"Retry-After", "10"}}});
        });
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        return;
    }
    m_streams.insert(socket, {});
    // Connected before the HTTP server connects, so the head is screened before it reads.
    connect(socket, &QTcpSocket::readyRead, this, [this, socket] { screen(socket); });
    // Counted until it is closed, not until it is deleted.
    connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
        m_streams.remove(socket);
        socket->deleteLater();
    });
    connect(socket, &QObject::destroyed, this, [this, socket] { m_streams.remove(socket); });
    addPendingConnection(socket);
}

void WebListener::screen(QTcpSocket *socket)
{
    auto stream = m_streams.find(socket);
    if (stream == m_streams.end())
        return;
    // The HTTP server reads all that arrived after this, so what is there now is new.
    QByteArray fresh = socket->peek(socket->bytesAvailable());
    while (!fresh.isEmpty()) {
        if (stream->bodyLeft > 0) {
            const qint64 taken = std::min<qint64>(stream->bodyLeft, fresh.size());
            stream->bodyLeft -= taken;
            fresh.remove(0, taken);
            continue;
        }
        stream->head += fresh;
        fresh.clear();
        const qsizetype end = stream->head.indexOf("\r\n\r\n");
        if (end < 0) {
            if (stream->head.size() > kLongestRequest) {
                m_refused(socket->peerAddress(), QStringLiteral("a request head over 8 KB (413)"));
                return refuse(socket, {413, "Content Too Large", {}});
            }
            return;
        }
        std::optional<Head> head = parseHead(stream->head.left(end));
        fresh = stream->head.mid(end + 4);
        stream->head.clear();
        if (!head) {
            m_refused(socket->peerAddress(), QStringLiteral("an unreadable request (400)"));
            return refuse(socket, {400, "Bad Request", {}});
        }
        head->peer = socket->peerAddress();
        if (head->fields.contains("transfer-encoding")) {
            // A body of unknown length cannot be held to the limit before it is read.
            m_refused(head->peer, QStringLiteral("a body without a length (411)"));
            return refuse(socket, {411, "Length Required", {}});
        }
        if (end + 4 + head->contentLength > kLongestRequest) {
            m_refused(head->peer, QStringLiteral("a request over 8 KB (413)"));
            return refuse(socket, {413, "Content Too Large", {}});
        }
        const Verdict verdict = m_screen(*head);
        if (verdict.status != 0)
            return refuse(socket, verdict);
        if (head->fields.value("upgrade").toLower() == "websocket") {
            // The WebSocket takes the connection over; its frames are not HTTP.
            disconnect(socket, &QTcpSocket::readyRead, this, nullptr);
            m_streams.remove(socket);
            return;
        }
        stream->bodyLeft = head->contentLength;
    }
}

void WebListener::refuse(QTcpSocket *socket, const Verdict &verdict)
{
    m_streams.remove(socket);
    // Nobody reads from this connection any more, the HTTP server included.
    disconnect(socket, &QTcpSocket::readyRead, nullptr, nullptr);
    socket->readAll();
    QByteArray answer = "HTTP/1.1 " + QByteArray::number(verdict.status) + ' ' + verdict.reason
        + "\r\nContent-Length: 0\r\nConnection: close\r\n";
    for (const auto &[name, value] : securityFields())
        answer += name + ": " + value + "\r\n";
    for (const auto &[name, value] : verdict.fields)
        answer += name + ": " + value + "\r\n";
    socket->write(answer + "\r\n");
    socket->disconnectFromHost();
}
