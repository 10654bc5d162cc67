#pragma once

#include <QString>

class QPoint;

// What the mini window asks of the program: volume steps, the press-and-hold repeat,
// the pop-up menu, the keys it hands on and the way back to the main window. The main
// window implements it; the mini window sees nothing else of it. The volume bar follows
// ProgramEvents::volumeMainShown.
class MiniWindowHost
{
public:
    virtual ~MiniWindowHost() = default;

    // One volume step of the zone the mode selects.
    virtual void VolUp() = 0;
    virtual void VolDown() = 0;
    // Starts or stops the press-and-hold repeat with the tag "UP" or "DOWN".
    virtual void startRepeat(const QString &tag) = 0;
    virtual void stopRepeat() = 0;
    // The pop-up menu at a screen position, its zone-2 mark following the mode menu.
    virtual void showMiniPopUp(const QPoint &globalPosition) = 0;
    // Virtual-key codes of keys pressed on the mini window (F4 to F9, F12 act).
    virtual void CheckKey(int keyCode) = 0;
    // Shows the main window again when mini mode ends.
    virtual void showMainWindow() = 0;
};
