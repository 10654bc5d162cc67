#pragma once

#include <QColor>
#include <QPixmap>

class QPainter;
class QWidget;

// The two-colour etched border of the colour controls: a light rectangle with a
// dark line one pixel right of or below each of its edges. `top` moves the top
// edge down (the frame's caption sits on it). Lines exclude their end point.
class EtchedBorder
{
public:
    static void paint(QPainter &painter, int width, int height, int top, const QColor &light,
                      const QColor &dark);

    // A surface of `width` x `height` logical pixels for `widget`, filled with `back`, at the
    // widget's device pixel ratio: each logical pixel of the border then covers whole device
    // pixels instead of being stretched (and blurred) from a 1:1 pixmap.
    static QPixmap surface(const QWidget &widget, int width, int height, const QColor &back);
};
