#pragma once

#include <QString>

// The rule for a command code that comes from outside the program (an add-in, a script
// line) before it goes to the receiver.
namespace CommandCode {

// Whether `code` can go into one frame between STX and ETX: control characters or
// characters outside Latin-1 would break the framing on the line.
bool fitsInFrame(const QString &code);

} // namespace CommandCode
