// The player's title and buttons, the traffic switches and the extras; the keys are
// KeyControl's.

#include "app/Form_ControlCenter.h"
#include "errors/ErrorGuard.h"
#include "link/Form_Com.h"
#include "link/ReceiverLink.h"
#include "platform/PlayerRemote.h"
#include "platform/Shell.h"
#include "platform/UserDialogs.h"
#include "player/Modul_Winamp.h"

#include <QAction>
#include <QKeyEvent>
#include <QLabel>

namespace {
constexpr const char *kModule = "Form_ControlCenter";
} // namespace

void Form_ControlCenter::keyPressEvent(QKeyEvent *event)
{
    if (!m_keys->keyPressed(*event))
        QMainWindow::keyPressEvent(event);
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
            tr("Shell Command with full Path: "), tr("Shell Command"), shell->data().toString());
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
            tr("Text to send display:") + QStringLiteral("\r\n\r\n") + tr("Max. 16 characters")
                + QStringLiteral("\r\n") + tr("This function works only at newer Orvane models"),
            tr("Text to display - Beta"), QString());
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
