#include "app/LinuxPlatform.h"

#include "ChromellErrors.h"
#include "platform/DesktopShell.h"
#include "platform/KeychainSecretStore.h"
#include "platform/PlayerRemote.h"
#include "platform/PortalKeyState.h"
#include "platform/QSettingsStore.h"
#include "platform/QtSerialPortList.h"
#include "platform/QtUserDialogs.h"
#include "platform/ScreenlessUserDialogs.h"
#include "platform/SystemClock.h"
#include "platform/X11KeyState.h"
#include "player/MprisPlayerRemote.h"

#include <QDBusConnection>
#include <QGuiApplication>

namespace {

// On an X11 session the X server reports every key. On a Wayland session no program sees
// another's keys: there the desktop portal's global shortcuts are the source, and when
// the desktop has none only the focused window's keys act. The session is the one Qt
// runs on (a program forced onto X11 under Wayland keeps the X input events).
std::unique_ptr<KeyState> chooseKeyState(const QDBusConnection &bus)
{
    if (QGuiApplication::platformName().startsWith(QLatin1String("wayland")))
        return std::make_unique<PortalKeyState>(bus);
    return std::make_unique<X11KeyState>();
}

std::unique_ptr<UserDialogs> chooseDialogs()
{
    if (LinuxPlatform::hasScreen())
        return std::make_unique<QtUserDialogs>();
    return std::make_unique<ScreenlessUserDialogs>();
}

} // namespace

bool LinuxPlatform::hasScreen()
{
    return isScreenPlatform(QGuiApplication::platformName());
}

bool LinuxPlatform::isScreenPlatform(QStringView name)
{
    return !name.startsWith(u"offscreen") && !name.startsWith(u"minimal");
}

LinuxPlatform::LinuxPlatform()
    : m_settings(std::make_unique<QSettingsStore>())
    , m_dialogs(chooseDialogs())
    , m_keys(chooseKeyState(QDBusConnection::sessionBus()))
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
    // The colour controls show their own error box; without a screen nobody could close
    // it, so their errors are logged like every other box.
    if (!hasScreen())
        ChromellErrors::setHandler(
            [dialogs = m_dialogs.get()](const ChromellErrors::Report &report) {
                UserDialogs::Message box;
                box.text = report.text;
                box.title = report.title;
                box.icon = UserDialogs::Icon::Critical;
                dialogs->messageBox(box);
            });
}

LinuxPlatform::~LinuxPlatform()
{
    if (!hasScreen())
        ChromellErrors::setHandler({});
}
