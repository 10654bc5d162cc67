#pragma once

#include <QDBusAbstractAdaptor>
#include <QDBusVariant>
#include <QVariantMap>

class AddInBusConnection;

// The properties of a connection object (org.freedesktop.DBus.Properties) behind the
// same gate as its methods: the bus library's own properties handler would let any
// client read and write them. Names, types and access come from the generated
// adaptor, so the XML stays their only written form.
class AddInBusProperties : public QDBusAbstractAdaptor
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.DBus.Properties")
    // The bus library describes this standard interface itself.
    Q_CLASSINFO("D-Bus Introspection", " ")
public:
    // `adaptor` is the generated adaptor of the same connection.
    AddInBusProperties(AddInBusConnection *connection, QObject *adaptor);

public slots:
    QDBusVariant Get(const QString &interface, const QString &name);
    QVariantMap GetAll(const QString &interface);
    void Set(const QString &interface, const QString &name, const QDBusVariant &value);

private:
    bool admitted(const QString &interface);

    AddInBusConnection *m_connection;
    QObject *m_adaptor;
};
