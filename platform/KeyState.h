#pragma once

#include <functional>

class QWidget;

// Global keyboard state by virtual-key code, independent of the focused window. Presses
// are reported as they happen, so nothing needs to ask while no key is pressed.
class KeyState
{
public:
    virtual ~KeyState();
    // True when the key went down since the previous query of that key, even if it is up
    // again by now; each query consumes that press, so one press is seen once.
    virtual bool wentDown(int virtualKey) = 0;
    // True when `window` is the desktop's active (foreground) window.
    virtual bool isForeground(const QWidget *window) = 0;
    // While `pressed` is set, calls it on the UI thread after one of the known keys went
    // down; an empty function stops watching and forgets unread presses. False when the
    // desktop offers no global keys: then nothing is ever reported.
    virtual bool watch(std::function<void()> pressed) = 0;
};
