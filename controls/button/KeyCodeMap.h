#pragma once

#include <QKeyEvent>

// Key codes in the numbering the button's key events carry (the classic
// virtual-key codes: 13 Enter, 32 Space, 37 to 40 the arrows, 65 to 90 letters).
class KeyCodeMap
{
public:
    static constexpr short kEnter = 13;
    static constexpr short kSpace = 32;
    static constexpr short kLeft = 37;
    static constexpr short kUp = 38;
    static constexpr short kRight = 39;
    static constexpr short kDown = 40;

    static short keyCode(const QKeyEvent *event);
    // The character code of a typed key, 0 when the key types nothing.
    static short keyAscii(const QKeyEvent *event);
};
