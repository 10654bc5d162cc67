#include "app/Form_ControlCenter.h"

#include "addins/AddInComponents.h"
#include "addins/Form_AddIns.h"
#include "addins/clsAddIn.h"
#include "errors/ErrorGuard.h"

namespace {
constexpr const char *kModule = "Form_ControlCenter";
}

void Form_ControlCenter::LoadAddIns()
{
    // Add-ins act on the program through this window from the moment they load.
    clsAddIn::setHost(this);
    guarded(kModule, "LoadAddIns", [&] {
        m_addInComponents = std::make_unique<AddInComponents>();
        m_addInComponents->LoadAddIns();
    });
}

void Form_ControlCenter::releaseAddIns()
{
    ignoringErrors([&] {
        if (m_addInComponents)
            m_addInComponents->release();
    });
    delete m_formAddIns.data();
    if (clsAddIn::host() == this)
        clsAddIn::setHost(nullptr);
}

void Form_ControlCenter::Menu_AddIn_Click()
{
    guarded(kModule, "Menu_AddIn_Click", [&] {
        if (!m_formAddIns)
            m_formAddIns = new Form_AddIns();
        m_formAddIns->ShowItems();
        m_formAddIns->show();
        m_formAddIns->raise();
        m_formAddIns->activateWindow();
    });
}
