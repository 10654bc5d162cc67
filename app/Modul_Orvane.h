#pragma once

#include <QString>

class clsAddIns;

// Program-wide values owned by the start-up.
namespace Modul_Orvane {

// Version as major "." minor revision, e.g. 1.4.5 -> "1.45".
QString VersionText();
// Version with both points, e.g. "1.4.5" (error reports).
QString FullVersionText();
inline const QString BuildDate = QStringLiteral("14.09.2006");

// True from the moment the main window starts to unload.
extern bool AppClosing;
// True while the main window is hidden in favour of the mini window.
extern bool MiniMode;
// The program-wide list of registered add-ins; created before the main window.
extern clsAddIns *oAddIns;

// Parses the command line text and runs the program's start-up; returns the exit code.
int Main(const QString &commandLine);

} // namespace Modul_Orvane
