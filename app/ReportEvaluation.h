#pragma once

#include <QCoreApplication>
#include <QString>
#include <functional>

class PlayerRemote;
class ReceiverLink;
class ReceiverReadings;
class UserDialogs;
class VolumeControl;
struct MainWindowControls;

// What a report of the receiver does to the main window (DatenAuswerten): the option
// buttons, the check marks, the display lines and ReceiverReadings follow it, volume
// reports go to the volume display; and the player rules that go with it: the 6.1/ES
// key's actions (window, player with its second press, shell command) and the player
// following mute.
class ReportEvaluation
{
    Q_DECLARE_TR_FUNCTIONS(ReportEvaluation)

public:
    // What it needs of the window beyond its controls.
    struct Window
    {
        // Selects an input button and shows its name (SetInputButton).
        std::function<void(int index, int noSelect, int zone2)> setInputButton;
        // The selected input button, one past the last when none is (GetInputButton).
        std::function<int()> selectedInput;
        // Selects a DSP button and shows its program (SetDSPButton).
        std::function<void(int index, int noSelect)> setDspButton;
        // Waits with events processed once (the window's Pause).
        std::function<void(float seconds)> pause;
        // An evaluation of received reports is running.
        std::function<bool()> evaluating;
        // The 6.1/ES key's window action: restores a minimised or maximised window and
        // brings it to the front, else minimises it.
        std::function<void()> toggleWindow;
        // Starts the shell command of the 6.1/ES key's third option.
        std::function<void()> runShellCommand;
    };

    ReportEvaluation(MainWindowControls &ui, ReceiverLink &link, VolumeControl &volume,
                     ReceiverReadings &readings, PlayerRemote *player, UserDialogs *dialogs,
                     Window window);

    // Evaluates one report body (the text between STX and ETX).
    void DatenAuswerten(const QString &body);
    // No second press of the 6.1/ES key came: the player goes to the next title
    // (Timer_CheckTastenRepeat).
    void secondPressMissed();

private:
    void runEsKeyActions();
    void playerRuleMuteOff();
    void playerRuleMuteOn();
    // Selects the option from a DSP table data value ("80", "00" … "2D"); false when unknown.
    bool selectDspFromData(const QString &data);

    MainWindowControls &m_ui;
    ReceiverLink &m_link;
    VolumeControl &m_volume;
    ReceiverReadings &m_readings;
    PlayerRemote *m_player;
    UserDialogs *m_dialogs;
    Window m_window;
};
