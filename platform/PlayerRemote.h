#pragma once

#include <QString>
#include <optional>

// A running media player: found, asked for its title and status, and told what to do.
// Every answer comes at once from what the remote already knows, and every command goes
// out without waiting for the player, so a player that hangs never holds up the caller.
class PlayerRemote
{
public:
    enum Status { Stopped = 0, Playing = 1, Paused = 3 };

    // The player command identifiers callers and add-ins send (see postCommand).
    enum CommandId {
        Quit = 40001,
        OpenFileToPlay = 40029,
        TimeRemaining = 40037,
        TimeElapsed = 40038,
        OptionsPlaylistEditor = 40040,
        HelpAbout = 40041,
        PopupMenu = 40043,
        Play = 40045, // from the start of the track
        Pause = 40046, // toggles pause
        Stop = 40047,
        Next = 40048,
        VolumeUp = 40058,
        VolumeDown = 40059,
        SeekForward = 40060, // 5 seconds
        SeekBack = 40061, // 5 seconds
        OpenLocation = 40155,
        DoubleSize = 40165,
        OpenDirectory = 40187,
        ShowFileInfo = 40188,
        Preferences = 40191,
        Visualisation = 40192,
        JumpToTime = 40193,
        PlaylistJumpToFile = 40194,
        Previous = 40198,
        // The single clicks of the player buttons.
        NextAlternative = SeekForward,
        PreviousAlternative = SeekBack,
    };

    // What a player can be told to do; every command identifier that means something to a
    // player maps to one of these.
    enum class Action {
        PlayFromStart,
        TogglePause,
        Stop,
        Next,
        Previous,
        SeekForward,
        SeekBack,
        VolumeUp,
        VolumeDown,
        Quit,
    };

    virtual ~PlayerRemote();

    // True when a player is running.
    virtual bool find() = 0;
    // The current track as the player's title line; empty without a player.
    virtual QString title() = 0;
    // Stopped, Playing or Paused; Stopped without a player.
    virtual int status() = 0;

    // Plays the current track from its start.
    virtual void playFromStart() = 0;
    // Pauses a playing player and resumes a paused one; a stopped player stays stopped.
    virtual void togglePause() = 0;
    virtual void stop() = 0;
    virtual void next() = 0;
    virtual void previous() = 0;
    // Moves five seconds forward or back in the track.
    virtual void seekForward() = 0;
    virtual void seekBack() = 0;
    virtual void volumeUp() = 0;
    virtual void volumeDown() = 0;
    // Asks the player to end, where it allows that.
    virtual void quit() = 0;

    // Sends the action a command identifier stands for; identifiers without one do nothing.
    void postCommand(int commandId);
    void perform(Action action);

    static std::optional<Action> actionFor(int commandId);
    static int commandIdFor(Action action);
};

// The remote used when no player can be reached: never finds one.
class NoPlayerRemote final : public PlayerRemote
{
public:
    bool find() override { return false; }
    QString title() override { return {}; }
    int status() override { return Stopped; }
    void playFromStart() override { }
    void togglePause() override { }
    void stop() override { }
    void next() override { }
    void previous() override { }
    void seekForward() override { }
    void seekBack() override { }
    void volumeUp() override { }
    void volumeDown() override { }
    void quit() override { }
};
