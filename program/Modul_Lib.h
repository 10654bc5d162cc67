#pragma once

#include <QtGlobal>
#include <array>
#include <functional>
#include <optional>

class QString;
class QWidget;
class UserDialogs;

// Window utilities shared by the program's windows.
namespace Modul_Lib {

// A number written in a text, read as the program always read stored and typed
// numbers: blanks are skipped, an optional sign, then the leading digits; text that
// does not start with a number reads as 0 ("3x" is 3, "x" is 0). Too large a number
// reads as the largest (or smallest) int.
int Val(const QString &text);

// A caption as it reads: "&&" is one "&", a single "&" only marks the access key.
QString CaptionWithoutMarkers(const QString &caption);

// Makes a window top-most (or not), leaving its position, size and visibility as they were.
void SetTopMost(bool topMost, QWidget *window);
// True when the window is among the program's loaded top-level windows.
bool IsFormLoaded(const QWidget *window);
// Unloads every loaded top-level window whose type differs from that of `keep`.
void UnloadAllForms(const QWidget *keep);

// The 16 bytes of a GUID in the order they lie in memory.
using GuidBytes = std::array<quint8, 16>;
// A new random GUID from the system; nothing when the system could not make one.
std::optional<GuidBytes> SystemGuid();
// A new GUID as 36 characters: the 16 bytes in memory order as upper-case hexadecimal
// digits, cut into groups of 8, 4, 4, 4 and 12 joined by "-", no braces. The first three
// groups are therefore byte-swapped against the usual GUID text on this machine, as the
// connection identifiers have always been written. When no GUID can be made it says so
// through `dialogs` and yields an empty text.
QString CreateGUID(UserDialogs *dialogs,
                   const std::function<std::optional<GuidBytes>()> &source = SystemGuid);

} // namespace Modul_Lib
