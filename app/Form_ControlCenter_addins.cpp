#include "app/Form_ControlCenter.h"

#include "addins/AddInComponents.h"
#include "addins/AddInRuntime.h"
#include "addins/Form_AddIns.h"
#include "app/WindowProgramHost.h"
#include "errors/ErrorGuard.h"

namespace {
constexpr const char *kModule = "Form_ControlCenter";
}

void Form_ControlCenter::LoadAddIns()
{
    // Add-ins act on the program through this window from the moment they load.
    m_runtime.setHost(m_host.get());
    guarded(kModule, "LoadAddIns", [&] {
        m_addInComponents = std::make_unique<AddInComponents>(m_runtime);
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
    if (m_runtime.host() == m_host.get())
        m_runtime.setHost(nullptr);
}

void Form_ControlCenter::Menu_AddIn_Click()
{
    guarded(kModule, "Menu_AddIn_Click", [&] {
        if (!m_formAddIns)
            m_formAddIns = new Form_AddIns(m_runtime);
        m_formAddIns->ShowItems();
        m_formAddIns->show();
        m_formAddIns->raise();
        m_formAddIns->activateWindow();
    });
}
