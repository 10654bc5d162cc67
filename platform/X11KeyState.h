#pragma once

#include "platform/KeyState.h"

#include <QElapsedTimer>
#include <QHash>
#include <array>

// Global key state read from the X server's keymap, polled. Knows the keypad plus and
// minus and the multimedia keys; other keys, and every key without an X display
// (offscreen, Wayland without XWayland), never count as pressed.
class X11KeyState final : public KeyState
{
public:
    X11KeyState();
    ~X11KeyState() override;
    X11KeyState(const X11KeyState &) = delete;
    X11KeyState &operator=(const X11KeyState &) = delete;

    bool wentDown(int virtualKey) override;
    bool isForeground(const QWidget *window) override;

private:
    bool openDisplay();
    int keycodeFor(int virtualKey);
    const std::array<char, 32> &keymap();

    void *m_display = nullptr; // Display*, kept opaque so X11's macros stay in the .cpp
    bool m_displayTried = false;
    QHash<int, int> m_keycodes;
    QHash<int, bool> m_wasDown;
    std::array<char, 32> m_keymap {};
    QElapsedTimer m_keymapAge;
};
