#include "addins/AddInBusProperties.h"

#include "addins/AddInBusConnection.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QMetaProperty>

namespace {
const QString kErrorInvalidArgs = QStringLiteral("org.freedesktop.DBus.Error.InvalidArgs");
const QString kErrorUnknownProperty = QStringLiteral("org.freedesktop.DBus.Error.UnknownProperty");
const QString kErrorReadOnly = QStringLiteral("org.freedesktop.DBus.Error.PropertyReadOnly");
} // namespace

AddInBusProperties::AddInBusProperties(AddInBusConnection *connection, QObject *adaptor)
    : QDBusAbstractAdaptor(connection)
    , m_connection(connection)
    , m_adaptor(adaptor)
{
}

bool AddInBusProperties::admitted(const QString &interface)
{
    if (!m_connection->admit())
        return false;
    const char *own = m_adaptor->metaObject()
                          ->classInfo(m_adaptor->metaObject()->indexOfClassInfo("D-Bus Interface"))
                          .value();
    if (interface.isEmpty() || interface == QLatin1String(own))
        return true;
    m_connection->refuse(kErrorInvalidArgs, QStringLiteral("No interface %1").arg(interface));
    return false;
}

QDBusVariant AddInBusProperties::Get(const QString &interface, const QString &name)
{
    if (!admitted(interface))
        return {};
    const QMetaObject *meta = m_adaptor->metaObject();
    if (meta->indexOfProperty(name.toLatin1().constData()) < meta->propertyOffset()) {
        m_connection->refuse(kErrorUnknownProperty, QStringLiteral("No property %1").arg(name));
        return {};
    }
    return QDBusVariant(m_adaptor->property(name.toLatin1().constData()));
}

QVariantMap AddInBusProperties::GetAll(const QString &interface)
{
    QVariantMap all;
    if (!admitted(interface))
        return all;
    const QMetaObject *meta = m_adaptor->metaObject();
    for (int i = meta->propertyOffset(); i < meta->propertyCount(); ++i)
        all.insert(QLatin1String(meta->property(i).name()), meta->property(i).read(m_adaptor));
    return all;
}

void AddInBusProperties::Set(const QString &interface, const QString &name,
                             const QDBusVariant &value)
{
    if (!admitted(interface))
        return;
    const QMetaObject *meta = m_adaptor->metaObject();
    const int index = meta->indexOfProperty(name.toLatin1().constData());
    if (index < meta->propertyOffset()) {
        m_connection->refuse(kErrorUnknownProperty, QStringLiteral("%1 is no property").arg(name));
        return;
    }
    const QMetaProperty property = meta->property(index);
    if (!property.isWritable()) {
        m_connection->refuse(kErrorReadOnly, QStringLiteral("%1 is read-only").arg(name));
        return;
    }
    const QVariant v = value.variant();
    if (v.metaType() != property.metaType()) {
        m_connection->refuse(kErrorInvalidArgs,
                             QStringLiteral("%1 takes the type %2").arg(name, property.typeName()));
        return;
    }
    if (v.metaType() == QMetaType::fromType<QString>()
        && v.toString().size() > AddInBusConnection::kMaxText) {
        m_connection->refuse(kErrorInvalidArgs, QStringLiteral("Text too long"));
        return;
    }
    property.write(m_adaptor, v);
}
