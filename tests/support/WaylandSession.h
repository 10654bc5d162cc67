#pragma once

#include "PrivateBus.h"
#include "ReceiverProcess.h"

#include <QDBusConnection>
#include <QProcess>
#include <QTemporaryDir>

// The real program with both media-key options on, on a headless Wayland compositor
// (weston) with a private runtime folder and session bus, connected on COM 1 to the
// virtual receiver; with or without the tests' stand-in for the desktop portal.
class WaylandSession
{
public:
    WaylandSession() = default;
    ~WaylandSession();
    WaylandSession(const WaylandSession &) = delete;
    WaylandSession &operator=(const WaylandSession &) = delete;

    // Why the compositor or Qt's Wayland platform cannot run here, or empty when they can.
    static QString missing();
    // Starts everything and waits until the program has switched the receiver's reports
    // on; false, with errorString(), when a part does not come up.
    bool start(bool portal);
    QString errorString() const { return m_error; }

    // The id under which the program bound the shortcut with this preferred trigger, empty
    // while it has not.
    QString boundShortcut(const QString &trigger);
    // The stand-in reports the shortcut going down or up.
    void activate(const QString &id, bool down);

    ReceiverProcess &receiver() { return m_receiver; }
    QProcess &program() { return m_program; }

private:
    bool fail(const QString &error);

    PrivateBus m_bus;
    QTemporaryDir m_runtime;
    QTemporaryDir m_config;
    QProcess m_weston;
    QProcess m_portal;
    ReceiverProcess m_receiver;
    QProcess m_program;
    QDBusConnection m_connection {QString()};
    QString m_error;
};
