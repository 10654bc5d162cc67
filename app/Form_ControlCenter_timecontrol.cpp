// The time control: its menu, its dialog and Timer_ZS, which fires the schedule.

#include "app/Form_ControlCenter.h"
#include "errors/ErrorGuard.h"
#include "link/ReceiverLink.h"
#include "platform/UserDialogs.h"
#include "timecontrol/Form_ZS.h"
#include "timecontrol/TimeControlScheduler.h"
#include "timecontrol/clsTimeControl.h"

#include <QAction>

namespace {
constexpr const char *kModule = "Form_ControlCenter";
}

void Form_ControlCenter::setTimeControlScheduler(TimeControlScheduler *scheduler)
{
    m_timeControlScheduler = scheduler;
}

void Form_ControlCenter::stopTimeControl()
{
    Timer_ZS.stop();
    if (m_zs)
        m_zs->close();
    oTimeControl.reset();
}

Form_ZS *Form_ControlCenter::zs() const
{
    return m_zs;
}

void Form_ControlCenter::Menu_ZS_Aktiv_Click()
{
    guarded(kModule, "Menu_ZS_Aktiv_Click", [&] {
        // Switching off needs the connection too: the item is left as it is.
        if (!m_link->PortOpen()) {
            m_platform.dialogs->inform(tr("Connect first !"));
            return;
        }
        const bool on = !Menu_ZS_Aktiv->isChecked();
        Menu_ZS_Aktiv->setChecked(on);
        if (on)
            Timer_ZS.start();
        else
            Timer_ZS.stop();
    });
}

void Form_ControlCenter::Menu_ZS_Einstellungen_Click()
{
    guarded(kModule, "Menu_ZS_Einstellungen_Click", [&] {
        if (!m_zs) {
            m_zs = new Form_ZS(
                m_platform.dialogs, m_platform.clock,
                [this](std::shared_ptr<clsTimeControl> schedule) {
                    oTimeControl = std::move(schedule);
                },
                m_values, this);
        }
        m_zs->show();
        m_zs->raise();
        m_zs->activateWindow();
    });
}

void Form_ControlCenter::Timer_ZS_Timer()
{
    if (m_timeControlScheduler)
        m_timeControlScheduler->tick(oTimeControl);
}
