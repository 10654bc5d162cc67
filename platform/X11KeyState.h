#pragma once

#include "platform/KeyState.h"

#include <QHash>
#include <QSet>
#include <memory>

class QSocketNotifier;

// Global keys read from the X server as raw input events on the root window, whichever
// window has the focus. Its connection's socket wakes the program only when a key moves.
// Knows the keypad plus and minus and the multimedia keys. Without an X display, or
// without the server's input extension (offscreen, Wayland without XWayland), it watches
// nothing and reports no key.
class X11KeyState final : public KeyState
{
public:
    X11KeyState();
    ~X11KeyState() override;
    X11KeyState(const X11KeyState &) = delete;
    X11KeyState &operator=(const X11KeyState &) = delete;

    bool wentDown(int virtualKey) override;
    bool isForeground(const QWidget *window) override;
    bool watch(std::function<void()> pressed) override;

private:
    bool openDisplay();
    void selectEvents(bool on);
    void readKeyboardMapping();
    void readEvents();

    void *m_display = nullptr; // Display*, kept opaque so X11's macros stay in the .cpp
    bool m_displayTried = false;
    int m_inputOpcode = 0;
    std::unique_ptr<QSocketNotifier> m_notifier;
    std::function<void()> m_pressed;
    QHash<int, int> m_keyFromKeycode; // X keycode → virtual-key code
    QSet<int> m_down; // keycodes held now
    QSet<int> m_pressedKeys; // virtual-key codes pressed and not yet queried
};
