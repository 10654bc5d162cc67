#pragma once

class QWidget;

// Window utilities shared by the program's windows.
namespace Modul_Lib {

// Makes a window top-most (or not), leaving its position, size and visibility as they were.
void SetTopMost(bool topMost, QWidget *window);
// True when the window is among the program's loaded top-level windows.
bool IsFormLoaded(const QWidget *window);
// Unloads every loaded top-level window whose type differs from that of `keep`.
void UnloadAllForms(const QWidget *keep);

} // namespace Modul_Lib
