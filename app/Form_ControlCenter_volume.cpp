// The way into the mini window and what the mini window asks of this one beyond the
// volume (VolumeControl).

#include "app/Form_ControlCenter.h"
#include "app/Form_Mini.h"
#include "errors/ErrorGuard.h"
#include "link/ReceiverLink.h"
#include "platform/UserDialogs.h"
#include "program/ProgramValues.h"

#include <QAction>
#include <QMenu>

namespace {
constexpr const char *kModule = "Form_ControlCenter";
} // namespace

void Form_ControlCenter::Menu_Mini_Click()
{
    guarded(kModule, "Menu_Mini_Click", [&] {
        if (!m_link->PortOpen()) {
            m_platform.dialogs->inform(tr("Connect first !"));
            return;
        }
        m_values.setMiniMode(true);
        hide();
        m_mini->show();
    });
}

void Form_ControlCenter::showMiniPopUp(const QPoint &globalPosition)
{
    Menu_MiniPopUp_Zone2->setChecked(Menu_Mode_Zone2->isChecked());
    Menu_MiniPopUp->popup(globalPosition);
}

void Form_ControlCenter::showMainWindow()
{
    show();
}
