#include "platform/X11KeyState.h"

#include <QApplication>
#include <QSocketNotifier>
#include <QWidget>

#if defined(ORVANE_HAVE_X11) && defined(ORVANE_HAVE_XI2)
#define ORVANE_X11_KEYS 1
// X11's headers define macros (None, Bool, Status, ...) that clash with Qt: include last.
#include <X11/XF86keysym.h>
#include <X11/Xlib.h>
#include <X11/extensions/XInput2.h>
#include <X11/keysym.h>
#endif

namespace {

#ifdef ORVANE_X11_KEYS
struct KnownKey
{
    int virtualKey;
    KeySym keysym;
};

constexpr KnownKey kKnownKeys[] = {
    {107, XK_KP_Add},
    {109, XK_KP_Subtract},
    {173, XF86XK_AudioMute},
    {174, XF86XK_AudioLowerVolume},
    {175, XF86XK_AudioRaiseVolume},
    {176, XF86XK_AudioNext},
    {177, XF86XK_AudioPrev},
    {178, XF86XK_AudioStop},
    {179, XF86XK_AudioPlay},
    // A separate Pause key (some keyboards, headsets) acts as Play/Pause.
    {179, XF86XK_AudioPause},
};

Display *asDisplay(void *display)
{
    return static_cast<Display *>(display);
}
#endif

} // namespace

X11KeyState::X11KeyState() = default;

X11KeyState::~X11KeyState()
{
    m_notifier.reset();
#ifdef ORVANE_X11_KEYS
    if (m_display)
        XCloseDisplay(asDisplay(m_display));
#endif
}

bool X11KeyState::openDisplay()
{
#ifdef ORVANE_X11_KEYS
    if (m_displayTried)
        return m_display != nullptr;
    m_displayTried = true;
    Display *display = XOpenDisplay(nullptr);
    if (!display)
        return false;
    int event = 0;
    int error = 0;
    int major = 2;
    int minor = 1; // from 2.1 on raw events arrive whichever client grabs the keyboard
    if (!XQueryExtension(display, "XInputExtension", &m_inputOpcode, &event, &error)
        || XIQueryVersion(display, &major, &minor) != Success || major < 2) {
        XCloseDisplay(display);
        return false;
    }
    m_display = display;
    readKeyboardMapping();
    m_notifier
        = std::make_unique<QSocketNotifier>(ConnectionNumber(display), QSocketNotifier::Read);
    m_notifier->setEnabled(false);
    QObject::connect(m_notifier.get(), &QSocketNotifier::activated, m_notifier.get(),
                     [this] { readEvents(); });
    return true;
#else
    return false;
#endif
}

// Which keycodes carry the known keys; read again whenever the server's mapping changes.
void X11KeyState::readKeyboardMapping()
{
#ifdef ORVANE_X11_KEYS
    Display *display = asDisplay(m_display);
    m_keyFromKeycode.clear();
    int first = 0;
    int last = 0;
    XDisplayKeycodes(display, &first, &last);
    int perKeycode = 0;
    KeySym *keysyms = XGetKeyboardMapping(display, KeyCode(first), last - first + 1, &perKeycode);
    if (!keysyms)
        return;
    for (int keycode = first; keycode <= last; ++keycode)
        for (int level = 0; level < perKeycode; ++level) {
            const KeySym keysym = keysyms[(keycode - first) * perKeycode + level];
            for (const KnownKey &known : kKnownKeys)
                if (keysym == known.keysym && !m_keyFromKeycode.contains(keycode))
                    m_keyFromKeycode.insert(keycode, known.virtualKey);
        }
    XFree(keysyms);
#endif
}

void X11KeyState::selectEvents(bool on)
{
#ifdef ORVANE_X11_KEYS
    Display *display = asDisplay(m_display);
    unsigned char bits[XIMaskLen(XI_LASTEVENT)] = {};
    if (on) {
        XISetMask(bits, XI_RawKeyPress);
        XISetMask(bits, XI_RawKeyRelease);
    }
    XIEventMask mask;
    mask.deviceid = XIAllMasterDevices;
    mask.mask_len = sizeof(bits);
    mask.mask = bits;
    XISelectEvents(display, DefaultRootWindow(display), &mask, 1);
    XFlush(display);
#else
    Q_UNUSED(on);
#endif
}

bool X11KeyState::watch(std::function<void()> pressed)
{
    const bool wasWatching = bool(m_pressed);
    m_pressed = std::move(pressed);
    if (!m_pressed) {
        if (wasWatching && m_display) {
            selectEvents(false);
            m_notifier->setEnabled(false);
        }
        m_down.clear();
        m_pressedKeys.clear();
        return true;
    }
    if (!openDisplay()) {
        m_pressed = nullptr;
        return false;
    }
    if (!wasWatching) {
        selectEvents(true);
        m_notifier->setEnabled(true);
        readEvents(); // anything Xlib read ahead while selecting
    }
    return true;
}

void X11KeyState::readEvents()
{
#ifdef ORVANE_X11_KEYS
    Display *display = asDisplay(m_display);
    bool anyPressed = false;
    while (XPending(display) > 0) {
        XEvent event;
        XNextEvent(display, &event);
        if (event.type == MappingNotify) {
            XRefreshKeyboardMapping(&event.xmapping);
            readKeyboardMapping();
            continue;
        }
        XGenericEventCookie *cookie = &event.xcookie;
        if (cookie->type != GenericEvent || cookie->extension != m_inputOpcode
            || !XGetEventData(display, cookie))
            continue;
        const auto *raw = static_cast<const XIRawEvent *>(cookie->data);
        const int keycode = raw->detail;
        if (cookie->evtype == XI_RawKeyRelease) {
            m_down.remove(keycode);
        } else if (cookie->evtype == XI_RawKeyPress && !m_down.contains(keycode)) {
            // A held key's repeats are no new presses.
            m_down.insert(keycode);
            const auto key = m_keyFromKeycode.constFind(keycode);
            if (key != m_keyFromKeycode.cend()) {
                m_pressedKeys.insert(*key);
                anyPressed = true;
            }
        }
        XFreeEventData(display, cookie);
    }
    if (anyPressed && m_pressed)
        m_pressed();
#endif
}

bool X11KeyState::wentDown(int virtualKey)
{
    return m_pressedKeys.remove(virtualKey);
}

bool X11KeyState::isForeground(const QWidget *window)
{
    return window && QApplication::activeWindow() == window->window();
}
