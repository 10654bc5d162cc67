#pragma once

#include "platform/Shell.h"

// Opens URLs with the desktop's default handler and starts programs detached.
class DesktopShell final : public Shell
{
public:
    bool openUrl(const QString &url) override;
    bool startCommand(const QString &commandLine) override;
};
