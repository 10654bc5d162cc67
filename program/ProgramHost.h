#pragma once

#include <QList>
#include <QString>
#include <optional>
#include <utility>

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

    // The program's mirror of the receiver: what the panels, the check marks and the
    // display show, and the few values the receiver last reported that have no control.
    // -1 or 0 mean "none selected" as the field says.
    struct ReceiverStatus
    {
        bool connected = false;
        std::optional<bool> power; // last power report, or the block read on connecting
        int input = 0;             // input panel index 1 to 14, 0 none
        int inputMode = 0;         // 1 to 5, 0 none
        int dspProgram = -1;       // 0 to 31, -1 none
        int speakersA = -1;        // 0 off, 1 on, -1 none
        int speakersB = -1;
        int es61 = -1;
        int sixChInput = -1;
        bool mainMute = false;
        bool zone2Mute = false;
        bool zone2Mode = false;          // the input panel and the volume keys act on zone 2
        std::optional<int> mainVolume;   // last reported value, 0 to 255 (0xC7 is 0 dB)
        std::optional<int> zone2Volume;  // last reported value, 0 to 255 (0x50 is 0 dB)
        int zone2Input = 0;              // input index of zone 2 last read or reported, 0 none
        QString line1;
        QString line2;
    };

    // The option panels whose captions outside parties offer.
    enum class Panel { Input, InputMode, Dsp };
    // One button of a panel: its index and caption.
    using PanelOption = std::pair<int, QString>;

    // Window state as outside programs see it.
    enum WindowState { Normal = 0, Minimized = 1, Maximized = 2 };

    virtual ~ProgramHost();

    // What became of a command code handed to the link.
    enum class SendResult { Sent, NotConnected, LinkBusy };

    // Sends one receiver command code through the link; nothing is sent when the port
    // is closed or busy (another exchange with the receiver is under way).
    virtual SendResult sendCommand(const QString &code) = 0;
    // The texts of the two display lines.
    virtual QString line1() const = 0;
    virtual QString line2() const = 0;
    // Writes the second display line (status texts of the time control).
    virtual void setLine2Text(const QString &text) = 0;
    virtual ModelInformation modelInformation() const = 0;
    // The receiver state as the program mirrors it (ProgramEvents::receiverStatusChanged
    // tells when it may have changed).
    virtual ReceiverStatus receiverStatus() const;
    // The buttons of a panel the current model offers, in index order.
    virtual QList<PanelOption> panelOptions(Panel panel) const;

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
