#include "app/ProgramParts.h"

#include "addins/AddInWiring.h"
#include "app/Form_ControlCenter.h"
#include "errors/ErrorGuard.h"
#include "link/ReceiverLink.h"
#include "mqtt/MqttBridge.h"
#include "mqtt/MqttDialog.h"
#include "platform/Platform.h"
#include "timecontrol/TimeControlScheduler.h"
#include "web/WebRemoteDialog.h"
#include "web/WebServer.h"

#include <QDialog>

namespace {
constexpr const char *kModule = "Form_ControlCenter";
} // namespace

ProgramParts::ProgramParts(const Platform &platform, AddInRuntime &runtime, ProgramValues &values)
{
    // The link, its terminal window and the mini window live, hidden, as long as the
    // main window.
    m_link = std::make_unique<ReceiverLink>(platform.serialPort, nullptr, platform.dialogs);
    m_window = std::make_unique<Form_ControlCenter>(platform, runtime, values, *m_link);
    Form_ControlCenter *window = m_window.get();
    ProgramHost &host = window->host();
    m_addIns = std::make_unique<AddInWiring>(*host.events(), runtime);

    // The home-automation bridge; connects only when a broker is configured, from the
    // moment the window has read its configuration, and again with new settings.
    m_bridge = std::make_unique<MqttBridge>(host, m_link.get(), platform.settings, platform.secrets,
                                            platform.clock);
    MqttBridge *bridge = m_bridge.get();
    QObject::connect(window, &Form_ControlCenter::configurationLoaded, bridge,
                     [bridge] { guarded(kModule, "Form_Load", [&] { bridge->start(); }); });
    QObject::connect(window, &Form_ControlCenter::homeAutomationSetupRequested, bridge,
                     [bridge, window, platform] {
                         guarded(kModule, "Menu_Setup_HomeAutomation_Click", [&] {
                             MqttDialog dialog(platform.settings, platform.secrets,
                                               platform.dialogs, bridge->password(), window);
                             if (dialog.exec() == QDialog::Accepted)
                                 bridge->start();
                         });
                     });

    // The web remote; listens only when an address is configured, from the same moment.
    m_web = std::make_unique<WebServer>(host, m_link.get(), platform.settings, platform.secrets,
                                        platform.clock);
    WebServer *web = m_web.get();
    QObject::connect(window, &Form_ControlCenter::configurationLoaded, web,
                     [web] { guarded(kModule, "Form_Load", [&] { web->start(); }); });
    QObject::connect(window, &Form_ControlCenter::webRemoteSetupRequested, web,
                     [web, window, platform] {
                         guarded(kModule, "Menu_Setup_WebRemote_Click", [&] {
                             WebRemoteDialog dialog(platform.settings, platform.secrets,
                                                    platform.dialogs, web, window);
                             if (dialog.exec() == QDialog::Accepted)
                                 web->start();
                         });
                     });

    // The answer to a scheduled command is the receiver's report of the change. The link
    // has cut it with everything it read, so the window and the add-ins see the
    // receiver's new state at once; when the tick runs inside an evaluation's wait, it
    // follows that evaluation.
    ReceiverLink *link = m_link.get();
    m_timeControlLink = std::make_unique<LinkAdapter<ReceiverLink>>(
        [link] { return link; },
        [window](const QString &) { window->evaluateReceived("Timer_ZS_Timer"); });
    m_timeControlScheduler = std::make_unique<TimeControlScheduler>(
        m_timeControlLink.get(), platform.player, platform.clock,
        [&host](const QString &text) { host.setLine2Text(text); });
    window->setTimeControlScheduler(m_timeControlScheduler.get());
}

ProgramParts::~ProgramParts()
{
    // The window lets go of the scheduler and the bridge before they go.
    m_window->setTimeControlScheduler(nullptr);
}
