// The port dialog under Setup: which device or network bridge each COM port is.

#include "app/Form_ControlCenter.h"
#include "app/PortsDialog.h"
#include "errors/ErrorGuard.h"
#include "mqtt/MqttBridge.h"
#include "mqtt/MqttDialog.h"
#include "web/WebRemoteDialog.h"
#include "web/WebServer.h"

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
    guarded(kModule, "Menu_Setup_HomeAutomation_Click", [&] {
        MqttDialog dialog(m_platform.settings, m_platform.secrets, m_platform.dialogs,
                          m_bridge->password(), this);
        if (dialog.exec() == QDialog::Accepted)
            m_bridge->start();
    });
}

void Form_ControlCenter::Menu_Setup_WebRemote_Click()
{
    guarded(kModule, "Menu_Setup_WebRemote_Click", [&] {
        WebRemoteDialog dialog(m_platform.settings, m_platform.secrets, m_platform.dialogs,
                               m_web.get(), this);
        if (dialog.exec() == QDialog::Accepted)
            m_web->start();
    });
}
