#pragma once

#include "platform/UserDialogs.h"

#include <cstdio>

// The dialogs of a program that runs without a screen (as a service): nobody can answer
// a box there, and a box left open would hold the code that showed it forever. Each
// message goes to the log (standard error: a service's journal) and is answered as a
// box closed without a button; input and file dialogs are cancelled.
class ScreenlessUserDialogs final : public UserDialogs
{
public:
    explicit ScreenlessUserDialogs(std::FILE *log = stderr);

    std::optional<QString> inputBox(const QString &prompt, const QString &title,
                                    const QString &defaultText) override;
    QString openFileName(const QString &title, const QString &filter,
                         const QString &directory) override;
    QString saveFileName(const QString &title, const QString &filter,
                         const QString &directory) override;

protected:
    Answer showMessageBox(const Message &message) override;

private:
    void log(const QString &title, const QString &text);

    std::FILE *m_log;
};
