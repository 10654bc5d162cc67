#include "FakeKeyState.h"

bool FakeKeyState::watch(std::function<void()> pressed)
{
    m_pressed = std::move(pressed);
    if (!m_pressed)
        m_edges.clear();
    return true;
}

void FakeKeyState::press(int virtualKey)
{
    // A held key's repeats are no new presses.
    if (m_down.contains(virtualKey))
        return;
    m_down.insert(virtualKey);
    m_edges.insert(virtualKey);
    if (m_pressed)
        m_pressed();
}
