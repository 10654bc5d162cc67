#pragma once

#include "program/VersionText.h"

#include <QString>

// The program's start-up. What it shares with the add-ins (the add-in list) is an
// AddInRuntime it owns while it runs; the program-wide values a ProgramValues.
namespace Modul_Orvane {

// Parses the command line text and runs the program's start-up; returns the exit code.
int Main(const QString &commandLine);

} // namespace Modul_Orvane
