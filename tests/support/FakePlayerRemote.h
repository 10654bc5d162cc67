#pragma once

#include "platform/PlayerRemote.h"

#include <QList>

// A media player the test controls: present or not, its title and status, and the
// command identifiers posted to it. Play, pause and stop commands change the status
// as a player would.
class FakePlayerRemote : public PlayerRemote
{
public:
    bool find() override;
    QString title() override { return m_present ? m_title : QString(); }
    void postCommand(int commandId) override;
    int status() override { return m_present ? m_status : Stopped; }

    void setPresent(bool present) { m_present = present; }
    void setTitle(const QString &title) { m_title = title; }
    void setStatus(int status) { m_status = status; }
    const QList<int> &postedCommands() const { return m_commands; }
    void clearCommands() { m_commands.clear(); }
    int findCount() const { return m_findCount; }

private:
    bool m_present = false;
    QString m_title;
    int m_status = Stopped;
    QList<int> m_commands;
    int m_findCount = 0;
};
