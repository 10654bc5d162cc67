#pragma once

#include <QProcess>
#include <QProcessEnvironment>
#include <QString>

// A session bus of the test's own: a dbus-daemon with the session configuration,
// reachable only through its address, ended with the test. Nothing of the user's
// desktop session is touched.
class PrivateBus
{
public:
    PrivateBus() = default;
    ~PrivateBus();
    PrivateBus(const PrivateBus &) = delete;
    PrivateBus &operator=(const PrivateBus &) = delete;

    // Starts the daemon and waits for its address. False, with errorString(), when
    // dbus-daemon is not installed or does not start.
    bool start();
    void stop();
    QString address() const { return m_address; }
    QString errorString() const { return m_error; }
    // The system environment with this bus as the session bus, for child programs.
    QProcessEnvironment environment() const;

private:
    QProcess m_daemon;
    QString m_address;
    QString m_error;
};
