#pragma once

#include <QString>
#include <optional>

// The program's command line: one text searched, without regard to case, for the
// options anywhere in it (no word boundaries, no order).
struct CommandLine
{
    static inline const QString kOptionsMessage = QStringLiteral(
        "Options:: -Cx = Connect to Com x ; -M = Mini ; -TL = Mini Position TopLeft ; -TR = Mini "
        "Position TopRight ; -BL = Mini Position BottomLeft ; -P Power On by Connect");

    bool help = false;
    bool powerOn = false;
    std::optional<int> comPort; // set when "-C" is present
    bool topLeft = false;
    bool topRight = false;
    bool bottomLeft = false;
    bool mini = false;

    static CommandLine parse(const QString &text);
};
