#pragma once

#include <QMouseEvent>
#include <Qt>

// Mouse and modifier states in the numbering the controls' events carry:
// buttons 1 left, 2 right, 4 middle; shift 1, control 2, alt 4.
struct ControlInput
{
    static short buttonCode(Qt::MouseButtons buttons)
    {
        short code = 0;
        if (buttons & Qt::LeftButton)
            code |= 1;
        if (buttons & Qt::RightButton)
            code |= 2;
        if (buttons & Qt::MiddleButton)
            code |= 4;
        return code;
    }

    static short shiftCode(Qt::KeyboardModifiers modifiers)
    {
        short code = 0;
        if (modifiers & Qt::ShiftModifier)
            code |= 1;
        if (modifiers & Qt::ControlModifier)
            code |= 2;
        if (modifiers & Qt::AltModifier)
            code |= 4;
        return code;
    }

    // Press and release report the button that changed, a move the buttons held.
    static short eventButton(const QMouseEvent *event)
    {
        return event->type() == QEvent::MouseMove ? buttonCode(event->buttons())
                                                  : buttonCode(event->button());
    }
};
