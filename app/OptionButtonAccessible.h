#pragma once

#include <QAccessibleWidget>

class QAbstractButton;

// Accessibility of an option button. Qt's own interface announces a radio button that
// is not auto-exclusive as a check box, and its toggle action checks the button without
// a click, so the window would show an input the receiver never got. Here the role is a
// radio button and both press and toggle click the button.
class OptionButtonAccessible : public QAccessibleWidget
{
public:
    explicit OptionButtonAccessible(QWidget *widget);

    // Registers the factory once per process.
    static void install();

    QAccessible::Role role() const override;
    QAccessible::State state() const override;
    QString text(QAccessible::Text t) const override;
    QStringList actionNames() const override;
    void doAction(const QString &actionName) override;

private:
    QAbstractButton *button() const;
};
