// The about and information windows of the "?" menu.

#include "app/Form_ControlCenter.h"
#include "app/Form_Informationen.h"
#include "app/Form_Intro.h"
#include "errors/ErrorGuard.h"

#include <QEventLoop>

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
    const Qt::WindowModality modality = modal ? Qt::ApplicationModal : Qt::NonModal;
    if (m_intro->windowModality() != modality) {
        // The modality of a shown window changes only when it is shown again.
        m_intro->hide();
        m_intro->setWindowModality(modality);
    }
    m_intro->show();
    m_intro->raise();
    m_intro->activateWindow();
    if (!modal)
        return;
    // Waits for the window to close; events keep running meanwhile.
    QEventLoop loop;
    connect(m_intro, &QObject::destroyed, &loop, &QEventLoop::quit);
    loop.exec();
}
