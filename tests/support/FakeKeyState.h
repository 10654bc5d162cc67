#pragma once

#include "platform/KeyState.h"

#include <QSet>

// Keys pressed and released by the test. A press is seen once by wentDown, as the real
// key state reports each press once, and is reported to the watcher like a real press.
class FakeKeyState : public KeyState
{
public:
    bool wentDown(int virtualKey) override { return m_edges.remove(virtualKey); }
    bool isForeground(const QWidget *window) override { return window && window == m_foreground; }
    bool watch(std::function<void()> pressed) override;

    // Key goes down (and stays down until release).
    void press(int virtualKey);
    void release(int virtualKey) { m_down.remove(virtualKey); }
    void setForeground(const QWidget *window) { m_foreground = window; }
    bool isWatching() const { return bool(m_pressed); }

private:
    QSet<int> m_down;
    QSet<int> m_edges;
    const QWidget *m_foreground = nullptr;
    std::function<void()> m_pressed;
};
