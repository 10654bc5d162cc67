#pragma once

#include <QString>

// What the link window needs from the main window: the poll state, the display lines,
// the settings snapshot, the add-ins and whether the program is ending. (The logging switches are handed to the link
// when they change: ReceiverLink::setTrafficLog.)
class LinkHost
{
public:
    virtual ~LinkHost();

    // The report poll (Timer_Check) is running.
    virtual bool pollRunning() const = 0;
    virtual void setLine1(const QString &text) = 0;
    virtual void setLine2(const QString &text) = 0;
    // Keeps a configuration block as the settings snapshot.
    virtual void SetOrvaneSettings(const QString &settings) = 0;
    // Hands a configuration block (without its first and last character) to the add-ins.
    virtual void incomingSettings(const QString &settings) = 0;
    // The port failed for good and has been closed; the host goes to disconnected.
    virtual void linkLost(const QString &reason) = 0;
    // The terminal window was closed by the user: "Debug View" is unchecked.
    virtual void terminalClosed() = 0;
    // The program is ending: the terminal window then closes for real.
    virtual bool appClosing() const = 0;
};
