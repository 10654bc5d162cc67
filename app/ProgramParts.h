#pragma once

#include "timecontrol/TimeControlLink.h"

#include <memory>

class AddInRuntime;
class AddInWiring;
class Form_ControlCenter;
class MqttBridge;
class ProgramValues;
class ReceiverLink;
class TimeControlScheduler;
class WebServer;
struct Platform;

// The program built from its parts, each handed only what it needs: the link (on the
// platform's serial port), the main window (the link's host; its host() is the
// features' ProgramHost), the MQTT bridge and the time control's scheduler (on ProgramHost and
// the link), the web remote (the same), and the add-ins' wiring (on ProgramEvents). Modul_Orvane::Main builds one
// while the program runs, the tests' window fixture builds the same. A feature beside
// the bridge is one more member here; the window does not know it.
class ProgramParts
{
public:
    ProgramParts(const Platform &platform, AddInRuntime &runtime, ProgramValues &values);
    ~ProgramParts();
    ProgramParts(const ProgramParts &) = delete;
    ProgramParts &operator=(const ProgramParts &) = delete;

    Form_ControlCenter &window() const { return *m_window; }
    ReceiverLink &link() const { return *m_link; }
    MqttBridge &bridge() const { return *m_bridge; }
    WebServer &web() const { return *m_web; }

private:
    // Built in this order and released the other way round: the window before the link.
    std::unique_ptr<ReceiverLink> m_link;
    std::unique_ptr<Form_ControlCenter> m_window;
    std::unique_ptr<AddInWiring> m_addIns;
    std::unique_ptr<MqttBridge> m_bridge;
    std::unique_ptr<WebServer> m_web;
    std::unique_ptr<TimeControlLink> m_timeControlLink;
    std::unique_ptr<TimeControlScheduler> m_timeControlScheduler;
};
