#include "platform/PlayerRemote.h"

#include <array>
#include <utility>

namespace {

using Action = PlayerRemote::Action;

// Command identifiers with a meaning for a player; the others (dialogs and views of a
// player's own window) have nothing to act on.
constexpr std::array<std::pair<int, Action>, 10> kActions {{
    {PlayerRemote::Play, Action::PlayFromStart},
    {PlayerRemote::Pause, Action::TogglePause},
    {PlayerRemote::Stop, Action::Stop},
    {PlayerRemote::Next, Action::Next},
    {PlayerRemote::Previous, Action::Previous},
    {PlayerRemote::SeekForward, Action::SeekForward},
    {PlayerRemote::SeekBack, Action::SeekBack},
    {PlayerRemote::VolumeUp, Action::VolumeUp},
    {PlayerRemote::VolumeDown, Action::VolumeDown},
    {PlayerRemote::Quit, Action::Quit},
}};

} // namespace

PlayerRemote::~PlayerRemote() = default;

std::optional<PlayerRemote::Action> PlayerRemote::actionFor(int commandId)
{
    for (const auto &[id, action] : kActions)
        if (id == commandId)
            return action;
    return std::nullopt;
}

int PlayerRemote::commandIdFor(Action action)
{
    for (const auto &[id, known] : kActions)
        if (known == action)
            return id;
    return 0;
}

void PlayerRemote::postCommand(int commandId)
{
    if (const std::optional<Action> action = actionFor(commandId))
        perform(*action);
}

void PlayerRemote::perform(Action action)
{
    switch (action) {
    case Action::PlayFromStart:
        playFromStart();
        break;
    case Action::TogglePause:
        togglePause();
        break;
    case Action::Stop:
        stop();
        break;
    case Action::Next:
        next();
        break;
    case Action::Previous:
        previous();
        break;
    case Action::SeekForward:
        seekForward();
        break;
    case Action::SeekBack:
        seekBack();
        break;
    case Action::VolumeUp:
        volumeUp();
        break;
    case Action::VolumeDown:
        volumeDown();
        break;
    case Action::Quit:
        quit();
        break;
    }
}
