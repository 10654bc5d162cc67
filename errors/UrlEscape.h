#pragma once

#include <QString>

// Escapes a text for a mailto link: the fixed set of reserved characters, line breaks and
// every character from code 123 up. Characters of the 8-bit set (Latin-1) become one
// "%XX"; characters beyond it become the "%XX" codes of their UTF-8 bytes.
QString UrlEscape(const QString &text);
