#pragma once

#include <QLabel>

// One line of the receiver's front display. The receiver's volume bar is a run of
// character 127, which fonts show as empty boxes: the line draws it as full blocks. Its
// text stays as set (the add-ins and the automation interface read it unchanged).
class DisplayLine : public QLabel
{
    Q_OBJECT
public:
    using QLabel::QLabel;

    // The text as drawn.
    static QString shownText(const QString &text);

protected:
    void paintEvent(QPaintEvent *event) override;
};
