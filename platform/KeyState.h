#pragma once

#include <QList>
#include <functional>

class QString;
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
    // The keys the program acts on now. A source that registers its keys with the desktop
    // registers only these; one that sees every key anyway ignores this.
    virtual void setWantedKeys(const QList<int> &virtualKeys);
    // Called once, on the UI thread, when the source learns (perhaps only after watch()
    // returned) that this desktop offers it no global keys.
    virtual void whenUnavailable(std::function<void()> unavailable);
    // Called on the UI thread with a sentence for the user when the desktop stops giving
    // the global keys (it does not answer, refuses them or goes away) and when it gives
    // them again; each change is told once.
    virtual void whenNotice(std::function<void(const QString &text)> notice);
};
