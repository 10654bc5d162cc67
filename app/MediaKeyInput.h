#pragma once

#include <QElapsedTimer>
#include <QHash>
#include <QObject>
#include <QSet>
#include <functional>

class KeyState;

// The media and volume keys as the key tick reads them: the presses of the desktop's
// global source merged with those Qt delivers to a focused window of the program. Where
// the desktop reports one press both ways, it counts once: a report from one way that
// follows an unmatched report of the same key from the other way within a short time
// is the same press. Reports are timed as they arrive, since a tick that pauses reads
// later presses only after its pause.
class MediaKeyInput final : public QObject
{
public:
    // `pressed` runs after a focused window saw a media key go down.
    MediaKeyInput(KeyState *global, std::function<void()> pressed, QObject *parent = nullptr);
    ~MediaKeyInput() override;

    // Watches the desktop's global keys among `wanted` (virtual-key codes); none stops
    // watching and forgets unread presses.
    void watch(const QList<int> &wanted);
    // True when the key (a virtual-key code) went down since the previous query; each
    // press is seen once.
    bool wentDown(int virtualKey);
    // The virtual-key code of a Qt media or volume key, 0 for other keys.
    static int virtualKeyOf(int qtKey);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct Report
    {
        bool fromWindow;
        qint64 at;
    };

    KeyState *m_global;
    std::function<void()> m_pressed;
    QSet<int> m_windowPresses; // pressed in a focused window and not yet queried
    QHash<int, qint64> m_windowPressedAt;
    qint64 m_globalPressedAt = 0; // the last press the global source reported
    QHash<int, Report> m_unmatched; // per key, the last report the other way has not matched
    QElapsedTimer m_clock;
};
