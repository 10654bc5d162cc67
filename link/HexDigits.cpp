#include "link/HexDigits.h"

namespace HexDigits {

std::optional<int> digit(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    if (u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    return std::nullopt;
}

std::optional<int> twoDigits(QStringView text)
{
    if (text.size() != 2)
        return std::nullopt;
    const auto high = digit(text[0]);
    const auto low = digit(text[1]);
    if (!high || !low)
        return std::nullopt;
    return *high * 16 + *low;
}

} // namespace HexDigits
