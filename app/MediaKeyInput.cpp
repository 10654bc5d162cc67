#include "app/MediaKeyInput.h"

#include "platform/KeyState.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QPointer>

namespace {
// Both ways report a press within a few milliseconds; two presses of a finger are further
// apart than this.
constexpr qint64 kSamePressMs = 250;
} // namespace

MediaKeyInput::MediaKeyInput(KeyState *global, std::function<void()> pressed, QObject *parent)
    : QObject(parent)
    , m_global(global)
    , m_pressed(std::move(pressed))
{
    m_clock.start();
    QCoreApplication::instance()->installEventFilter(this);
}

MediaKeyInput::~MediaKeyInput() = default;

int MediaKeyInput::virtualKeyOf(int qtKey)
{
    switch (qtKey) {
    case Qt::Key_VolumeMute:
        return 173;
    case Qt::Key_VolumeDown:
        return 174;
    case Qt::Key_VolumeUp:
        return 175;
    case Qt::Key_MediaNext:
        return 176;
    case Qt::Key_MediaPrevious:
        return 177;
    case Qt::Key_MediaStop:
        return 178;
    case Qt::Key_MediaPlay:
    case Qt::Key_MediaPause:
    case Qt::Key_MediaTogglePlayPause:
        return 179;
    default:
        return 0;
    }
}

void MediaKeyInput::watch(const QList<int> &wanted)
{
    if (wanted.isEmpty())
        m_windowPresses.clear();
    if (!m_global)
        return;
    m_global->setWantedKeys(wanted);
    if (wanted.isEmpty()) {
        m_global->watch(nullptr);
        return;
    }
    m_global->watch([self = QPointer<MediaKeyInput>(this)] {
        if (!self)
            return;
        self->m_globalPressedAt = self->m_clock.elapsed();
        if (self->m_pressed)
            self->m_pressed();
    });
}

bool MediaKeyInput::eventFilter(QObject *watched, QEvent *event)
{
    // A key event reaches the window object first and then its focused widget: the
    // widget's copy is the one taken.
    if (event->type() != QEvent::KeyPress || !watched->isWidgetType())
        return false;
    const auto *key = static_cast<const QKeyEvent *>(event);
    const int virtualKey = virtualKeyOf(key->key());
    if (!virtualKey)
        return false;
    // A held key's repeats are no new presses.
    if (!key->isAutoRepeat()) {
        m_windowPresses.insert(virtualKey);
        m_windowPressedAt.insert(virtualKey, m_clock.elapsed());
        if (m_pressed)
            m_pressed();
    }
    return true;
}

bool MediaKeyInput::wentDown(int virtualKey)
{
    const bool global = m_global && m_global->wentDown(virtualKey);
    const bool window = m_windowPresses.remove(virtualKey);
    if (!global && !window)
        return false;
    if (global && window) {
        m_unmatched.remove(virtualKey);
        return true;
    }
    const qint64 now = window ? m_windowPressedAt.value(virtualKey) : m_globalPressedAt;
    const auto previous = m_unmatched.constFind(virtualKey);
    if (previous != m_unmatched.cend() && previous->fromWindow != window
        && qAbs(now - previous->at) <= kSamePressMs) {
        m_unmatched.erase(previous);
        return false;
    }
    m_unmatched.insert(virtualKey, {window, now});
    return true;
}
