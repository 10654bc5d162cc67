#include "state/DspTable.h"

#include <array>

namespace DspTable {

namespace {

// Coded value of each button index. The receiver's numbering has gaps and puts
// "8 Ch Stereo" (the last button) between "Game/Amusement" and "Pop/Rock".
constexpr std::array<int, 32> kValueOfIndex {
    0x80, 0x00, 0x01, 0x02, 0x04, 0x05, 0x06, 0x08, 0x09, 0x0A, 0x0C, 0x0D, 0x0E, 0x10, 0x11, 0x12,
    0x14, 0x15, 0x16, 0x18, 0x19, 0x1C, 0x1D, 0x20, 0x21, 0x24, 0x25, 0x28, 0x29, 0x2C, 0x2D, 0x17,
};

int upperHexDigit(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    return -1;
}

} // namespace

int indexFromValue(int value)
{
    for (std::size_t i = 0; i < kValueOfIndex.size(); ++i)
        if (kValueOfIndex[i] == value)
            return static_cast<int>(i);
    return -1;
}

int indexFromData(QStringView data)
{
    if (data.size() != 2)
        return -1;
    const int high = upperHexDigit(data[0]);
    const int low = upperHexDigit(data[1]);
    if (high < 0 || low < 0)
        return -1;
    return indexFromValue(high * 16 + low);
}

QString dataFromIndex(int index)
{
    if (index < 0 || index >= static_cast<int>(kValueOfIndex.size()))
        return {};
    return QStringLiteral("%1")
        .arg(kValueOfIndex[static_cast<std::size_t>(index)], 2, 16, QLatin1Char('0'))
        .toUpper();
}

} // namespace DspTable
