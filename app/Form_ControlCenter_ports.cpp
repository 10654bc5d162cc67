// The port dialog under Setup: which device or network bridge each COM port is.

#include "app/Form_ControlCenter.h"
#include "app/PortsDialog.h"
#include "errors/ErrorGuard.h"

namespace {
constexpr const char *kModule = "Form_ControlCenter";
} // namespace

void Form_ControlCenter::Menu_Setup_Ports_Click()
{
    guarded(kModule, "Menu_Setup_Ports_Click", [&] {
        PortsDialog dialog(m_platform.serialPorts, m_platform.settings, m_platform.dialogs, this);
        dialog.exec();
    });
}

void Form_ControlCenter::Menu_Setup_HomeAutomation_Click()
{
    guarded(kModule, "Menu_Setup_HomeAutomation_Click",
            [&] { emit homeAutomationSetupRequested(); });
}

void Form_ControlCenter::Menu_Setup_WebRemote_Click()
{
    guarded(kModule, "Menu_Setup_WebRemote_Click", [&] { emit webRemoteSetupRequested(); });
}
