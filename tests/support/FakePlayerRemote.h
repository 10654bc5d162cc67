#pragma once

#include "platform/PlayerRemote.h"

#include <QList>
#include <QObject>

// A media player the test controls: present or not, its title and status, and the
// actions sent to it (read back as command identifiers). Play, pause and stop change the
// status as a player would, but only once the event loop runs: like a real remote, a
// status asked for right after a command still tells the state from before it.
class FakePlayerRemote : public PlayerRemote
{
public:
    bool find() override;
    QString title() override { return m_present ? m_title : QString(); }
    int status() override { return m_present ? m_status : Stopped; }

    void playFromStart() override;
    void togglePause() override;
    void stop() override;
    void next() override { record(Action::Next); }
    void previous() override { record(Action::Previous); }
    void seekForward() override { record(Action::SeekForward); }
    void seekBack() override { record(Action::SeekBack); }
    void volumeUp() override { record(Action::VolumeUp); }
    void volumeDown() override { record(Action::VolumeDown); }
    void quit() override { record(Action::Quit); }

    void setPresent(bool present) { m_present = present; }
    void setTitle(const QString &title) { m_title = title; }
    void setStatus(int status) { m_status = status; }
    // The actions received, as the command identifiers that stand for them.
    QList<int> postedCommands() const;
    void clearCommands() { m_actions.clear(); }
    int findCount() const { return m_findCount; }

private:
    bool record(Action action);
    void settleTo(int status);

    bool m_present = false;
    QString m_title;
    int m_status = Stopped;
    QList<Action> m_actions;
    int m_findCount = 0;
    QObject m_context; // ends pending status changes with the fake
};
