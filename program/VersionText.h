#pragma once

#include <QString>

// The program's version, as every part of the program shows it.
namespace Modul_Orvane {

// Version as major "." minor revision, e.g. 1.4.5 -> "1.45".
QString VersionText();
// Version with both points, e.g. "1.4.5" (error reports).
QString FullVersionText();
inline const QString BuildDate = QStringLiteral("14.09.2006");

} // namespace Modul_Orvane
