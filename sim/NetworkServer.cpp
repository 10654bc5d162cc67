#include "sim/NetworkServer.h"

#include "sim/ReceiverModel.h"
#include "sim/TrafficText.h"

#include <QTcpSocket>
#include <cstdio>

NetworkServer::NetworkServer(ReceiverModel *model, QObject *parent)
    : QObject(parent)
    , m_model(model)
{
    connect(&m_server, &QTcpServer::newConnection, this, &NetworkServer::acceptClient);
}

NetworkServer::~NetworkServer()
{
    if (m_client)
        m_client->abort();
}

bool NetworkServer::listen(const QHostAddress &address, quint16 port, QString *error)
{
    if (m_server.listen(address, port))
        return true;
    *error = QStringLiteral("cannot listen on port %1: %2").arg(port).arg(m_server.errorString());
    return false;
}

QString NetworkServer::address() const
{
    const QHostAddress host = m_server.serverAddress();
    const QString shown = host.protocol() == QAbstractSocket::IPv6Protocol
        ? QStringLiteral("[%1]").arg(host.toString())
        : host.toString();
    return QStringLiteral("tcp://%1:%2").arg(shown).arg(m_server.serverPort());
}

void NetworkServer::acceptClient()
{
    while (QTcpSocket *socket = m_server.nextPendingConnection()) {
        if (m_client) {
            m_client->abort();
            m_client->deleteLater();
        }
        m_client = socket;
        socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
        connect(socket, &QTcpSocket::readyRead, this, &NetworkServer::readClient);
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        if (m_logging) {
            std::fprintf(stderr, "-- client %s:%u\n", qPrintable(socket->peerAddress().toString()),
                         unsigned(socket->peerPort()));
            std::fflush(stderr);
        }
    }
}

void NetworkServer::readClient()
{
    auto *socket = qobject_cast<QTcpSocket *>(sender());
    if (!socket || socket != m_client)
        return;
    const QByteArray bytes = socket->readAll();
    log(">>", bytes);
    send(m_model->feed(bytes));
}

void NetworkServer::send(const QByteArray &bytes)
{
    if (bytes.isEmpty() || !m_client || m_client->state() != QAbstractSocket::ConnectedState)
        return;
    log("<<", bytes);
    m_client->write(bytes);
}

void NetworkServer::dropClient()
{
    if (!m_client)
        return;
    if (m_logging) {
        std::fprintf(stderr, "-- dropped the client\n");
        std::fflush(stderr);
    }
    m_client->abort();
    m_client->deleteLater();
    m_client = nullptr;
}

void NetworkServer::log(const char *direction, const QByteArray &bytes) const
{
    if (!m_logging)
        return;
    std::fprintf(stderr, "%s %s\n", direction, trafficText(bytes).constData());
    std::fflush(stderr);
}
