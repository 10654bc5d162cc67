#pragma once

// The main window. The receiver's state lives in its controls: the selected option
// buttons, the menu check marks and the two display lines.
//
// How a report reaches the screen:
//
//   serial port ──> ReceiverLink (every read of the port, whichever operation makes it,
//   goes through its one FrameCutter; the bodies wait there in order) ──> reportsReady,
//   the poll (Timer_Check, every 100 ms), a volume step or a scheduled command's answer
//   ──> evaluateReceived (takes each body once) ──> ProgramEvents::reportReceived
//   (add-ins and other listeners) ──> DatenAuswerten (ReportEvaluation) ──> option
//   buttons, check marks, Line1/Line2, ReceiverReadings, DisplayVolume (VolumeControl;
//   ProgramEvents::volumeMainShown, which the mini window's bar and the add-ins follow). A box raised during an evaluation is
//   shown after it (DeferredBoxes), so it holds no later report.
//
// and a click goes the other way: click handler ──> ReceiverLink command member ──>
// SendCommand ──> serial port. `UpdatingFromReceiver` keeps selections made from a
// report or a settings snapshot from being sent back.
//
// The subjects with state of their own are classes the window owns, on its controls:
// ReportEvaluation (the reports and the player rules), VolumeControl (display, steps and
// their hold-repeat, mute, memories, power), KeyControl (global and keypad keys) and
// ConnectionControl (connecting, the model and the menus that go with it), beside
// ConfigurationStore (the stored settings); the handlers keep their names here and
// delegate to them. Features outside the window reach the program only through host()
// (a WindowProgramHost, with its events()) and link(); the mini window through
// MiniWindowHost. Everything else is private (tests reach it through their fixture).

#include "app/ConfigurationStore.h"
#include "app/ConnectionControl.h"
#include "app/KeyControl.h"
#include "app/MainWindowControls.h"
#include "app/MiniWindowHost.h"
#include "app/ReportEvaluation.h"
#include "app/VolumeControl.h"
#include "link/LinkHost.h"
#include "platform/Platform.h"
#include "program/ProgramEvents.h"
#include "program/ProgramHost.h"
#include "state/ReceiverReadings.h"

#include <QMainWindow>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <array>
#include <chrono>
#include <memory>
#include <optional>

class AddInComponents;
class AddInRuntime;
class Form_AddIns;
class Form_Com;
class ReceiverLink;
class Form_Mini;
class Form_YInfo;
class Form_Intro;
class Form_Informationen;
class ImageButton;
class QAction;
class QLabel;
class QMenu;
class ctlFrame;
class ctlLabel;
class clsTimeControl;
class Form_ZS;
class ProgramValues;
class TimeControlScheduler;

class Form_ControlCenter : public QMainWindow,
                           public LinkHost,
                           private MiniWindowHost,
                           private MainWindowControls
{
    Q_OBJECT
    friend struct MainWindowFixture;
    friend class WindowProgramHost;

public:
    static constexpr std::chrono::milliseconds kPollInterval {100};
    static constexpr int kKlappeMargin = 60; // outer height allowance below the panels
    static inline const QString kDefaultShell = ConfigurationStore::kDefaultShell;

    // The zone a volume report speaks of.
    using VolumeZone = VolumeControl::Zone;

    // The window of the program whose add-ins `runtime` holds and whose shared values
    // (closing, mini mode) `values` are, on `link`, whose host it becomes. The start-up
    // (ProgramParts) builds it and the features beside it.
    Form_ControlCenter(const Platform &platform, AddInRuntime &runtime, ProgramValues &values,
                       ReceiverLink &link, QWidget *parent = nullptr);
    ~Form_ControlCenter() override;

    // ---- Life cycle (app/Form_ControlCenter.cpp) ----
    // Runs the load steps and applies the command line. Returns false when the
    // program is to end at once (a help option was given).
    bool Form_Load(const QString &commandLine);
    // Returns true when the unload went ahead, false when an add-in cancelled it. With
    // `mayBeCancelled` false (a termination signal) the add-ins are still asked and told,
    // but a refusal does not stop the end. A call while the add-ins vote does not unload
    // a second time; a forced one makes the running unload go ahead.
    bool Form_Unload(bool mayBeCancelled = true);
    // The link, which features may use for the receiver; and the mini window, shown
    // instead of this one in mini mode.
    ReceiverLink *link() const { return m_link; }
    Form_Mini *mini() const;
    // A line of the program's own in the terminal window, there when the user opens it.
    void noteInTerminal(const QString &line);

    // ---- LinkHost (app/Form_ControlCenter.cpp; SetOrvaneSettings in _snapshot.cpp) ----
    bool pollRunning() const override;
    void setLine1(const QString &text) override;
    void setLine2(const QString &text) override;
    void SetOrvaneSettings(const QString &settings) override;
    void incomingSettings(const QString &settings) override;
    void linkLost(const QString &reason) override;
    void terminalClosed() override;
    bool appClosing() const override;

    // The program as the features see it (WindowProgramHost), and what they hear of it.
    ProgramHost &host() const { return *m_host; }
    ProgramEvents *events() { return &m_events; }

    // ---- For the start-up (app/Form_ControlCenter.cpp, _timecontrol.cpp) ----
    // The one way in for what the receiver reported: takes the report bodies the link
    // has cut from everything it read (the poll, an answer, a reply, a discard) and hands
    // each to the listeners of ProgramEvents::reportReceived and then to DatenAuswerten.
    // Bodies read while an evaluation runs (inside one of its waits) are evaluated after
    // it, in the order received. `procedure` names the caller in error reports.
    void evaluateReceived(const char *procedure);
    // The scheduler Timer_ZS ticks; none (null) makes the timer do nothing.
    void setTimeControlScheduler(TimeControlScheduler *scheduler);

signals:
    // Form_Unload has finished: the program ends.
    void unloaded();
    // Form_Load has read the configuration: the features beside the window start.
    void configurationLoaded();
    // "Home automation..." was chosen: the bridge's settings, then the bridge again.
    void homeAutomationSetupRequested();
    // "Web remote...": the web remote's settings, then the remote again.
    void webRemoteSetupRequested();

protected:
    void resizeEvent(QResizeEvent *event) override;
    void moveEvent(QMoveEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    // The scrolled area's resize centres the panel (Form_Resize).
    bool eventFilter(QObject *watched, QEvent *event) override;
    // Numeric-keypad plus and minus while this window has the focus (KeyControl;
    // app/Form_ControlCenter_keys.cpp).
    void keyPressEvent(QKeyEvent *event) override;

private:
    // ---- Start-up, layout, the poll and the window's state (app/Form_ControlCenter.cpp) ----
    void Form_Resize();
    void Menu_Ende_Click();
    void SetKlappe(int mode);
    // Gives the window the outer height SetKlappe set before it had a frame, and keeps
    // it inside the work area once the frame is known.
    void applyOuterHeightOnShow();
    // The work area of the screen the window is on (the one read at load before).
    QRect currentWorkArea() const;
    // Makes the window no wider than the work area; what does not fit scrolls.
    void fitWidthIntoWorkArea();
    void Image_Klappe_Click();
    // Processes pending events once, then waits without processing events.
    void Pause(float seconds);
    void Timer_Check_Timer();
    QRect workArea() const { return m_workArea; }
    Form_Com *com() const;
    Form_YInfo *yinfo();
    MainWindowControls &controls() { return *this; }
    // The 6.1/ES key's window action: restores a minimised or maximised window and
    // brings it to the front, else minimises it.
    void toggleWindowFromEsKey();

    // ---- Window construction (app/Form_ControlCenter_layout.cpp) ----
    void buildMenus();
    void buildDisplay();
    void buildPanels();
    void buildTimers();
    // Wires the controls, menu items and timers to their handlers.
    void connectControls();

    // ---- Connection and model identification (ConnectionControl) ----
    void ConnectToOrvane(int Sw1 = 0) { m_connection->ConnectToOrvane(Sw1); }
    void closeConnection(const QString &line1, const QString &line2, bool resetCaption = true)
    {
        m_connection->closeConnection(line1, line2, resetCaption);
    }
    void SetMenu(bool enabled) { m_connection->SetMenu(enabled); }
    void SetInputButtonVisible(const QString &modelCode)
    {
        m_connection->SetInputButtonVisible(modelCode);
    }
    void Menu_Connect_Click() { ConnectToOrvane(0); }
    void Menu_Setup_Port_Click(int index) { m_connection->Menu_Setup_Port_Click(index); }
    void Menu_Setup_ReportTime_Click(int index)
    {
        m_connection->Menu_Setup_ReportTime_Click(index);
    }
    void Menu_Reset_Click() { m_connection->Menu_Reset_Click(); }
    void Menu_Extras_YInfo_Click() { m_connection->Menu_Extras_YInfo_Click(); }

    // ---- Port dialog and home automation (app/Form_ControlCenter_ports.cpp) ----
    void Menu_Setup_Ports_Click();
    // "Home automation...": the MQTT bridge's settings; the bridge starts again with them.
    void Menu_Setup_HomeAutomation_Click();
    // "Web remote...": the web remote's settings; the remote starts again with them.
    void Menu_Setup_WebRemote_Click();

    // ---- Panels (app/Form_ControlCenter_panels.cpp) ----
    void Opt_Input_Click(int index);
    void Opt_InputMode_Click(int index);
    void Opt_Dsp_Click(int index);
    void Opt_SpeakersA_Click(int index);
    void Opt_SpeakersB_Click(int index);
    void Opt_61ES_Click(int index);
    void Opt_6ChInput_Click(int index);
    void Image_InputUP_Click();
    void Image_InputDown_Click();
    void Image_InputMode_Click();
    void SetInputButton(int index, int noSelect, int zone2);
    void GetInputButton(int &index);
    void SetDSPButton(int index, int noSelect);
    void Menu_Mode_Zone2_Click();
    void Menu_Mode_Main_Click();
    void Menu_MiniPopUp_Input_Click(int index);
    void Menu_MiniPopUp_Zone2_Click();
    // "Rec Out" or "Input" over the input panel and the frames of the mode in use.
    void showZoneMode();

    // ---- Settings snapshot (app/Form_ControlCenter_snapshot.cpp) ----
    void SetSettings();

    // ---- Receiver state outside the controls (app/Form_ControlCenter_status.cpp) ----
    void noteSettingsBlock();
    // Evaluates the reports the link announces while connected, and hands the link the
    // traffic-log switches whenever they change.
    void watchLink();

    // ---- Report evaluation and its player rules (ReportEvaluation) ----
    void DatenAuswerten(const QString &body) { m_reports->DatenAuswerten(body); }
    void Timer_CheckTastenRepeat_Timer() { m_reports->secondPressMissed(); }

    // ---- Volume, mute, memories, sleep, power (VolumeControl) ----
    void DisplayVolume(VolumeZone zone, int value) { m_volume->DisplayVolume(zone, value); }
    void Image_VolUP_MouseDown(Qt::MouseButton b)
    {
        m_volume->buttonDown(b, QStringLiteral("UP"), "Image_VolUP_MouseDown");
    }
    void Image_VolUP_MouseUp(Qt::MouseButton) { m_volume->buttonUp("Image_VolUP_MouseUp"); }
    void Image_VolDOWN_MouseDown(Qt::MouseButton b)
    {
        m_volume->buttonDown(b, QStringLiteral("DOWN"), "Image_VolDOWN_MouseDown");
    }
    void Image_VolDOWN_MouseUp(Qt::MouseButton) { m_volume->buttonUp("Image_VolDOWN_MouseUp"); }
    void Mute(int Zone = 0) { m_volume->Mute(Zone); }
    void Timer_RePressKey_Timer() { m_volume->repeatTick(); }
    void Menu_Volume_Mute_Click() { Mute(1); }
    void Menu_Volume_MuteZone2_Click() { Mute(2); }
    void Menu_Volume_Save_Click(int index) { m_volume->saveMemory(index); }
    void Menu_Volume_Load_Click(int index)
    {
        m_volume->loadMemory(index, "Menu_Volume_Load_Click");
    }
    void Menu_MiniPopUp_Volume_Load_Click(int index)
    {
        m_volume->loadMemory(index, "Menu_MiniPopUp_Volume_Load_Click");
    }
    void Menu_MiniPopUp_Mute_Click() { Mute(0); }
    void Menu_Sleep_Click(int minutes) { m_volume->setSleep(minutes); } // 0 off, 30 … 120
    void Label_Standby_Click() { m_volume->togglePower(); }
    void Menu_MiniPopUp_POWER_Click() { Label_Standby_Click(); }

    // ---- MiniWindowHost (VolumeControl; the rest in app/Form_ControlCenter_volume.cpp) ----
    void VolUp() override { m_volume->VolUp(); }
    void VolDown() override { m_volume->VolDown(); }
    void startRepeat(const QString &tag) override { m_volume->startRepeat(tag); }
    void stopRepeat() override { m_volume->stopRepeat(); }
    void CheckKey(int keyCode) override { m_volume->CheckKey(keyCode); }
    void showMiniPopUp(const QPoint &globalPosition) override;
    void showMainWindow() override;
    void Menu_Mini_Click();

    // ---- Keys (KeyControl) ----
    void Timer_CheckKeys_Timer() { m_keys->Timer_CheckKeys_Timer(); }
    // Watches the global keys the "Multimedia Keycontrol" options want.
    void updateKeyWatch() { m_keys->updateKeyWatch(); }

    // ---- Player, extras and traffic switches (app/Form_ControlCenter_keys.cpp) ----
    void Timer_WinampView_Timer();
    // The player buttons: a click and a double click send different commands.
    void playerButton(const char *procedure, int command);
    void Menu_Extras_61_ES_Click(int index);
    void Menu_Extras_MT_Winamp_Click();
    void Menu_Extras_MT_Orvane_Click();
    void Menu_Extras_SendMessage_Click();
    void Menu_Send_Click();
    void Menu_Setup_Debug_Click();
    void Menu_Setup_Log_Click();
    void RunShellCommand();

    // ---- Configuration store (ConfigurationStore) ----
    void LoadConfig() { m_config->LoadConfig(); }
    void SaveConfig() { m_config->SaveConfig(); }

    // ---- Add-ins (app/Form_ControlCenter_addins.cpp) ----
    // Finds the add-in components on disk and loads them; the ones that load live until
    // the window unloads.
    void LoadAddIns();
    // Releases the loaded add-in components, last to first; from then on no add-in
    // acts on the window.
    void releaseAddIns();
    void Menu_AddIn_Click();
    AddInComponents *addInComponents() const { return m_addInComponents.get(); }

    // ---- Time control (app/Form_ControlCenter_timecontrol.cpp) ----
    void Menu_ZS_Aktiv_Click();
    void Menu_ZS_Einstellungen_Click();
    void Timer_ZS_Timer();
    // Stops Timer_ZS, closes the dialog and lets the schedule go: the program ends.
    void stopTimeControl();
    // The time-control dialog; null until "Config" first shows it.
    Form_ZS *zs() const;

    // ---- About and information windows (app/Form_ControlCenter_info.cpp) ----
    // Shows the about window ("About Orvane...").
    void Menu_Info_Click();
    // Shows the information window ("Informationen", F1).
    void Menu_Fragezeichen_Informationen_Click();
    // The about window, created on first use; a modal one blocks the other windows, never
    // the caller.
    void showIntro(bool modal);

    Platform m_platform;
    AddInRuntime &m_runtime;
    ProgramValues &m_values;
    ProgramEvents m_events;
    ReceiverLink *m_link; // the start-up's, outlives this window
    QPointer<Form_Com> m_com;
    QPointer<Form_Mini> m_mini;
    QPointer<Form_YInfo> m_yinfo;
    QPointer<Form_Intro> m_intro;
    QPointer<Form_Informationen> m_informationen;
    std::unique_ptr<AddInComponents> m_addInComponents;
    QPointer<Form_AddIns> m_formAddIns;
    QRect m_workArea;
    std::optional<int> m_outerHeightOnShow;
    bool m_fitWidthOnShow = false;
    QWidget *m_controlsArea = nullptr; // the scrolled area that holds picControls
    bool m_unloaded = false;
    bool m_unloading = false; // the add-ins are voting
    bool m_endForced = false;
    // An evaluation of received reports is running.
    bool m_evaluating = false;
    ReceiverReadings m_readings;
    QPointer<Form_ZS> m_zs;
    // The schedule Timer_ZS fires; absent until the time-control dialog is first
    // confirmed or closed, rebuilt each time after.
    std::shared_ptr<clsTimeControl> oTimeControl;
    // The start-up's scheduler, which fires the schedule's entries.
    TimeControlScheduler *m_timeControlScheduler = nullptr;
    // The subjects with state of their own, on the controls above.
    std::unique_ptr<VolumeControl> m_volume;
    std::unique_ptr<ReportEvaluation> m_reports;
    std::unique_ptr<KeyControl> m_keys;
    std::unique_ptr<ConnectionControl> m_connection;
    std::unique_ptr<ConfigurationStore> m_config;
    std::unique_ptr<ProgramHost> m_host; // a WindowProgramHost
};
