#pragma once

#include <QColor>

class QPainter;

// The two-colour etched border of the colour controls: a light rectangle with a
// dark line one pixel right of or below each of its edges. `top` moves the top
// edge down (the frame's caption sits on it). Lines exclude their end point.
class EtchedBorder
{
public:
    static void paint(QPainter &painter, int width, int height, int top, const QColor &light,
                      const QColor &dark);
};
