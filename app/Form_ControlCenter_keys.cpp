// Hot keys, media keys, the player's title, the traffic switches and the extras.

#include "app/Form_ControlCenter.h"
#include "app/MediaKeyInput.h"
#include "errors/ErrorGuard.h"
#include "link/Form_Com.h"
#include "link/ReceiverLink.h"
#include "platform/KeyState.h"
#include "platform/PlayerRemote.h"
#include "platform/Shell.h"
#include "platform/UserDialogs.h"
#include "player/Modul_Winamp.h"

#include <QAction>
#include <QKeyEvent>
#include <QLabel>
#include <QPointer>
#include <cstdio>

namespace {
constexpr const char *kModule = "Form_ControlCenter";

// Virtual-key codes of the global keys.
constexpr int kKeypadPlus = 107;
constexpr int kKeypadMinus = 109;
constexpr int kVolumeMute = 173;
constexpr int kVolumeDown = 174;
constexpr int kVolumeUp = 175;
constexpr int kNextTrack = 176;
constexpr int kPreviousTrack = 177;
constexpr int kStop = 178;
constexpr int kPlayPause = 179;

constexpr const char *kNoGlobalKeys
    = "Global keys are unavailable on this desktop: only the keys of the focused Orvane "
      "window work.";
} // namespace

void Form_ControlCenter::Timer_CheckKeys_Timer()
{
    KeyState *keys = m_platform.keys;
    MediaKeyInput *media = m_mediaKeys;
    if (!media)
        return;
    // A tick that pauses lets events run; presses seen meanwhile wait for the next tick.
    if (m_checkingKeys) {
        Timer_CheckKeys.start();
        return;
    }
    m_checkingKeys = true;
    guarded(kModule, "Timer_CheckKeys_Timer", [&] {
        PlayerRemote *player = m_platform.player;
        if (!Menu_Extras_MT_Winamp->isChecked() || !Modul_Winamp::FindWinamp(player)) {
            // Presses with no player to drive are dropped, not kept for a later player.
            for (int key : {kStop, kPlayPause, kNextTrack, kPreviousTrack})
                media->wentDown(key);
            return;
        }
        auto show = [this](const QString &text) {
            Line1->setText(QString());
            Line2->setText(text);
        };
        if (media->wentDown(kStop)
            && Modul_Winamp::WinampGetStatus(player) == PlayerRemote::Playing) {
            Modul_Winamp::WinampSendCommand(player, PlayerRemote::Stop);
            show(QStringLiteral("Winamp stop"));
        }
        if (media->wentDown(kPlayPause)) {
            // The status is the one last reported by the player, so one branch acts.
            if (Modul_Winamp::WinampGetStatus(player) == PlayerRemote::Stopped) {
                Modul_Winamp::WinampSendCommand(player, PlayerRemote::Play);
                show(QStringLiteral("Winamp play"));
            }
            if (Modul_Winamp::WinampGetStatus(player) == PlayerRemote::Playing) {
                Modul_Winamp::WinampSendCommand(player, PlayerRemote::Pause);
                show(QStringLiteral("Winamp pause"));
            }
            if (Modul_Winamp::WinampGetStatus(player) == PlayerRemote::Paused) {
                Modul_Winamp::WinampSendCommand(player, PlayerRemote::Pause);
                show(QStringLiteral("Winamp play"));
            }
        }
        if (media->wentDown(kNextTrack)) {
            Modul_Winamp::WinampSendCommand(player, PlayerRemote::Next);
            show(QStringLiteral("Winamp next"));
            Pause(0.5f);
        }
        if (media->wentDown(kPreviousTrack)) {
            Modul_Winamp::WinampSendCommand(player, PlayerRemote::Previous);
            show(QStringLiteral("Winamp prev"));
            Pause(0.5f);
        }
    });
    guarded(kModule, "Timer_CheckKeys_Timer", [&] {
        const bool on = Menu_Extras_MT_Orvane->isChecked();
        if (media->wentDown(kVolumeDown) && on)
            VolDown();
        if (media->wentDown(kVolumeUp) && on)
            VolUp();
        if (media->wentDown(kVolumeMute) && on)
            Mute(0);
        // The keypad keys act as key events of this window (keyPressEvent).
        if (keys) {
            keys->wentDown(kKeypadPlus);
            keys->wentDown(kKeypadMinus);
        }
    });
    m_checkingKeys = false;
}

void Form_ControlCenter::keyPressEvent(QKeyEvent *event)
{
    // One step per press: the held key's repeats are not steps.
    if (event->modifiers().testFlag(Qt::KeypadModifier) && !event->isAutoRepeat()) {
        if (event->key() == Qt::Key_Plus) {
            guarded(kModule, "Timer_CheckKeys_Timer", [&] { VolUp(); });
            return;
        }
        if (event->key() == Qt::Key_Minus) {
            guarded(kModule, "Timer_CheckKeys_Timer", [&] { VolDown(); });
            return;
        }
    }
    QMainWindow::keyPressEvent(event);
}

void Form_ControlCenter::updateKeyWatch()
{
    if (!m_mediaKeys) {
        // A press, global or in a focused window, starts one tick.
        m_mediaKeys = new MediaKeyInput(
            m_platform.keys,
            [window = QPointer<Form_ControlCenter>(this)] {
                if (window && !window->Timer_CheckKeys.isActive())
                    window->Timer_CheckKeys.start();
            },
            this);
        if (m_platform.keys) {
            m_platform.keys->whenUnavailable([window = QPointer<Form_ControlCenter>(this)] {
                std::fprintf(stderr, "Orvane: %s\n", kNoGlobalKeys);
                if (window)
                    window->noteInTerminal(QString::fromLatin1(kNoGlobalKeys));
            });
            m_platform.keys->whenNotice(
                [window = QPointer<Form_ControlCenter>(this)](const QString &text) {
                    std::fprintf(stderr, "Orvane: %s\n", qPrintable(text));
                    if (window)
                        window->noteInTerminal(text);
                });
        }
    }
    QList<int> wanted;
    if (Menu_Extras_MT_Winamp->isChecked())
        wanted << kStop << kPlayPause << kNextTrack << kPreviousTrack;
    if (Menu_Extras_MT_Orvane->isChecked())
        wanted << kVolumeDown << kVolumeUp << kVolumeMute;
    m_mediaKeys->watch(wanted);
    if (wanted.isEmpty())
        Timer_CheckKeys.stop();
}

void Form_ControlCenter::Timer_WinampView_Timer()
{
    guarded(kModule, "Timer_WinampView_Timer", [&] {
        const QString title = Modul_Winamp::GetWinampTitle(m_platform.player);
        if (!title.isEmpty() && title != lblWinAmp->text()) {
            lblWinAmp->setText(title);
            lblWinAmp->show();
            lblWinAmp->raise();
        } else {
            lblWinAmp->hide();
        }
    });
}

void Form_ControlCenter::playerButton(const char *procedure, int command)
{
    guarded(kModule, procedure, [&] {
        if (Modul_Winamp::FindWinamp(m_platform.player))
            Modul_Winamp::WinampSendCommand(m_platform.player, command);
    });
}

void Form_ControlCenter::Menu_Extras_61_ES_Click(int index)
{
    guarded(kModule, "Menu_Extras_61_ES_Click", [&] {
        if (Menu_Extras_61_ES(index)->isChecked()) {
            Menu_Extras_61_ES(index)->setChecked(false);
            return;
        }
        for (int i = 1; i <= Menu_Extras_61_ES.ubound(); ++i)
            Menu_Extras_61_ES(i)->setChecked(false);
        Menu_Extras_61_ES(index)->setChecked(true);
        if (index != 3)
            return;
        QAction *shell = Menu_Extras_61_ES(3);
        const std::optional<QString> answer = m_platform.dialogs->inputBox(
            QStringLiteral("Shell Command with full Path: "), QStringLiteral("Shell Command"),
            shell->data().toString());
        if (answer && !answer->isEmpty())
            shell->setData(*answer);
        else
            shell->setChecked(false);
    });
}

void Form_ControlCenter::Menu_Extras_MT_Winamp_Click()
{
    guarded(kModule, "Menu_Extras_MT_Winamp_Click",
            [&] { Menu_Extras_MT_Winamp->setChecked(!Menu_Extras_MT_Winamp->isChecked()); });
}

void Form_ControlCenter::Menu_Extras_MT_Orvane_Click()
{
    guarded(kModule, "Menu_Extras_MT_Orvane_Click",
            [&] { Menu_Extras_MT_Orvane->setChecked(!Menu_Extras_MT_Orvane->isChecked()); });
}

void Form_ControlCenter::RunShellCommand()
{
    // A command that cannot be started is ignored without a message.
    ignoringErrors([&] {
        const QString command = Menu_Extras_61_ES(3)->data().toString();
        if (!command.isEmpty() && m_platform.shell)
            m_platform.shell->startCommand(command);
    });
}

void Form_ControlCenter::Menu_Extras_SendMessage_Click()
{
    guarded(kModule, "Menu_Extras_SendMessage_Click", [&] {
        const std::optional<QString> answer = m_platform.dialogs->inputBox(
            QStringLiteral("Text to send display:\r\n\r\nMax. 16 characters\r\nThis function "
                           "works only at newer Orvane models"),
            QStringLiteral("Text to display - Beta"), QString());
        if (answer && !answer->isEmpty()) {
            QString message = *answer;
            m_link->SendMessage(message);
        }
    });
}

void Form_ControlCenter::Menu_Send_Click()
{
    guarded(kModule, "Menu_Send_Click", [&] {
        QString message = QStringLiteral("Hello01234567890");
        m_link->SendMessage(message);
    });
}

void Form_ControlCenter::Menu_Setup_Debug_Click()
{
    guarded(kModule, "Menu_Setup_Debug_Click", [&] {
        if (!Menu_Setup_Debug->isChecked()) {
            Menu_Setup_Debug->setChecked(true);
            m_com->show();
            m_com->raise();
        } else {
            Menu_Setup_Debug->setChecked(false);
            m_com->hide();
        }
    });
}

void Form_ControlCenter::Menu_Setup_Log_Click()
{
    guarded(kModule, "Menu_Setup_Log_Click", [&] {
        if (!Menu_Setup_Log->isChecked()) {
            Menu_Setup_Log->setChecked(true);
            // Each logging session starts with a fresh file.
            m_link->startLogFile();
        } else {
            Menu_Setup_Log->setChecked(false);
            m_link->stopLogFile();
        }
    });
}
