#include "app/CommandLine.h"

#include "program/Modul_Lib.h"

CommandLine CommandLine::parse(const QString &text)
{
    CommandLine options;
    auto has = [&text](const char *option) {
        return text.contains(QLatin1String(option), Qt::CaseInsensitive);
    };
    options.help = has("-?") || has("/?") || has("--H") || has("-H") || has("/H");
    options.powerOn = has("-P");
    const qsizetype at = text.indexOf(QLatin1String("-C"), 0, Qt::CaseInsensitive);
    if (at >= 0) {
        // Nothing readable reads as 0, and port 0 (or below) is COM 1.
        const int number = Modul_Lib::Val(text.mid(at + 2, 2));
        options.comPort = number <= 0 ? 1 : number;
    }
    options.topLeft = has("-TL");
    options.topRight = has("-TR");
    options.bottomLeft = has("-BL");
    options.mini = has("-M");
    return options;
}
