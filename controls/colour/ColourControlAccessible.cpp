#include "ColourControlAccessible.h"

#include <QAccessible>
#include <QWidget>

namespace {

QAccessibleInterface *createInterface(const QString &className, QObject *object)
{
    if (!object || !object->isWidgetType())
        return nullptr;
    auto *widget = static_cast<QWidget *>(object);
    if (className == QLatin1String("ctlLabel"))
        return new ColourControlAccessible(widget, QAccessible::StaticText);
    if (className == QLatin1String("ctlFrame"))
        return new ColourControlAccessible(widget, QAccessible::Grouping);
    return nullptr;
}

} // namespace

ColourControlAccessible::ColourControlAccessible(QWidget *widget, QAccessible::Role role)
    : QAccessibleWidget(widget, role)
{
}

void ColourControlAccessible::install()
{
    static const bool installed = [] {
        QAccessible::installFactory(createInterface);
        return true;
    }();
    Q_UNUSED(installed);
}

int ColourControlAccessible::childCount() const
{
    return int(hostedChildren().size());
}

QAccessibleInterface *ColourControlAccessible::child(int index) const
{
    const QList<QWidget *> children = hostedChildren();
    if (index < 0 || index >= children.size())
        return nullptr;
    return QAccessible::queryAccessibleInterface(children.at(index));
}

int ColourControlAccessible::indexOfChild(const QAccessibleInterface *child) const
{
    if (!child)
        return -1;
    return int(hostedChildren().indexOf(qobject_cast<QWidget *>(child->object())));
}

QList<QWidget *> ColourControlAccessible::hostedChildren() const
{
    QList<QWidget *> result;
    for (QObject *object : widget()->children()) {
        auto *child = qobject_cast<QWidget *>(object);
        if (!child || child->isWindow() || child->isHidden()
            || child->objectName() == QLatin1String("Picture1"))
            continue;
        result.append(child);
    }
    return result;
}
