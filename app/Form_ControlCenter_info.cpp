// The about and information windows of the "?" menu.

#include "app/Form_ControlCenter.h"
#include "app/Form_Informationen.h"
#include "app/Form_Intro.h"
#include "errors/ErrorGuard.h"

namespace {
constexpr const char *kModule = "Form_ControlCenter";
}

void Form_ControlCenter::Menu_Info_Click()
{
    guarded(kModule, "Menu_Info_Click", [&] { showIntro(false); });
}

void Form_ControlCenter::Menu_Fragezeichen_Informationen_Click()
{
    guarded(kModule, "Menu_Fragezeichen_Informationen_Click", [&] {
        if (!m_informationen)
            m_informationen = new Form_Informationen(this);
        m_informationen->show();
        m_informationen->raise();
        m_informationen->activateWindow();
    });
}

void Form_ControlCenter::showIntro(bool modal)
{
    if (!m_intro)
        m_intro = new Form_Intro(this);
    // A modal about window blocks the other windows but not the caller: an outside
    // program asking for it gets its answer at once. Asking again while it is open only
    // raises it.
    if (!m_intro->isVisible())
        m_intro->setWindowModality(modal ? Qt::ApplicationModal : Qt::NonModal);
    m_intro->show();
    m_intro->raise();
    m_intro->activateWindow();
}
