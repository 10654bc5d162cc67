#include "app/DisplayLine.h"

#include <QPainter>

QString DisplayLine::shownText(const QString &text)
{
    return QString(text).replace(QChar(0x7F), QChar(0x2588));
}

void DisplayLine::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setFont(font());
    painter.setPen(
        palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, foregroundRole()));
    const int m = margin();
    painter.drawText(contentsRect().adjusted(m, m, -m, -m), int(alignment()) | Qt::TextSingleLine,
                     shownText(text()));
}
