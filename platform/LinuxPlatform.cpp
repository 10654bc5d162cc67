#include "platform/LinuxPlatform.h"

#include "platform/DesktopShell.h"
#include "platform/KeychainSecretStore.h"
#include "platform/PlayerRemote.h"
#include "platform/QSettingsStore.h"
#include "platform/QtSerialPortList.h"
#include "platform/QtUserDialogs.h"
#include "platform/SystemClock.h"
#include "platform/X11KeyState.h"
#include "player/MprisPlayerRemote.h"

#include <QDBusConnection>

LinuxPlatform::LinuxPlatform()
    : m_settings(std::make_unique<QSettingsStore>())
    , m_dialogs(std::make_unique<QtUserDialogs>())
    , m_keys(std::make_unique<X11KeyState>())
    , m_shell(std::make_unique<DesktopShell>())
    , m_clock(std::make_unique<SystemClock>())
    , m_serialPorts(std::make_unique<QtSerialPortList>())
    , m_secrets(std::make_unique<KeychainSecretStore>())
{
    m_platform.settings = m_settings.get();
    m_platform.dialogs = m_dialogs.get();
    m_platform.keys = m_keys.get();
    // Players are reached on the session bus; without one there is no player to find.
    const QDBusConnection bus = QDBusConnection::sessionBus();
    if (bus.isConnected())
        m_player = std::make_unique<MprisPlayerRemote>(bus);
    else
        m_player = std::make_unique<NoPlayerRemote>();
    m_platform.player = m_player.get();
    m_platform.shell = m_shell.get();
    m_platform.clock = m_clock.get();
    m_platform.serialPorts = m_serialPorts.get();
    m_platform.secrets = m_secrets.get();
}

LinuxPlatform::~LinuxPlatform() = default;
