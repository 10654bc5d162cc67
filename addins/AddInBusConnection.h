#pragma once

#include <QDBusMessage>
#include <QObject>
#include <QString>
#include <memory>

class AddInBusService;
class clsAddIn;

// One client's connection object on the bus: a clsAddIn of its own, its members as
// the bus interface org.orvane.Orvane.AddIn and its events as signals addressed to
// the client that owns it.
class AddInBusConnection : public QObject
{
    Q_OBJECT
public:
    // Longest text a client may store or pass in a message.
    static constexpr qsizetype kMaxText = 4096;
    static constexpr qsizetype kMaxMessageText = 65536;

    AddInBusConnection(AddInBusService *service, quint64 number, const QString &path,
                       const QString &owner);
    // Unregisters the add-in; the program hears nothing more of it.
    ~AddInBusConnection() override;

    QString path() const { return m_path; }
    QString owner() const { return m_owner; }
    quint64 number() const { return m_number; }
    clsAddIn *addIn() const { return m_addIn.get(); }

    // Answers one call of the add-in interface or of its properties.
    QDBusMessage handle(const QDBusMessage &message);
    // True while a call of this connection runs (it may let events run).
    bool busy() const { return m_depth > 0; }

    // The owner left while a call ran: the add-in is unregistered now and the
    // connection released when the call returns.
    void unregister();
    void markReleased() { m_released = true; }
    bool released() const { return m_released; }

private:
    QDBusMessage call(const QDBusMessage &message);
    QDBusMessage properties(const QDBusMessage &message);
    QVariant property(const QString &name, bool &known) const;
    void connectEvents();

    AddInBusService *m_service;
    quint64 m_number;
    QString m_path;
    QString m_owner;
    std::unique_ptr<clsAddIn> m_addIn;
    int m_depth = 0;
    bool m_released = false;
};
