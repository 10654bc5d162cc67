#pragma once

#include "platform/Platform.h"

#include <memory>

class DesktopShell;
class NoPlayerRemote;
class QSettingsStore;
class QtSerialPortList;
class QtUserDialogs;
class SystemClock;
class X11KeyState;

// Owns the desktop implementations of the platform services. The serial port and the
// player remote live in other parts of the program: set them in platform() before use
// (the player defaults to one that never finds a player).
class LinuxPlatform
{
public:
    LinuxPlatform();
    ~LinuxPlatform();
    LinuxPlatform(const LinuxPlatform &) = delete;
    LinuxPlatform &operator=(const LinuxPlatform &) = delete;

    Platform &platform() { return m_platform; }

private:
    std::unique_ptr<QSettingsStore> m_settings;
    std::unique_ptr<QtUserDialogs> m_dialogs;
    std::unique_ptr<X11KeyState> m_keys;
    std::unique_ptr<NoPlayerRemote> m_noPlayer;
    std::unique_ptr<DesktopShell> m_shell;
    std::unique_ptr<SystemClock> m_clock;
    std::unique_ptr<QtSerialPortList> m_serialPorts;
    Platform m_platform;
};
