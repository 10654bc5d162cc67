#include "FakeKeyState.h"

bool FakeKeyState::wentDown(int virtualKey)
{
    return m_edges.remove(virtualKey) && m_down.contains(virtualKey);
}

void FakeKeyState::press(int virtualKey)
{
    m_down.insert(virtualKey);
    m_edges.insert(virtualKey);
}
