#pragma once

#include <QAccessibleActionInterface>
#include <QAccessibleInterface>
#include <QPointer>

class QAction;
class QWidget;

// Accessibility of a checkable menu item. Qt announces every menu item as a plain menu
// item and does not tell the accessibility bus that it can be checked, so a screen reader
// cannot tell an option of the menus from a command. Checkable items are announced as check
// boxes (radio buttons in an exclusive action group) with their check mark; pressing or
// toggling one triggers it, as a click does, so its menu handler runs.
class CheckableMenuItemAccessible : public QAccessibleInterface, public QAccessibleActionInterface
{
public:
    explicit CheckableMenuItemAccessible(QAction *action);

    // Registers the factory once per process.
    static void install();

    bool isValid() const override;
    QObject *object() const override;
    QWindow *window() const override;
    QAccessibleInterface *parent() const override;
    QAccessibleInterface *child(int index) const override;
    QAccessibleInterface *childAt(int x, int y) const override;
    int childCount() const override;
    int indexOfChild(const QAccessibleInterface *child) const override;
    QString text(QAccessible::Text t) const override;
    void setText(QAccessible::Text t, const QString &text) override;
    QRect rect() const override;
    QAccessible::Role role() const override;
    QAccessible::State state() const override;
    void *interface_cast(QAccessible::InterfaceType type) override;

    QStringList actionNames() const override;
    void doAction(const QString &actionName) override;
    QStringList keyBindingsForAction(const QString &actionName) const override;

private:
    // The menu (or menu bar) that shows the item.
    QWidget *owner() const;

    QPointer<QAction> m_action;
};
