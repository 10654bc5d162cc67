#pragma once

#include <QByteArray>
#include <QHostAddress>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTcpServer>

class QTcpSocket;
class ReceiverModel;

// Serves a receiver model on a TCP port, as a serial-to-network bridge in raw mode
// does: the bytes of one connection are the serial line. A new connection takes the
// line over from an older one, which is closed.
class NetworkServer : public QObject
{
    Q_OBJECT
public:
    explicit NetworkServer(ReceiverModel *model, QObject *parent = nullptr);
    ~NetworkServer() override;

    // Listens on `address`:`port` (port 0: any free port). On failure returns false
    // and says why.
    bool listen(const QHostAddress &address, quint16 port, QString *error);
    // "tcp://host:port" of the listening socket.
    QString address() const;

    // Sends bytes to the connected client (answers, injected events); dropped when
    // nobody is connected, as on an unconnected line.
    void send(const QByteArray &bytes);
    // Closes the client's connection, as a bridge that goes away.
    void dropClient();
    void setLogging(bool on) { m_logging = on; }

private:
    void acceptClient();
    void readClient();
    void log(const char *direction, const QByteArray &bytes) const;

    ReceiverModel *m_model;
    QTcpServer m_server;
    QPointer<QTcpSocket> m_client;
    bool m_logging = false;
};
