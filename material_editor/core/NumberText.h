#pragma once
// Reading numbers from box and file texts without ever throwing: the numeric
// value rule, with a value beyond the range of a double read as 0.

#include <QString>

namespace glazery::detail {

double numericValue(const QString& text);

// Narrows to float, limiting to the float range instead of overflowing.
float toSingle(double value);

// Rounds halves to even into the 16-bit range, limiting instead of overflowing.
int toInt16(double value);

} // namespace glazery::detail
