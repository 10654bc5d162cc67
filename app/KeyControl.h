#pragma once

#include <QPointer>
#include <QString>
#include <functional>

class KeyState;
class MediaKeyInput;
class PlayerRemote;
class QKeyEvent;
class QWidget;
class VolumeControl;
struct MainWindowControls;

// The main window's keys: the global media keys while a "Multimedia Keycontrol" option
// is checked (each press runs one tick of Timer_CheckKeys, so nothing runs while no key
// is pressed) and the numeric keypad's plus and minus while the window has the focus.
class KeyControl
{
public:
    // What it needs of the window beyond its controls.
    struct Window
    {
        // Waits with events processed once (the window's Pause).
        std::function<void(float seconds)> pause;
        // A line of the program's own in the terminal window.
        std::function<void(const QString &line)> note;
    };

    // `window` is the main window: the key input lives with it.
    KeyControl(MainWindowControls &ui, QWidget &window, KeyState *keys, PlayerRemote *player,
               VolumeControl &volume, Window hooks);

    // One tick of Timer_CheckKeys: acts on the presses seen since the last one.
    void Timer_CheckKeys_Timer();
    // Watches the keys the checked options want; the first call sets the watch up.
    void updateKeyWatch();
    // Keypad plus and minus step the volume once per press; true when the key was one.
    bool keyPressed(const QKeyEvent &event);

private:
    MainWindowControls &m_ui;
    QWidget &m_window;
    KeyState *m_keys;
    PlayerRemote *m_player;
    VolumeControl &m_volume;
    Window m_hooks;
    bool m_checkingKeys = false; // a key tick is running
    QPointer<MediaKeyInput> m_mediaKeys; // made by the first updateKeyWatch
};
