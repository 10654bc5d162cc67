#pragma once

#include "platform/Shell.h"

#include <QStringList>

// Records the URLs and command lines handed to the shell; starts nothing.
class FakeShell : public Shell
{
public:
    bool openUrl(const QString &url) override;
    bool startCommand(const QString &commandLine) override;

    // What openUrl and startCommand report back.
    void setResult(bool succeeds) { m_succeeds = succeeds; }
    const QStringList &openedUrls() const { return m_urls; }
    const QStringList &startedCommands() const { return m_commands; }

private:
    bool m_succeeds = true;
    QStringList m_urls;
    QStringList m_commands;
};
