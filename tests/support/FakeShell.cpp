#include "FakeShell.h"

bool FakeShell::openUrl(const QString &url)
{
    m_urls << url;
    return m_succeeds;
}

bool FakeShell::startCommand(const QString &commandLine)
{
    m_commands << commandLine;
    return m_succeeds;
}
