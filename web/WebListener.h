#pragma once

#include <QByteArray>
#include <QHash>
#include <QHostAddress>
#include <QSslConfiguration>
#include <QTcpServer>
#include <functional>
#include <optional>

class QTcpSocket;

// The web remote's listening socket. It reads the head of every request on a connection
// before the HTTP server does, so that a request too long for the remote is refused
// before its body is held in memory, and a WebSocket upgrade is refused before the
// handshake is answered. With a TLS configuration the connections are encrypted.
class WebListener : public QTcpServer
{
    Q_OBJECT
public:
    // A request line and headers, also what the body is to be.
    struct Head
    {
        QByteArray method;
        QByteArray target; // as sent, with the query
        QHash<QByteArray, QByteArray> fields; // names in lower case
        QHostAddress peer;
        qint64 contentLength = 0;
    };
    // What the screen says of a request: status 0 lets it through.
    struct Verdict
    {
        int status = 0;
        QByteArray reason; // the status line's text
        QList<std::pair<QByteArray, QByteArray>> fields; // extra response headers
    };
    using Screen = std::function<Verdict(const Head &)>;
    // Told of a request the listener refused itself (too long, unreadable).
    using Refused = std::function<void(const QHostAddress &peer, const QString &why)>;

    static constexpr qint64 kLongestRequest = 8192;
    // Open connections beyond the WebSockets; a browser keeps a few.
    static constexpr int kMostConnections = 64;

    WebListener(Screen screen, Refused refused, std::optional<QSslConfiguration> tls,
                QObject *parent = nullptr);
    ~WebListener() override;

    // The headers every answer carries, also a refusal.
    static const QList<std::pair<QByteArray, QByteArray>> &securityFields();

protected:
    void incomingConnection(qintptr descriptor) override;

private:
    struct Stream
    {
        QByteArray head; // the part of the current head read so far
        qint64 bodyLeft = 0;
    };

    void screen(QTcpSocket *socket);
    // Answers with `status` and closes, so the HTTP server never sees the request.
    void refuse(QTcpSocket *socket, const Verdict &verdict);

    Screen m_screen;
    Refused m_refused;
    std::optional<QSslConfiguration> m_tls;
    QHash<QTcpSocket *, Stream> m_streams;
};
