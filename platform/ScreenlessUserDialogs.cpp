#include "platform/ScreenlessUserDialogs.h"

ScreenlessUserDialogs::ScreenlessUserDialogs(std::FILE *log)
    : m_log(log)
{
}

void ScreenlessUserDialogs::log(const QString &title, const QString &text)
{
    // One line an entry: the journal shows each line as an entry of its own.
    QString line = title.isEmpty() ? text : title + QStringLiteral(": ") + text;
    line.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
    std::fprintf(m_log, "Orvane: %s\n", line.toLocal8Bit().constData());
    std::fflush(m_log);
}

UserDialogs::Answer ScreenlessUserDialogs::showMessageBox(const Message &message)
{
    log(message.title, message.text);
    return escapeAnswer(message.buttons);
}

std::optional<QString> ScreenlessUserDialogs::inputBox(const QString &prompt, const QString &title,
                                                       const QString &)
{
    log(title, prompt + QStringLiteral(" (no screen: cancelled)"));
    return std::nullopt;
}

QString ScreenlessUserDialogs::openFileName(const QString &title, const QString &, const QString &)
{
    log(title, QStringLiteral("no screen to choose a file on: cancelled"));
    return {};
}

QString ScreenlessUserDialogs::saveFileName(const QString &title, const QString &, const QString &)
{
    log(title, QStringLiteral("no screen to choose a file on: cancelled"));
    return {};
}
