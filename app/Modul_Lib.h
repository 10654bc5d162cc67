#pragma once

class QString;
class QWidget;

// Window utilities shared by the program's windows.
namespace Modul_Lib {

// A number written in a text, read as the program always read stored and typed
// numbers: blanks are skipped, an optional sign, then the leading digits; text that
// does not start with a number reads as 0 ("3x" is 3, "x" is 0). Too large a number
// reads as the largest (or smallest) int.
int Val(const QString &text);

// Makes a window top-most (or not), leaving its position, size and visibility as they were.
void SetTopMost(bool topMost, QWidget *window);
// True when the window is among the program's loaded top-level windows.
bool IsFormLoaded(const QWidget *window);
// Unloads every loaded top-level window whose type differs from that of `keep`.
void UnloadAllForms(const QWidget *keep);

} // namespace Modul_Lib
