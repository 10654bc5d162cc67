#include "link/CommandCode.h"

bool CommandCode::fitsInFrame(const QString &code)
{
    for (const QChar c : code)
        if (c.unicode() < 0x20 || c.unicode() == 0x7F || c.unicode() > 0xFF)
            return false;
    return true;
}
