#pragma once

#include <QString>

// A running media player that can be found, asked for its title and status and
// sent command identifiers (40045 play, 40046 pause, 40047 stop, 40048 next,
// 40198 previous, 40060, 40061).
class PlayerRemote
{
public:
    enum Status { Stopped = 0, Playing = 1, Paused = 3 };
    // Command identifiers posted to the player.
    enum Command {
        Play = 40045,
        Pause = 40046,
        Stop = 40047,
        Next = 40048,
        Previous = 40198,
        NextAlternative = 40060,
        PreviousAlternative = 40061,
    };

    virtual ~PlayerRemote();
    virtual bool find() = 0;
    virtual QString title() = 0;
    virtual void postCommand(int commandId) = 0;
    virtual int status() = 0;
};

// The remote used when no player can be reached: never finds one.
class NoPlayerRemote final : public PlayerRemote
{
public:
    bool find() override { return false; }
    QString title() override { return {}; }
    void postCommand(int) override {}
    int status() override { return Stopped; }
};
