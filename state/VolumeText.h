#pragma once

#include <QString>

// The receiver's volume as the front display shows it.
namespace VolumeText {

// Main-zone decibels of a volume value (0 to 255): 0.5 dB steps, 0xC7 is 0 dB.
double mainDecibels(int value);
// Zone-2 decibels of a volume value: 1 dB steps, 0x50 is 0 dB.
double zone2Decibels(int value);
// " 0", "-80.0", "-.5.0", " 16.5": sign or space, no leading zero, ".0" added to
// three-character texts.
QString text(double decibels);
// Character 127 once per 5 dB above -100 dB, padded with "-" to 20 characters.
QString bar(double decibels);

} // namespace VolumeText
