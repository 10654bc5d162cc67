#include "app/OptionButtonAccessible.h"

#include "program/Modul_Lib.h"

#include <QAbstractButton>
#include <QAccessible>

namespace {

QAccessibleInterface *createInterface(const QString &className, QObject *object)
{
    if (className == QLatin1String("OptionButton") && object && object->isWidgetType())
        return new OptionButtonAccessible(static_cast<QWidget *>(object));
    return nullptr;
}

} // namespace

OptionButtonAccessible::OptionButtonAccessible(QWidget *widget)
    : QAccessibleWidget(widget, QAccessible::RadioButton)
{
}

void OptionButtonAccessible::install()
{
    static const bool installed = [] {
        QAccessible::installFactory(createInterface);
        return true;
    }();
    Q_UNUSED(installed);
}

QAbstractButton *OptionButtonAccessible::button() const
{
    return static_cast<QAbstractButton *>(widget());
}

QAccessible::Role OptionButtonAccessible::role() const
{
    return QAccessible::RadioButton;
}

QAccessible::State OptionButtonAccessible::state() const
{
    QAccessible::State state = QAccessibleWidget::state();
    state.checkable = true;
    state.checked = button()->isChecked();
    return state;
}

QString OptionButtonAccessible::text(QAccessible::Text t) const
{
    if (t == QAccessible::Name) {
        const QString name = widget()->accessibleName();
        return name.isEmpty() ? Modul_Lib::CaptionWithoutMarkers(button()->text()) : name;
    }
    return QAccessibleWidget::text(t);
}

QStringList OptionButtonAccessible::actionNames() const
{
    QStringList names;
    if (widget()->isEnabled())
        names << pressAction() << toggleAction();
    return names + QAccessibleWidget::actionNames();
}

void OptionButtonAccessible::doAction(const QString &actionName)
{
    if (!widget()->isEnabled())
        return;
    // A click, as with the mouse: an unselected button becomes the selected one and the
    // array's click handler runs; a selected button stays selected.
    if (actionName == pressAction() || actionName == toggleAction())
        button()->click();
    else
        QAccessibleWidget::doAction(actionName);
}
