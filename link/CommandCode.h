#pragma once

#include <QString>

// The rule for a command code that comes from outside the program (an add-in, a script
// line) before it goes to the receiver.
namespace CommandCode {

// Whether `code` can go into one frame between STX and ETX: control characters or
// characters outside Latin-1 would break the framing on the line.
bool fitsInFrame(const QString &code);

// Whether `code` is a command of the receiver's command set: exactly five characters of
// 0-9 and A-F. What add-ins and outside programs may send.
bool isCommandCode(const QString &code);

} // namespace CommandCode
