#include "state/VolumeText.h"

namespace VolumeText {

double mainDecibels(int value)
{
    return (value - 199) / 2.0;
}

double zone2Decibels(int value)
{
    return value - 80;
}

QString text(double)
{
    return {};
}

QString bar(double)
{
    return {};
}

} // namespace VolumeText
