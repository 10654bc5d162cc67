#pragma once

#include <QString>
#include <QStringView>

// The receiver codes a DSP program in reports (code "28") and in the configuration
// block as two hexadecimal digits; the program numbers its DSP buttons 0 to 31.
namespace DspTable {

// Button index for a coded value (0x80 Effect Off, 0x00 Hall A … 0x2D Enhanced), or -1
// when the value names no program.
int indexFromValue(int value);

// Button index for report data: exactly two upper-case hexadecimal digits, or -1.
int indexFromData(QStringView data);

// The report data for a button index ("80" for 0), or an empty text outside 0 to 31.
QString dataFromIndex(int index);

} // namespace DspTable
