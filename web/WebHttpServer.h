#pragma once

#include <QAbstractHttpServer>
#include <functional>

class QHttpServerRequest;
class QHttpServerResponse;

// Qt's HTTP server with one handler for every request: the web remote answers each path
// itself, so no request reaches a file or a default answer.
class WebHttpServer : public QAbstractHttpServer
{
    Q_OBJECT
public:
    using Handler = std::function<QHttpServerResponse(const QHttpServerRequest &)>;

    explicit WebHttpServer(Handler handler, QObject *parent = nullptr);
    ~WebHttpServer() override;

protected:
    bool handleRequest(const QHttpServerRequest &request, QTcpSocket *socket) override;
    void missingHandler(const QHttpServerRequest &request, QTcpSocket *socket) override;

private:
    Handler m_handler;
};
