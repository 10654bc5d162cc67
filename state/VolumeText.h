#pragma once

#include <QString>

// The receiver's volume as its front display shows it.
namespace VolumeText {

constexpr int kBarLength = 20;

// The volume values the receiver takes: main zone 0x27 (-80 dB) to 0xE8 (+16.5 dB),
// zone 2 0x00 (-80 dB) to 0x50 (0 dB).
constexpr int kMainLowest = 0x27;
constexpr int kMainHighest = 0xE8;
constexpr int kZone2Lowest = 0x00;
constexpr int kZone2Highest = 0x50;

// Main-zone decibels of a volume value (0 to 255): 0.5 dB steps, 0xC7 is 0 dB.
double mainDecibels(int value);
// Zone-2 decibels of a volume value: 1 dB steps, 0x50 is 0 dB.
double zone2Decibels(int value);
// The volume value nearest to `decibels` (the inverse of the two above; not clamped).
int mainValue(double decibels);
int zone2Value(double decibels);
// Sign (a space when not negative), the magnitude without a leading zero, and ".0"
// added to texts of three characters: " 0", "-80.0", "-.5.0", " 16.5".
QString text(double decibels);
// Character 127 once per 5 dB above -100 dB (halves rounded to even), padded with
// "-" to 20 characters.
QString bar(double decibels);

} // namespace VolumeText
