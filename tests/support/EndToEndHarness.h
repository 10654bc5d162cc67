#pragma once

#include "FakeSettingsStore.h"
#include "PrivateBus.h"
#include "ReceiverProcess.h"
#include "XvfbProcess.h"

#include <QByteArray>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>

class SerialPort;

// What an end-to-end test runs against, all of it the test's own and ended with it: the
// virtual receiver on a pseudo-terminal (or TCP), a configuration folder, optionally a
// private session bus and a virtual X server, and either the real program started as a
// user starts it or the real serial port for a window inside the test.
class EndToEndHarness
{
public:
    EndToEndHarness();
    ~EndToEndHarness();
    EndToEndHarness(const EndToEndHarness &) = delete;
    EndToEndHarness &operator=(const EndToEndHarness &) = delete;

    // A program in the build directory named by ORVANE_BUILD_DIR.
    static QString binary(const QString &name);
    // Why the program or the receiver cannot run (not built, ORVANE_BUILD_DIR unset), or
    // empty when both can.
    static QString missing();

    // Each returns false, with errorString(), when the part does not start.
    bool startReceiver(const QStringList &arguments = {});
    bool startBus();
    bool startDisplay();
    QString errorString() const { return m_error; }

    ReceiverProcess &receiver() { return m_receiver; }
    PrivateBus &bus() { return m_bus; }
    XvfbProcess &display() { return m_display; }

    // The program's configuration file: the given sections, then COM 1 on the receiver
    // when one runs.
    bool writeSettings(const QByteArray &sections = {});
    QString settingsPath() const;
    QString savedSettings() const;

    // The program's environment: this bus (or the system's), the configuration and state
    // folders, and this display or none (offscreen).
    QProcessEnvironment environment() const;
    bool startProgram(const QStringList &arguments = {});
    QProcess &program() { return m_program; }

    // The real serial port with COM 1 on the receiver, for a window the test builds, and
    // the settings that name it.
    SerialPort *serialPort();
    FakeSettingsStore &portSettings() { return m_portSettings; }

    // Kills the program and the receiver, as after a test; the folder stays.
    void stop();

private:
    QTemporaryDir m_config;
    PrivateBus m_bus;
    XvfbProcess m_display;
    ReceiverProcess m_receiver;
    FakeSettingsStore m_portSettings;
    std::unique_ptr<SerialPort> m_port;
    QProcess m_program;
    bool m_busRunning = false;
    bool m_displayRunning = false;
    QString m_error;
};
