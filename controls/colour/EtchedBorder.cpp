#include "EtchedBorder.h"

#include <QPainter>
#include <QWidget>
#include <cmath>

namespace {

void horizontal(QPainter &painter, int x0, int x1, int y, const QColor &colour)
{
    if (x1 > x0)
        painter.fillRect(x0, y, x1 - x0, 1, colour);
}

void vertical(QPainter &painter, int x, int y0, int y1, const QColor &colour)
{
    if (y1 > y0)
        painter.fillRect(x, y0, 1, y1 - y0, colour);
}

} // namespace

void EtchedBorder::paint(QPainter &painter, int width, int height, int top, const QColor &light,
                         const QColor &dark)
{
    const int w = width;
    const int h = height;

    // Outline with both corners included: columns 0..w-2, rows top..h-2.
    const int right = w - 2;
    const int bottom = h - 2;
    if (right >= 0 && bottom >= top) {
        horizontal(painter, 0, right + 1, top, light);
        horizontal(painter, 0, right + 1, bottom, light);
        vertical(painter, 0, top, bottom + 1, light);
        vertical(painter, right, top, bottom + 1, light);
    }

    horizontal(painter, 0, w - 1, h - 1, dark);
    vertical(painter, w - 1, 1 + top, h, dark);
    horizontal(painter, 1, w - 2, 1 + top, dark);
    vertical(painter, 1, 1 + top, h - 2, dark);
}

QPixmap EtchedBorder::surface(const QWidget &widget, int width, int height, const QColor &back)
{
    const qreal ratio = widget.devicePixelRatioF();
    QPixmap pixmap(int(std::ceil(width * ratio)), int(std::ceil(height * ratio)));
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(back);
    return pixmap;
}
