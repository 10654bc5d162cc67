#pragma once

#include <QCoreApplication>
#include <QString>
#include <optional>

// The program's command line: one text searched, without regard to case, for the
// options anywhere in it (no word boundaries, no order).
struct CommandLine
{
    static constexpr const char *kOptionsText = QT_TRANSLATE_NOOP(
        "CommandLine",
        "Options:: -Cx = Connect to Com x ; -M = Mini ; -TL = Mini Position TopLeft ; -TR = Mini "
        "Position TopRight ; -BL = Mini Position BottomLeft ; -P Power On by Connect");
    static inline const QString kOptionsMessage = QString::fromLatin1(kOptionsText);
    // The options text in the user's language.
    static QString optionsMessage()
    {
        return QCoreApplication::translate("CommandLine", kOptionsText);
    }

    bool help = false;
    bool powerOn = false;
    std::optional<int> comPort; // set when "-C" is present
    bool topLeft = false;
    bool topRight = false;
    bool bottomLeft = false;
    bool mini = false;

    static CommandLine parse(const QString &text);
};
