#pragma once

#include "app/ControlArray.h"
#include "app/OptionArray.h"

#include <QAction>
#include <QString>
#include <QTimer>
#include <array>

class ImageButton;
class QLabel;
class QMenu;
class QWidget;
class ctlFrame;
class ctlLabel;

// The main window's controls, menu items and timers, and the receiver state held with
// them. Form_ControlCenter inherits it privately: only the window's own code (and the
// tests' shared fixture) reaches these members.
struct MainWindowControls
{
    // The panel and the volume steps act on zone 2 ("Mode" menu).
    bool zone2Mode() const;

    // ---- Receiver state ----
    bool UpdatingFromReceiver = false;
    QString SettingsBlock;
    // Set once a report of the current poll tick has taken the display pause: a burst of
    // input-mode reports then pauses once per tick instead of once per report.
    bool ReportPauseTaken = false;

    // ---- Controls ----
    QWidget *picControls = nullptr;
    QWidget *picKlappe = nullptr;
    QLabel *Line1 = nullptr;
    QLabel *Line2 = nullptr;
    QLabel *lblWinAmp = nullptr;
    QLabel *Label_Debug = nullptr;
    QLabel *lblNorvik = nullptr;
    ImageButton *Image_Klappe = nullptr;
    ImageButton *Image_VolUP = nullptr;
    ImageButton *Image_VolDOWN = nullptr;
    ImageButton *Image_InputMode = nullptr;
    ImageButton *Image_InputUP = nullptr;
    ImageButton *Image_InputDown = nullptr;
    ImageButton *imgWinampPrevious = nullptr;
    ImageButton *imgWinampNext = nullptr;
    ImageButton *Label_Standby = nullptr;

    ctlFrame *Frame_Input = nullptr;
    ctlFrame *Frame_SpeakersA = nullptr;
    ctlFrame *Frame_SpeakersB = nullptr;
    ctlFrame *Frame_DSP = nullptr;
    ctlFrame *Frame_61ES = nullptr;
    ctlFrame *Frame_6ChInput = nullptr;
    ctlFrame *Frame_InputMode = nullptr;
    ctlFrame *Frame_Leer1 = nullptr;
    // Label_Prog[1] to Label_Prog[12]; index 0 is unused.
    std::array<ctlLabel *, 13> Label_Prog {};
    ctlLabel *Label_Effect = nullptr;
    ctlLabel *ctlLabel1 = nullptr;

    OptionArray Opt_Input; // 1 to 14
    OptionArray Opt_InputMode; // 1 to 5
    OptionArray Opt_Dsp; // 0 to 31
    OptionArray Opt_SpeakersA; // 0 Off, 1 On
    OptionArray Opt_SpeakersB; // 0 Off, 1 On
    OptionArray Opt_61ES; // 0 Off, 1 On
    OptionArray Opt_6ChInput; // 0 Off, 1 On

    // ---- Menus ----
    QAction *Menu_Connect = nullptr;
    QMenu *Menu_Setup = nullptr;
    ControlArray<QAction> Menu_Setup_Port;       // 1 to 5
    QAction *Menu_Setup_Ports = nullptr;         // the port dialog
    QAction *Menu_Setup_HomeAutomation = nullptr; // the MQTT bridge's dialog
    QAction *Menu_Setup_WebRemote = nullptr;      // the web remote's dialog
    ControlArray<QAction> Menu_Setup_ReportTime; // 0 to 7
    QAction *Menu_Setup_Debug = nullptr;
    QAction *Menu_Setup_Log = nullptr;
    QAction *Menu_Reset = nullptr;
    QMenu *Menu_ZS = nullptr;
    QAction *Menu_ZS_Aktiv = nullptr;
    QAction *Menu_ZS_Einstellungen = nullptr;
    QMenu *Menu_Mode = nullptr;
    QAction *Menu_Mode_Zone2 = nullptr;
    QAction *Menu_Mode_Main = nullptr;
    QMenu *Menu_Sleep = nullptr;
    QAction *Menu_Sleep_Off = nullptr;
    QAction *Menu_Sleep_120 = nullptr;
    QAction *Menu_Sleep_90 = nullptr;
    QAction *Menu_Sleep_60 = nullptr;
    QAction *Menu_Sleep_30 = nullptr;
    QMenu *Menu_Volume = nullptr;
    QAction *Menu_Volume_Mute = nullptr;
    QAction *Menu_Volume_MuteZone2 = nullptr;
    QMenu *Menu_Volume_S = nullptr;
    ControlArray<QAction> Menu_Volume_Save; // 1 to 6
    QMenu *Menu_Volume_L = nullptr;
    ControlArray<QAction> Menu_Volume_Load; // 1 to 6
    QAction *Menu_Mini = nullptr;
    QMenu *Menu_Extras = nullptr;
    ControlArray<QAction> Menu_Extras_61_ES; // 1 to 3; item 3's data holds the shell command
    QAction *Menu_Extras_MT_Winamp = nullptr;
    QAction *Menu_Extras_MT_Orvane = nullptr;
    QAction *Menu_Extras_SendMessage = nullptr;
    QAction *Menu_Extras_YInfo = nullptr;
    QAction *Menu_AddIn = nullptr;
    QAction *Menu_Send = nullptr;     // hidden
    QMenu *Menu_MiniPopUp = nullptr;  // hidden; the mini window's pop-up
    QAction *Menu_MiniPopUp_POWER = nullptr;
    ControlArray<QAction> Menu_MiniPopUp_Input; // 1 to 14
    QMenu *Menu_MiniPopUp_Volume = nullptr;
    ControlArray<QAction> Menu_MiniPopUp_Volume_Load; // 1 to 6
    QAction *Menu_MiniPopUp_Zone2 = nullptr;
    QAction *Menu_MiniPopUp_Mute = nullptr;
    QAction *Menu_Ende = nullptr;
    QMenu *Menu_Fragezeichen = nullptr;
    QAction *Menu_Fragezeichen_Informationen = nullptr;
    QAction *Menu_Info = nullptr;

    // ---- Timers ----
    QTimer Timer_WinampView;
    QTimer Timer_CheckKeys;
    QTimer Timer_CheckTastenRepeat;
    QTimer Timer_Check;
    QTimer Timer_ZS;
    QTimer Timer_RePressKey;
    QString Timer_RePressKey_Tag;
};

inline bool MainWindowControls::zone2Mode() const
{
    return Menu_Mode_Zone2 && Menu_Mode_Zone2->isChecked();
}
