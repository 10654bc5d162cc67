#pragma once

#include <QString>

// Hands URLs to the desktop's default handler and starts programs.
class Shell
{
public:
    virtual ~Shell();
    virtual bool openUrl(const QString &url) = 0;
    // Starts a command line detached; false when it could not be started.
    virtual bool startCommand(const QString &commandLine) = 0;
};
