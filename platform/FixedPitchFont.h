#pragma once

#include <QFont>
#include <QString>

// A font whose characters all take the same width, for texts set in columns. Some
// fontconfig set-ups resolve "monospace" to a family they do not mark as fixed pitch
// although its Latin characters have equal advances, others to no fixed font at all;
// what counts is how the text renders.
namespace FixedPitchFont {

// `request` with the typewriter style hint and fixed pitch asked for; when the family it
// resolves to does not render printable ASCII with equal advances, the first installed
// family that does (size, weight and style kept). Without any such family, the request.
QFont resolve(QFont request);

// Whether every character of `text` has the same advance in `font`.
bool hasEqualAdvances(const QFont &font, const QString &text);

} // namespace FixedPitchFont
