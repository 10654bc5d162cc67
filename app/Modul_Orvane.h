#pragma once

#include "program/VersionText.h"

#include <QString>

class clsAddIns;

// Program-wide values owned by the start-up.
namespace Modul_Orvane {

// True from the moment the main window starts to unload.
extern bool AppClosing;
// True while the main window is hidden in favour of the mini window.
extern bool MiniMode;
// The program-wide list of registered add-ins; created before the main window.
extern clsAddIns *oAddIns;

// Parses the command line text and runs the program's start-up; returns the exit code.
int Main(const QString &commandLine);

} // namespace Modul_Orvane
