#pragma once

#include <QString>

// A text from another program made safe to show: control and format characters (ESC,
// BEL, bidirectional overrides and isolates, zero-width marks) are removed, so the
// text cannot move the cursor, recolour a terminal or reorder what follows it.
inline QString printableText(const QString &text)
{
    QString shown;
    shown.reserve(text.size());
    for (const QChar c : text) {
        const QChar::Category category = c.category();
        if (category != QChar::Other_Control && category != QChar::Other_Format)
            shown.append(c);
    }
    return shown;
}
