#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

class QSocketNotifier;
class ReceiverModel;

// Serves a receiver model on a pseudo-terminal: the program under test opens the
// slave device like a serial port, and every byte it writes goes to the model.
class PtyServer : public QObject
{
    Q_OBJECT
public:
    explicit PtyServer(ReceiverModel *model, QObject *parent = nullptr);
    ~PtyServer() override;

    // Creates the pseudo-terminal. On failure returns false and says why.
    bool open(QString *error);
    QString devicePath() const { return m_devicePath; }

    // Sends bytes to whoever has the device open (answers, injected events).
    void send(const QByteArray &bytes);
    // Prints the traffic in both directions on stderr.
    void setLogging(bool on) { m_logging = on; }

private:
    void readClient();
    void writePending();
    void log(const char *direction, const QByteArray &bytes) const;

    ReceiverModel *m_model;
    int m_master = -1;
    // Held open so the master never sees a hang-up while the client closes and
    // reopens the device, and so the line settings stay raw in between.
    int m_slave = -1;
    QString m_devicePath;
    QSocketNotifier *m_readNotifier = nullptr;
    QSocketNotifier *m_writeNotifier = nullptr;
    QByteArray m_unsent;
    bool m_logging = false;
};
