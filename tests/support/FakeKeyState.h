#pragma once

#include "platform/KeyState.h"

#include <QSet>

// Keys pressed and released by the test. A press is seen once by wentDown, as the
// real key state reports each went-down edge once.
class FakeKeyState : public KeyState
{
public:
    bool wentDown(int virtualKey) override;
    bool isForeground(const QWidget *window) override { return window && window == m_foreground; }

    // Key goes down (and stays down until release).
    void press(int virtualKey);
    void release(int virtualKey) { m_down.remove(virtualKey); }
    void setForeground(const QWidget *window) { m_foreground = window; }

private:
    QSet<int> m_down;
    QSet<int> m_edges;
    const QWidget *m_foreground = nullptr;
};
