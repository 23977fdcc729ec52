#include "core/LeadingNumber.h"

#include <platform/RuntimeError.h>
#include <platform/TextRules.h>

#include <cmath>

namespace layerloom {

namespace {

// Runs a conversion of the text rules; an overflow gives nullopt.
template <class Convert>
auto checked(Convert convert) -> std::optional<decltype(convert())>
{
    try {
        return convert();
    } catch (const platform::RuntimeError&) {
        return std::nullopt;
    }
}

} // namespace

std::optional<double> leadingNumber(const QString& text)
{
    return checked([&] { return platform::val(text); });
}

std::optional<qint16> leadingInt16(const QString& text)
{
    return checked([&] { return platform::cint(platform::val(text)); });
}

std::optional<qint32> leadingInt32(const QString& text)
{
    return checked([&] { return platform::clng(platform::val(text)); });
}

std::optional<float> leadingFloat(const QString& text)
{
    return checked([&] { return platform::csng(platform::val(text)); });
}

QString realText(float value)
{
    return platform::singleText(value);
}

std::optional<int> sliderPosition(float power)
{
    const double scaled = double(power) * 10.0;
    if (!std::isfinite(scaled) || scaled < kSliderMinimum - 0.5 || scaled > kSliderMaximum + 0.5)
        return std::nullopt;
    const int position = int(std::nearbyint(scaled));   // the default rounding mode: halves to even
    if (position < kSliderMinimum || position > kSliderMaximum)
        return std::nullopt;
    return position;
}

float sliderPower(int position)
{
    return float(position) / 10.0f;
}

} // namespace layerloom
