#pragma once

#include <QCoreApplication>
#include <QString>
#include <functional>

class Form_YInfo;
class ProgramEvents;
class ReceiverLink;
class ReceiverReadings;
class SettingsStore;
class Shell;
class UserDialogs;
struct MainWindowControls;

// The main window's connection: connecting to the receiver and naming its model (the
// menus and buttons that go with it, the information window), leaving the connected
// state for whatever reason, the port and report-time menus and the receiver's reset.
class ConnectionControl
{
    Q_DECLARE_TR_FUNCTIONS(ConnectionControl)

public:
    // Marks a button the model lacks (a folded panel hides its buttons as well).
    static constexpr char kHiddenForModel[] = "hiddenForModel";

    // What it needs of the window beyond its controls.
    struct Window
    {
        // The model information window (made on first use).
        std::function<Form_YInfo *()> info;
        // A line of the program's own in the terminal window.
        std::function<void(const QString &line)> note;
        // Shows the settings snapshot on the panels (SetSettings).
        std::function<void()> showSettings;
        // Notes what the settings snapshot says outside the controls.
        std::function<void()> noteSettingsBlock;
        // Stops the volume's press-and-hold repeat.
        std::function<void()> stopRepeat;
    };

    ConnectionControl(MainWindowControls &ui, ReceiverLink &link, ProgramEvents &events,
                      ReceiverReadings &readings, SettingsStore *settings, UserDialogs *dialogs,
                      Shell *shell, Window window);

    // Connects when the port is closed (with `Sw1` 1 switching a receiver in standby on),
    // disconnects when it is open.
    void ConnectToOrvane(int Sw1);
    // Leaves the connected state: closes the port, disables the connected-only menus,
    // stops the poll and the volume repeat, frees the link and shows the two lines. The
    // same clean-up for a disconnect, a failed connect and a lost port.
    void closeConnection(const QString &line1, const QString &line2, bool resetCaption = true);
    // Sends the report-time command of item 0 to 7 of the report-time menu.
    void sendReportTime(int index);
    void SetMenu(bool enabled);
    void SetInputButtonVisible(const QString &modelCode);
    void Menu_Setup_Port_Click(int index);
    void Menu_Setup_ReportTime_Click(int index);
    void Menu_Reset_Click();
    void Menu_Extras_YInfo_Click();

    // The configuration block of the last successful connect: the model information.
    const QString &identification() const { return m_identification; }

private:
    MainWindowControls &m_ui;
    ReceiverLink &m_link;
    ProgramEvents &m_events;
    ReceiverReadings &m_readings;
    SettingsStore *m_settings;
    UserDialogs *m_dialogs;
    Shell *m_shell;
    Window m_window;
    QString m_identification;
    // Set by a completed connect, cleared by closeConnection.
    bool m_connected = false;
};
