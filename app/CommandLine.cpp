#include "app/CommandLine.h"

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
        const long number = leadingNumber(text.mid(at + 2, 2));
        options.comPort = number == 0 ? 1 : int(number);
    }
    options.topLeft = has("-TL");
    options.topRight = has("-TR");
    options.bottomLeft = has("-BL");
    options.mini = has("-M");
    return options;
}

long CommandLine::leadingNumber(const QString &text)
{
    long number = 0;
    for (const QChar c : text) {
        if (c == QLatin1Char(' ') || c == QLatin1Char('\t'))
            continue;
        if (!c.isDigit() || c.unicode() > 127)
            break;
        if (number > 100000000)
            break;
        number = number * 10 + (c.unicode() - '0');
    }
    return number;
}
