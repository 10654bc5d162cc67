#pragma once

#include <QRadioButton>

// A member of an option array: a radio button of an exclusive group that may also have
// no member selected. It is announced to assistive technology as a radio button, and
// choosing it there (press or toggle) is a click, so it runs the same handler a mouse
// click runs. Its whole box takes clicks, as the box is painted and as its accessible
// extents give it, not only its circle and caption.
class OptionButton : public QRadioButton
{
    Q_OBJECT
public:
    explicit OptionButton(const QString &text, QWidget *parent = nullptr);

protected:
    bool hitButton(const QPoint &pos) const override;
};
