#pragma once
// The leading-number rule of the edit fields and the preset file, and the
// number texts the window shows: the longest numeric prefix of a text
// ("12abc" is 12, "" is 0, ".5" and "1E-05" read), integers rounded to the
// nearest with halves to even, a period as the decimal separator always.

#include <QString>
#include <QtGlobal>

#include <optional>

namespace layerloom {

// The numeric value of a text; nullopt beyond the range of a double.
std::optional<double> leadingNumber(const QString& text);
// Rounded to a 16- or 32-bit integer; nullopt when it does not fit.
std::optional<qint16> leadingInt16(const QString& text);
std::optional<qint32> leadingInt32(const QString& text);
// As a 32-bit float; nullopt beyond its range.
std::optional<float> leadingFloat(const QString& text);

// Shortest decimal text of a real: "1.5", "2", "0.25".
QString realText(float value);

// The blend-power slider: 0 to 30, one step a tenth of power.
inline constexpr int kSliderMinimum = 0;
inline constexpr int kSliderMaximum = 30;
// Slider position of a power: power x 10 rounded, halves to even; nullopt
// when that lies outside the slider.
std::optional<int> sliderPosition(float power);
// The power a slider position stands for: position / 10.
float sliderPower(int position);

} // namespace layerloom
