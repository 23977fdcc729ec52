// Numbers typed into the panel's text boxes. The boxes are read with the
// locale's strict conversion (the whole text must be a number); a text that
// is none is reported by the caller with the box's name rather than ending
// the program.
#pragma once

#include <QString>
#include <QtGlobal>

#include <optional>

namespace landlume {

// The number the whole text (blanks around it allowed) stands for; nothing
// for an empty text or one that is not a number, or a value that is not finite.
std::optional<double> strictNumber(const QString& text);
// The same narrowed to a 32-bit float; nothing beyond its range.
std::optional<float> strictSingle(const QString& text);

// A land chunk count read from a box: why it cannot be used (empty when it can).
// The count must be a number, a whole 16-bit chunk count of at least 1, and
// its world extent (count x 256) must fit 32 bits.
QString chunkCountProblem(const QString& text, qint32& count);

// The lightmap size rule: 64 to 2048 pixels on each side.
bool legalLightmapSize(float width, float height);

} // namespace landlume
