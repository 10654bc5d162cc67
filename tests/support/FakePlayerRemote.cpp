#include "FakePlayerRemote.h"

#include <QTimer>

bool FakePlayerRemote::find()
{
    ++m_findCount;
    return m_present;
}

QList<int> FakePlayerRemote::postedCommands() const
{
    QList<int> ids;
    for (Action action : m_actions)
        ids << commandIdFor(action);
    return ids;
}

bool FakePlayerRemote::record(Action action)
{
    if (!m_present)
        return false;
    m_actions << action;
    return true;
}

void FakePlayerRemote::settleTo(int status)
{
    QTimer::singleShot(0, &m_context, [this, status] { m_status = status; });
}

void FakePlayerRemote::playFromStart()
{
    if (record(Action::PlayFromStart))
        settleTo(Playing);
}

void FakePlayerRemote::togglePause()
{
    if (record(Action::TogglePause) && m_status != Stopped)
        settleTo(m_status == Playing ? Paused : Playing);
}

void FakePlayerRemote::stop()
{
    if (record(Action::Stop))
        settleTo(Stopped);
}
