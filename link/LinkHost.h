#pragma once

#include <QString>

// What the link window needs from the main window: the logging switches, the poll
// state, the display lines, the settings snapshot and the add-ins.
class LinkHost
{
public:
    virtual ~LinkHost();

    // "Debug View" or "Create Logfile" is checked: traffic goes to DebugLog.
    virtual bool trafficLogging() const = 0;
    // "Create Logfile" is checked: DebugLog appends to the log file.
    virtual bool logFileEnabled() const = 0;
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
};
