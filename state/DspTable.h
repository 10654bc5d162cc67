#pragma once

#include <QString>

// The receiver codes a DSP program in reports (code "28") and in the configuration
// block as two hexadecimal digits; the program numbers its DSP buttons 0 to 31.
namespace DspTable {

// Button index for a data value ("80" Effect Off, "00" Hall A … "2D" Enhanced), or -1
// when the value names no program.
int indexFromData(const QString &data);

// The data value for a button index, or an empty text for an index outside 0 to 31.
QString dataFromIndex(int index);

} // namespace DspTable
