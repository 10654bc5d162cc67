#pragma once

#include <QString>

class PlayerRemote;

// The program's operations on the media player, for the main window, the time control
// and the add-ins. Each takes the platform's player remote and does nothing (finds no
// player, gives empty text or status 0) when there is none.
namespace Modul_Winamp {

// The title suffix a player's window adds, cut before the title is shown.
inline constexpr char16_t kTitleSuffix[] = u" - Winamp";

// True when a player is running.
bool FindWinamp(PlayerRemote *player);
// The player's whole title line; empty without a player.
QString GetWindowTitle(PlayerRemote *player);
// The title line with every occurrence of the suffix removed, in any letter case.
QString GetWinampTitle(PlayerRemote *player);
QString WithoutTitleSuffix(const QString &title);
// Sends a player command identifier and returns at once.
void WinampSendCommand(PlayerRemote *player, int commandId);
// 0 stopped (also without a player), 1 playing, 3 paused.
int WinampGetStatus(PlayerRemote *player);

} // namespace Modul_Winamp
