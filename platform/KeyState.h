#pragma once

class QWidget;

// Global keyboard state by virtual-key code, independent of the focused window.
class KeyState
{
public:
    virtual ~KeyState();
    // True when the key is down now and went down since the previous query of
    // that key; each query consumes the went-down edge.
    virtual bool wentDown(int virtualKey) = 0;
    // True when `window` is the desktop's active (foreground) window.
    virtual bool isForeground(const QWidget *window) = 0;
};
