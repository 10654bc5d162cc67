#include "player/Modul_Winamp.h"

#include "platform/PlayerRemote.h"

namespace Modul_Winamp {

bool FindWinamp(PlayerRemote *player)
{
    return player && player->find();
}

QString GetWindowTitle(PlayerRemote *player)
{
    return FindWinamp(player) ? player->title() : QString();
}

QString WithoutTitleSuffix(const QString &title)
{
    QString text = title;
    text.remove(QString::fromUtf16(kTitleSuffix), Qt::CaseInsensitive);
    return text;
}

QString GetWinampTitle(PlayerRemote *player)
{
    return WithoutTitleSuffix(GetWindowTitle(player));
}

void WinampSendCommand(PlayerRemote *player, int commandId)
{
    if (FindWinamp(player))
        player->postCommand(commandId);
}

int WinampGetStatus(PlayerRemote *player)
{
    return FindWinamp(player) ? player->status() : PlayerRemote::Stopped;
}

} // namespace Modul_Winamp
