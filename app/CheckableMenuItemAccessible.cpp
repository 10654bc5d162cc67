#include "app/CheckableMenuItemAccessible.h"

#include "program/Modul_Lib.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QMenuBar>
#include <QWidget>
#include <QWindow>

namespace {

QAccessibleInterface *createInterface(const QString &className, QObject *object)
{
    if (className != QLatin1String("QAction"))
        return nullptr;
    auto *action = qobject_cast<QAction *>(object);
    if (!action || !action->isCheckable() || action->isSeparator() || action->menu())
        return nullptr;
    return new CheckableMenuItemAccessible(action);
}

} // namespace

CheckableMenuItemAccessible::CheckableMenuItemAccessible(QAction *action)
    : m_action(action)
{
}

void CheckableMenuItemAccessible::install()
{
    static const bool installed = [] {
        QAccessible::installFactory(createInterface);
        return true;
    }();
    Q_UNUSED(installed);
}

QWidget *CheckableMenuItemAccessible::owner() const
{
    if (!m_action)
        return nullptr;
    for (QObject *object : m_action->associatedObjects())
        if (qobject_cast<QMenu *>(object) || qobject_cast<QMenuBar *>(object))
            return static_cast<QWidget *>(object);
    return nullptr;
}

bool CheckableMenuItemAccessible::isValid() const
{
    return m_action && owner();
}

QObject *CheckableMenuItemAccessible::object() const
{
    return m_action;
}

QWindow *CheckableMenuItemAccessible::window() const
{
    QWidget *menu = owner();
    return menu ? menu->window()->windowHandle() : nullptr;
}

QAccessibleInterface *CheckableMenuItemAccessible::parent() const
{
    return QAccessible::queryAccessibleInterface(owner());
}

QAccessibleInterface *CheckableMenuItemAccessible::child(int) const
{
    return nullptr;
}

QAccessibleInterface *CheckableMenuItemAccessible::childAt(int, int) const
{
    return nullptr;
}

int CheckableMenuItemAccessible::childCount() const
{
    return 0;
}

int CheckableMenuItemAccessible::indexOfChild(const QAccessibleInterface *) const
{
    return -1;
}

QString CheckableMenuItemAccessible::text(QAccessible::Text t) const
{
    if (!m_action)
        return {};
    switch (t) {
    case QAccessible::Name:
        return Modul_Lib::CaptionWithoutMarkers(m_action->text());
    case QAccessible::Accelerator:
        return m_action->shortcut().toString(QKeySequence::NativeText);
    case QAccessible::Description:
        return m_action->toolTip() == Modul_Lib::CaptionWithoutMarkers(m_action->text()) ? QString()
                                                                       : m_action->toolTip();
    default:
        return {};
    }
}

void CheckableMenuItemAccessible::setText(QAccessible::Text, const QString &) { }

QRect CheckableMenuItemAccessible::rect() const
{
    QWidget *widget = owner();
    if (!widget)
        return {};
    QRect area;
    if (auto *menu = qobject_cast<QMenu *>(widget))
        area = menu->actionGeometry(m_action);
    else if (auto *bar = qobject_cast<QMenuBar *>(widget))
        area = bar->actionGeometry(m_action);
    return area.translated(widget->mapToGlobal(QPoint(0, 0)));
}

QAccessible::Role CheckableMenuItemAccessible::role() const
{
    const QActionGroup *group = m_action ? m_action->actionGroup() : nullptr;
    return group && group->isExclusive() ? QAccessible::RadioButton : QAccessible::CheckBox;
}

QAccessible::State CheckableMenuItemAccessible::state() const
{
    QAccessible::State state;
    QWidget *widget = owner();
    if (!m_action || !widget) {
        state.invalid = true;
        return state;
    }
    state.invisible = !widget->isVisible() || !m_action->isVisible();
    state.offscreen = state.invisible;
    state.disabled = !m_action->isEnabled();
    state.focusable = true;
    state.checkable = true;
    state.checked = m_action->isChecked();
    if (auto *menu = qobject_cast<QMenu *>(widget))
        state.focused = state.hotTracked = menu->activeAction() == m_action;
    return state;
}

void *CheckableMenuItemAccessible::interface_cast(QAccessible::InterfaceType type)
{
    if (type == QAccessible::ActionInterface)
        return static_cast<QAccessibleActionInterface *>(this);
    return nullptr;
}

QStringList CheckableMenuItemAccessible::actionNames() const
{
    if (!m_action || !m_action->isEnabled())
        return {};
    return {pressAction(), toggleAction()};
}

void CheckableMenuItemAccessible::doAction(const QString &actionName)
{
    if (!m_action || !m_action->isEnabled())
        return;
    if (actionName == pressAction() || actionName == toggleAction())
        m_action->trigger();
}

QStringList CheckableMenuItemAccessible::keyBindingsForAction(const QString &actionName) const
{
    if (!m_action || actionName != pressAction() || m_action->shortcut().isEmpty())
        return {};
    return {m_action->shortcut().toString(QKeySequence::NativeText)};
}
