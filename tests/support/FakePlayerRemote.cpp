#include "FakePlayerRemote.h"

bool FakePlayerRemote::find()
{
    ++m_findCount;
    return m_present;
}

void FakePlayerRemote::postCommand(int commandId)
{
    if (!m_present)
        return;
    m_commands << commandId;
    // 40045 play, 40046 pause toggle, 40047 stop.
    if (commandId == 40045)
        m_status = Playing;
    else if (commandId == 40046 && m_status != Stopped)
        m_status = m_status == Playing ? Paused : Playing;
    else if (commandId == 40047)
        m_status = Stopped;
}
