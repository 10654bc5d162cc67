#include "link/CommandCode.h"

#include <algorithm>

bool CommandCode::fitsInFrame(const QString &code)
{
    for (const QChar c : code)
        if (c.unicode() < 0x20 || c.unicode() == 0x7F || c.unicode() > 0xFF)
            return false;
    return true;
}

bool CommandCode::isCommandCode(const QString &code)
{
    return code.size() == 5 && std::all_of(code.begin(), code.end(), [](QChar c) {
               return (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'F');
           });
}
