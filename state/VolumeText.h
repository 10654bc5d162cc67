#pragma once

#include <QString>

// The receiver's volume as its front display shows it.
namespace VolumeText {

constexpr int kBarLength = 20;

// Main-zone decibels of a volume value (0 to 255): 0.5 dB steps, 0xC7 is 0 dB.
double mainDecibels(int value);
// Zone-2 decibels of a volume value: 1 dB steps, 0x50 is 0 dB.
double zone2Decibels(int value);
// Sign (a space when not negative), the magnitude without a leading zero, and ".0"
// added to texts of three characters: " 0", "-80.0", "-.5.0", " 16.5".
QString text(double decibels);
// Character 127 once per 5 dB above -100 dB (halves rounded to even), padded with
// "-" to 20 characters.
QString bar(double decibels);

} // namespace VolumeText
