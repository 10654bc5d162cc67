#include "state/VolumeText.h"

#include <algorithm>
#include <cmath>

namespace VolumeText {

double mainDecibels(int value)
{
    return (value - 199) / 2.0;
}

double zone2Decibels(int value)
{
    return value - 80;
}

int mainValue(double decibels)
{
    return int(std::lround(decibels * 2)) + 199;
}

int zone2Value(double decibels)
{
    return int(std::lround(decibels)) + 80;
}

QString text(double decibels)
{
    QString magnitude = QString::number(std::fabs(decibels), 'g', 15);
    if (magnitude.startsWith(QLatin1String("0.")))
        magnitude.remove(0, 1);
    QString result = (decibels < 0 ? QLatin1Char('-') : QLatin1Char(' ')) + magnitude;
    if (result.size() == 3)
        result += QLatin1String(".0");
    return result;
}

QString bar(double decibels)
{
    const double exact = kBarLength + decibels / 5;
    double rounded = std::floor(exact);
    const double fraction = exact - rounded;
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(rounded, 2.0) != 0))
        rounded += 1;
    const int count = std::max(0, int(rounded));
    QString result(count, QChar(0x7F));
    if (result.size() < kBarLength)
        result += QString(kBarLength - result.size(), QLatin1Char('-'));
    return result;
}

} // namespace VolumeText
