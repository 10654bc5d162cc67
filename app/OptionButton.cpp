#include "app/OptionButton.h"

#include "app/OptionButtonAccessible.h"

OptionButton::OptionButton(const QString &text, QWidget *parent)
    : QRadioButton(text, parent)
{
    OptionButtonAccessible::install();
}

bool OptionButton::hitButton(const QPoint &pos) const
{
    return rect().contains(pos);
}
