#include "errors/UrlEscape.h"

#include <QList>

namespace {

// Code points from this value up are always percent-encoded.
constexpr char32_t kFirstEscapedCode = 123;

void appendPercentCode(QString &out, unsigned byte)
{
    static const char digits[] = "0123456789ABCDEF";
    out += QLatin1Char('%');
    out += QLatin1Char(digits[(byte >> 4) & 0xF]);
    out += QLatin1Char(digits[byte & 0xF]);
}

// The characters below 123 that are escaped all the same.
bool isReserved(char32_t c)
{
    switch (c) {
    case '%':
    case ' ':
    case '&':
    case '!':
    case '#':
    case '*':
    case '/':
    case '?':
    case '\r':
    case '\n':
        return true;
    default:
        return false;
    }
}

} // namespace

// One pass gives the same result as replacing each reserved character in turn and then
// encoding the high characters: no replacement produces a character that a later step
// would touch again.
QString UrlEscape(const QString &text)
{
    QString out;
    out.reserve(text.size() * 3);
    const QList<uint> codes = text.toUcs4();
    for (const char32_t c : codes) {
        if (isReserved(c)) {
            appendPercentCode(out, c);
        } else if (c < kFirstEscapedCode) {
            out += QChar(static_cast<char16_t>(c));
        } else if (c <= 0xFF) {
            appendPercentCode(out, c);
        } else {
            const QByteArray utf8 = QString::fromUcs4(&c, 1).toUtf8();
            for (const char byte : utf8)
                appendPercentCode(out, static_cast<unsigned char>(byte));
        }
    }
    return out;
}
