#pragma once

#include <QChar>
#include <QStringView>
#include <optional>

// Reading the hexadecimal digits of the receiver's protocol (either letter case).
namespace HexDigits {

// The value of one digit, or nothing for any other character.
std::optional<int> digit(QChar c);
// The value of exactly two digits, or nothing when the text is anything else.
std::optional<int> twoDigits(QStringView text);

} // namespace HexDigits
