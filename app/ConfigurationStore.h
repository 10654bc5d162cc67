#pragma once

#include <QString>
#include <functional>

class ReceiverLink;
class SettingsStore;
struct MainWindowControls;

// The main window's configuration in the settings store: the port, the report time, the
// mode, the 6.1/ES key's option and shell command, the terminal and the media-key
// options. Read once at the load, written at the unload.
class ConfigurationStore
{
public:
    // The 6.1/ES key's shell command until one is set.
    static inline const QString kDefaultShell = QStringLiteral("c:\\windows\\system32\\calc.exe");

    // What it needs of the window beyond its controls.
    struct Window
    {
        // Shows the panels of the mode the "Mode" menu has checked.
        std::function<void()> showZoneMode;
        // Shows or hides the terminal window.
        std::function<void(bool shown)> showTerminal;
    };

    ConfigurationStore(MainWindowControls &ui, ReceiverLink &link, SettingsStore *settings,
                       Window window);

    // Each key on its own: a value that names no item is reported and the rest still load.
    void LoadConfig();
    // Always the same keys in the same order; a store that cannot be written is an error.
    void SaveConfig();

private:
    MainWindowControls &m_ui;
    ReceiverLink &m_link;
    SettingsStore *m_settings;
    Window m_window;
};
