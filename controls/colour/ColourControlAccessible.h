#pragma once

#include <QAccessibleWidget>
#include <QList>

// Accessibility of the colour controls: a label (ctlLabel) or a grouping
// (ctlFrame) named by its caption. The inner surface and text label are parts of
// the drawing, not of the tree; controls the host placed inside a frame are.
class ColourControlAccessible : public QAccessibleWidget
{
public:
    ColourControlAccessible(QWidget *widget, QAccessible::Role role);

    // Registers the factory once per process.
    static void install();

    int childCount() const override;
    QAccessibleInterface *child(int index) const override;
    int indexOfChild(const QAccessibleInterface *child) const override;

private:
    QList<QWidget *> hostedChildren() const;
};
