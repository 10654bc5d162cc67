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
//   (add-ins and other listeners) ──> DatenAuswerten ──> option buttons, check marks,
//   Line1/Line2, ReceiverReadings, DisplayVolume (ProgramEvents::volumeMainShown, which
//   the mini window's bar and the add-ins follow). A box raised during an evaluation is
//   shown after it (DeferredBoxes), so it holds no later report.
//
// and a click goes the other way: click handler ──> ReceiverLink command member ──>
// SendCommand ──> serial port. `UpdatingFromReceiver` keeps selections made from a
// report or a settings snapshot from being sent back.
//
// Features outside the window reach the program only through ProgramHost (with its
// events()) and link(); the mini window through MiniWindowHost. Everything else is
// private (tests reach it through their fixture).

#include "app/MainWindowControls.h"
#include "app/MiniWindowHost.h"
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
class MediaKeyInput;
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
                           public ProgramHost,
                           private MiniWindowHost,
                           private MainWindowControls
{
    Q_OBJECT
    friend struct MainWindowFixture;

public:
    static constexpr std::chrono::milliseconds kPollInterval {100};
    static constexpr int kKlappeMargin = 60; // outer height allowance below the panels
    static inline const QString kDefaultShell = QStringLiteral("c:\\windows\\system32\\calc.exe");

    // The zone a volume report speaks of.
    enum class VolumeZone { Main, Zone2 };

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

    // ---- LinkHost ----
    bool pollRunning() const override;
    void setLine1(const QString &text) override;
    void setLine2(const QString &text) override;
    void SetOrvaneSettings(const QString &settings) override;
    void incomingSettings(const QString &settings) override;
    void linkLost(const QString &reason) override;
    void terminalClosed() override;
    bool appClosing() const override;

    // ---- ProgramHost ----
    SendResult sendCommand(const QString &code) override;
    QString line1() const override;
    QString line2() const override;
    void setLine2Text(const QString &text) override;
    ModelInformation modelInformation() const override;
    ReceiverStatus receiverStatus() const override;
    QList<PanelOption> panelOptions(Panel panel) const override;
    void connectReceiver(bool powerOn) override;
    void disconnectReceiver() override;
    bool isConnected() const override;
    QString readSettings() override;
    void showProgram() override;
    void hideProgram() override;
    bool programVisible() const override;
    WindowState windowState() const override;
    void showAbout() override;
    void quitProgram() override;
    ProgramEvents *events() override { return &m_events; }

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

protected:
    void resizeEvent(QResizeEvent *event) override;
    void moveEvent(QMoveEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    // Numeric-keypad plus and minus while this window has the focus.
    void keyPressEvent(QKeyEvent *event) override;

private:
    // ---- Start-up, layout and the report poll (app/Form_ControlCenter.cpp) ----
    void SetKlappe(int mode);
    // Gives the window the outer height SetKlappe set before it had a frame.
    void applyOuterHeightOnShow();
    void Image_Klappe_Click();
    // Processes pending events once, then waits without processing events.
    void Pause(float seconds);
    void Timer_Check_Timer();
    QRect workArea() const { return m_workArea; }

    // ---- Connection and model identification (app/Form_ControlCenter_connection.cpp) ----
    void ConnectToOrvane(int Sw1 = 0);
    void Menu_Reset_Click();

    // ---- Port dialog (app/Form_ControlCenter_ports.cpp) ----
    void Menu_Setup_Ports_Click();
    // "Home automation...": the MQTT bridge's settings; the bridge starts again with them.
    void Menu_Setup_HomeAutomation_Click();
    void Menu_Extras_YInfo_Click();

    // ---- Report evaluation (app/Form_ControlCenter_reports.cpp) ----
    void DatenAuswerten(const QString &body);

    // ---- Settings snapshot (app/Form_ControlCenter_snapshot.cpp) ----
    void SetSettings();

    // ---- Panels (app/Form_ControlCenter_panels.cpp) ----
    void SetDSPButton(int index, int noSelect);
    void Menu_Mode_Zone2_Click();
    bool zone2Mode() const;

    // ---- Volume, mute, sleep, memories, power (app/Form_ControlCenter_volume.cpp) ----
    // Shows a volume report of one zone, its value 0 to 255.
    void DisplayVolume(VolumeZone zone, int value);
    void Image_VolUP_MouseDown(Qt::MouseButton button);
    void Image_VolUP_MouseUp(Qt::MouseButton button);
    void Image_VolDOWN_MouseDown(Qt::MouseButton button);
    void Image_VolDOWN_MouseUp(Qt::MouseButton button);

    // ---- MiniWindowHost (app/Form_ControlCenter_volume.cpp) ----
    void VolUp() override;
    void VolDown() override;
    void startRepeat(const QString &tag) override;
    void stopRepeat() override;
    void showMiniPopUp(const QPoint &globalPosition) override;
    void CheckKey(int keyCode) override;
    void showMainWindow() override;

    // ---- Configuration store (app/Form_ControlCenter_config.cpp) ----
    void LoadConfig();
    void SaveConfig();

    // ---- Add-ins (app/Form_ControlCenter_addins.cpp) ----
    // Finds the add-in components on disk and loads them; the ones that load live until
    // the window unloads.
    void LoadAddIns();
    void Menu_AddIn_Click();
    AddInComponents *addInComponents() const { return m_addInComponents.get(); }

    // ---- Time control (app/Form_ControlCenter_timecontrol.cpp) ----
    void Menu_ZS_Aktiv_Click();
    void Menu_ZS_Einstellungen_Click();
    void Timer_ZS_Timer();
    // The time-control dialog; null until "Config" first shows it.
    Form_ZS *zs() const;

    Form_Com *com() const;
    Form_YInfo *yinfo();

    // Handlers of the window's own controls, menu items and timers, and their helpers
    // (wired in connectControls).
    void Form_Resize();
    void Menu_Ende_Click();
    void SetMenu(bool enabled);
    void SetInputButtonVisible(const QString &modelCode);
    void Menu_Connect_Click();
    void Menu_Setup_Port_Click(int index);
    void Menu_Setup_ReportTime_Click(int index);
    void Timer_CheckTastenRepeat_Timer();
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
    void Menu_Mode_Main_Click();
    void Menu_MiniPopUp_Input_Click(int index);
    void Menu_MiniPopUp_Zone2_Click();
    void Mute(int Zone = 0);
    void Timer_RePressKey_Timer();
    void Menu_Volume_Mute_Click();
    void Menu_Volume_MuteZone2_Click();
    void Menu_Volume_Save_Click(int index);
    void Menu_Volume_Load_Click(int index);
    void Menu_MiniPopUp_Volume_Load_Click(int index);
    void Menu_MiniPopUp_Mute_Click();
    void Menu_Sleep_Click(int minutes); // 0 off, 30, 60, 90, 120
    void Label_Standby_Click();
    void Menu_MiniPopUp_POWER_Click();
    void Menu_Mini_Click();
    void Timer_CheckKeys_Timer();
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

    // Window construction (app/Form_ControlCenter_layout.cpp).
    void buildMenus();
    void buildDisplay();
    void buildPanels();
    void buildTimers();
    void connectControls();
    // Watches the global keys while a media-key option is checked; each press runs one
    // tick of Timer_CheckKeys, so nothing runs while no key is pressed.
    void updateKeyWatch();
    // Sends the report-time command of item 0 to 7 of the report-time menu.
    void sendReportTime(int index);
    // Helpers of the report evaluation.
    void runEsKeyActions();
    void playerRuleMuteOff();
    void playerRuleMuteOn();
    // Selects the option from a DSP table data value ("80", "00" … "2D"); false when unknown.
    bool selectDspFromData(const QString &data);

    // Leaves the connected state: closes the port, disables the connected-only menus,
    // stops the poll and the volume repeat, frees the link and shows the two lines. The
    // same clean-up for a disconnect, a failed connect and a lost port.
    void closeConnection(const QString &line1, const QString &line2, bool resetCaption = true);
    MainWindowControls &controls() { return *this; }
    // Shows the about window ("About Orvane...").
    void Menu_Info_Click();
    // Shows the information window ("Informationen", F1).
    void Menu_Fragezeichen_Informationen_Click();
    // The about window, created on first use; a modal one blocks the other windows, never
    // the caller.
    void showIntro(bool modal);
    // Releases the loaded add-in components, last to first; from then on no add-in
    // acts on the window.
    void releaseAddIns();
    // Stops Timer_ZS, closes the dialog and lets the schedule go: the program ends.
    void stopTimeControl();
    // Receiver state outside the controls (app/Form_ControlCenter_status.cpp).
    void noteSettingsBlock();
    // Evaluates the reports the link announces while connected, and hands the link the
    // traffic-log switches whenever they change.
    void watchLink();
    // "Rec Out" or "Input" over the input panel and the frames of the mode in use.
    void showZoneMode();
    // Marks a button the model lacks (a folded panel hides its buttons as well).
    static constexpr char kHiddenForModel[] = "hiddenForModel";

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
    bool m_unloaded = false;
    bool m_unloading = false; // the add-ins are voting
    bool m_endForced = false;
    // An evaluation of received reports is running.
    bool m_evaluating = false;
    // The configuration block of the last successful connect: the model information.
    QString m_identification;
    ReceiverReadings m_readings;
    bool m_checkingKeys = false; // a key tick is running
    QPointer<MediaKeyInput> m_mediaKeys; // made by the first updateKeyWatch
    // Set by a completed connect, cleared by closeConnection.
    bool m_connected = false;
    QPointer<Form_ZS> m_zs;
    // The schedule Timer_ZS fires; absent until the time-control dialog is first
    // confirmed or closed, rebuilt each time after.
    std::shared_ptr<clsTimeControl> oTimeControl;
    // The start-up's scheduler, which fires the schedule's entries.
    TimeControlScheduler *m_timeControlScheduler = nullptr;
};
