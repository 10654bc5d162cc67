#pragma once

#include <QString>

class ProgramEvents;

// What the rest of the program and the features around the core (time control,
// add-ins, automation over D-Bus) may do with the running program. The main window
// implements it; nobody outside the window reaches its controls.
// A feature is handed the main window as this interface, beside its link.
class ProgramHost
{
public:
    // The receiver found at the last successful connect, from its configuration block.
    struct ModelInformation
    {
        QString modelId; // model code from the configuration block, e.g. "R0161"
        QString model; // model name, "?" when unknown
        QString version; // receiver software version
        QString returnString; // the receiver's identification answer
    };

    // Window state as outside programs see it.
    enum WindowState { Normal = 0, Minimized = 1, Maximized = 2 };

    virtual ~ProgramHost();

    // Sends one receiver command code through the link (nothing when the port is
    // closed or busy).
    virtual void sendCommand(const QString &code) = 0;
    // The texts of the two display lines.
    virtual QString line1() const = 0;
    virtual QString line2() const = 0;
    // Writes the second display line (status texts of the time control).
    virtual void setLine2Text(const QString &text) = 0;
    virtual ModelInformation modelInformation() const = 0;

    // When not connected: connects on the configured port, switching the receiver
    // on first when `powerOn`. When connected: sends Power On.
    virtual void connectReceiver(bool powerOn) = 0;
    // Closes the connection when it is open.
    virtual void disconnectReceiver() = 0;
    virtual bool isConnected() const = 0;
    // Asks the receiver for its settings block and returns the answer exactly as read
    // from the port (empty when nothing came back).
    virtual QString readSettings() = 0;

    // The main window, or in mini mode the mini window.
    virtual void showProgram() = 0;
    virtual void hideProgram() = 0;
    virtual bool programVisible() const = 0;
    virtual WindowState windowState() const = 0;
    // Shows the about window as a modal window.
    virtual void showAbout() = 0;
    // Unloads the main window, which ends the program unless a listener of
    // ProgramEvents::unloadRequested refuses.
    virtual void quitProgram() = 0;

    virtual ProgramEvents *events() = 0;
};
