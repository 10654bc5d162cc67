#pragma once

#include <QString>
#include <Qt>
#include <functional>

class ProgramEvents;
class ReceiverLink;
class ReceiverReadings;
struct MainWindowControls;

// The main window's volume: the display of a volume report, the steps and their
// press-and-hold repeat (Timer_RePressKey), mute, the memories, sleep, the power toggle
// and the keys of the mini window. Volume and power are kept nowhere but on the display
// and in ReceiverReadings: they show what the receiver last reported.
class VolumeControl
{
public:
    // The zone a volume report speaks of.
    enum class Zone { Main, Zone2 };

    // What it needs of the window beyond its controls.
    struct Window
    {
        // Evaluates the reports the link has read (a step's answer is one).
        std::function<void(const char *procedure)> evaluate;
        // Waits with events processed once (the window's Pause).
        std::function<void(float seconds)> pause;
        // Shows the settings snapshot on the panels (SetSettings).
        std::function<void()> showSettings;
    };

    VolumeControl(MainWindowControls &ui, ReceiverLink &link, ProgramEvents &events,
                  ReceiverReadings &readings, Window window);

    // Shows a volume report of one zone, its value 0 to 255.
    void DisplayVolume(Zone zone, int value);
    // One step of the zone the mode selects; its answer is shown at once.
    void VolUp();
    void VolDown();
    // Toggles the mute of zone 1 or 2, or of the zone the mode selects (0).
    void Mute(int zone);
    // A volume button: the right button mutes, the left one holds the repeat.
    void buttonDown(Qt::MouseButton button, const QString &tag, const char *procedure);
    void buttonUp(const char *procedure);
    // The press-and-hold repeat with the tag "UP" or "DOWN", and one tick of it.
    void startRepeat(const QString &tag);
    void stopRepeat();
    void repeatTick();
    // Memory A to F (1 to 6): saved, or recalled with "Volume A" on the display.
    void saveMemory(int index);
    void loadMemory(int index, const char *procedure);
    void setSleep(int minutes);
    // Switches the receiver on or off as its configuration block says it is.
    void togglePower();
    // Virtual-key codes: F4 to F9 recall a memory, F12 mutes.
    void CheckKey(int keyCode);

private:
    MainWindowControls &m_ui;
    ReceiverLink &m_link;
    ProgramEvents &m_events;
    ReceiverReadings &m_readings;
    Window m_window;
};
