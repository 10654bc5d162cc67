#include "platform/X11KeyState.h"

#include <QApplication>
#include <QWidget>
#include <chrono>

#ifdef ORVANE_HAVE_X11
// X11's headers define macros (None, Bool, Status, ...) that clash with Qt: include last.
#include <X11/XF86keysym.h>
#include <X11/Xlib.h>
#include <X11/keysym.h>
#endif

namespace {

#ifdef ORVANE_HAVE_X11
// One poll asks for several keys; they share one keymap query to the X server.
constexpr std::chrono::milliseconds kKeymapReuse {2};

Display *asDisplay(void *display)
{
    return static_cast<Display *>(display);
}

KeySym keysymFor(int virtualKey)
{
    switch (virtualKey) {
    case 107:
        return XK_KP_Add;
    case 109:
        return XK_KP_Subtract;
    case 173:
        return XF86XK_AudioMute;
    case 174:
        return XF86XK_AudioLowerVolume;
    case 175:
        return XF86XK_AudioRaiseVolume;
    case 176:
        return XF86XK_AudioNext;
    case 177:
        return XF86XK_AudioPrev;
    case 178:
        return XF86XK_AudioStop;
    case 179:
        return XF86XK_AudioPlay;
    default:
        return NoSymbol;
    }
}
#endif

} // namespace

X11KeyState::X11KeyState() = default;

X11KeyState::~X11KeyState()
{
#ifdef ORVANE_HAVE_X11
    if (m_display)
        XCloseDisplay(asDisplay(m_display));
#endif
}

bool X11KeyState::openDisplay()
{
#ifdef ORVANE_HAVE_X11
    if (!m_displayTried) {
        m_displayTried = true;
        m_display = XOpenDisplay(nullptr);
    }
#endif
    return m_display != nullptr;
}

// 0 when the key has no keycode on this keyboard.
int X11KeyState::keycodeFor(int virtualKey)
{
#ifdef ORVANE_HAVE_X11
    const auto known = m_keycodes.constFind(virtualKey);
    if (known != m_keycodes.cend())
        return *known;
    const KeySym keysym = keysymFor(virtualKey);
    const int keycode = keysym == NoSymbol ? 0 : XKeysymToKeycode(asDisplay(m_display), keysym);
    m_keycodes.insert(virtualKey, keycode);
    return keycode;
#else
    Q_UNUSED(virtualKey);
    return 0;
#endif
}

bool X11KeyState::wentDown(int virtualKey)
{
#ifdef ORVANE_HAVE_X11
    if (!openDisplay())
        return false;
    const int keycode = keycodeFor(virtualKey);
    if (keycode <= 0 || keycode > 255)
        return false;
    const std::array<char, 32> &keys = keymap();
    const bool down = (static_cast<unsigned char>(keys[keycode / 8]) >> (keycode % 8)) & 1;
    bool &wasDown = m_wasDown[virtualKey];
    const bool pressed = down && !wasDown;
    wasDown = down;
    return pressed;
#else
    Q_UNUSED(virtualKey);
    return false;
#endif
}

const std::array<char, 32> &X11KeyState::keymap()
{
#ifdef ORVANE_HAVE_X11
    if (!m_keymapAge.isValid() || m_keymapAge.elapsed() >= kKeymapReuse.count()) {
        XQueryKeymap(asDisplay(m_display), m_keymap.data());
        m_keymapAge.start();
    }
#endif
    return m_keymap;
}

bool X11KeyState::isForeground(const QWidget *window)
{
    return window && QApplication::activeWindow() == window->window();
}
