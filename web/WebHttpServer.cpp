#include "web/WebHttpServer.h"

#include <QHttpServerRequest>
#include <QHttpServerResponder>
#include <QHttpServerResponse>

WebHttpServer::WebHttpServer(Handler handler, QObject *parent)
    : QAbstractHttpServer(parent)
    , m_handler(std::move(handler))
{
}

WebHttpServer::~WebHttpServer() = default;

bool WebHttpServer::handleRequest(const QHttpServerRequest &request, QTcpSocket *socket)
{
    // An upgrade the listener let through is taken without an answer: the server then
    // hands the connection to its WebSocket server, which answers the handshake.
    if (request.value("upgrade").compare("websocket", Qt::CaseInsensitive) == 0
        && request.url().path() == u"/ws")
        return true;
    m_handler(request).write(makeResponder(request, socket));
    return true;
}

void WebHttpServer::missingHandler(const QHttpServerRequest &request, QTcpSocket *socket)
{
    makeResponder(request, socket).write(QHttpServerResponder::StatusCode::NotFound);
}
