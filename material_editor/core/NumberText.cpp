#include "core/NumberText.h"

#include <platform/RuntimeError.h>
#include <platform/TextRules.h>

#include <algorithm>
#include <cmath>
#include <limits>

namespace glazery::detail {

double numericValue(const QString& text)
{
    try {
        const double value = platform::val(text);
        return std::isfinite(value) ? value : 0.0;
    } catch (const platform::RuntimeError&) {
        return 0.0;
    }
}

float toSingle(double value)
{
    constexpr double limit = std::numeric_limits<float>::max();
    if (std::isnan(value))
        return 0.0f;
    return static_cast<float>(std::clamp(value, -limit, limit));
}

int toInt16(double value)
{
    if (std::isnan(value))
        return 0;
    const double limited = std::clamp(value, -32768.0, 32767.0);
    return platform::cint(limited);
}

} // namespace glazery::detail
