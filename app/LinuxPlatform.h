#pragma once

#include "platform/Platform.h"

#include <QStringView>
#include <memory>

class DesktopShell;
class KeychainSecretStore;
class PlayerRemote;
class QSettingsStore;
class QtSerialPortList;
class UserDialogs;
class SystemClock;
class KeyState;

// The start-up's assembly of the Linux platform: owns the desktop implementations of the
// platform services and picks among them (the MPRIS player remote, the X11 key source,
// dialogs that only log when there is no screen).
// The serial port lives in another part of the program: set it in platform() before use.
// The player remote talks to media players on the session bus, or never finds one when
// there is no such bus.
class LinuxPlatform
{
public:
    LinuxPlatform();
    ~LinuxPlatform();
    LinuxPlatform(const LinuxPlatform &) = delete;
    LinuxPlatform &operator=(const LinuxPlatform &) = delete;

    Platform &platform() { return m_platform; }
    // False when Qt runs without a screen (the offscreen or minimal platform, as the
    // service does): no box can be shown, and none may be waited on.
    static bool hasScreen();
    // Whether Qt's platform plugin `name` (as QT_QPA_PLATFORM or -platform give it, options
    // included) shows windows on a screen.
    static bool isScreenPlatform(QStringView name);

private:
    std::unique_ptr<QSettingsStore> m_settings;
    std::unique_ptr<UserDialogs> m_dialogs;
    std::unique_ptr<KeyState> m_keys;
    std::unique_ptr<PlayerRemote> m_player;
    std::unique_ptr<DesktopShell> m_shell;
    std::unique_ptr<SystemClock> m_clock;
    std::unique_ptr<QtSerialPortList> m_serialPorts;
    std::unique_ptr<KeychainSecretStore> m_secrets;
    Platform m_platform;
};
