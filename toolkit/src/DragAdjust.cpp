#include "toolkit/DragAdjust.h"

#include <platform/RuntimeError.h>
#include <platform/TextRules.h>

#include <algorithm>
#include <cmath>
#include <limits>

namespace toolkit {
namespace {

// The box's number, never throwing: text that is no number, or a number
// beyond the range of a float, still drags from a defined value.
float boxValue(const QString& text)
{
    double value = 0;
    try {
        value = platform::val(text);
    } catch (const platform::RuntimeError&) {
        value = 0;
    }
    if (!std::isfinite(value))
        return 0;
    constexpr double limit = std::numeric_limits<float>::max();
    return static_cast<float>(std::clamp(value, -limit, limit));
}

} // namespace

float DragAdjust(float y, float lastMouseY, float value, int min, int max, float smallStep,
                 float largeStep)
{
    const float distance = std::fabs(y - lastMouseY);
    float step = distance > 10.0f ? smallStep : 0.0f;
    if (distance > 30.0f)
        step = largeStep;
    // Screen y grows downwards: moving the mouse up raises the value.
    if (y >= lastMouseY)
        value -= step;
    else
        value += step;
    if (value > float(max))
        value = float(max);
    if (value < float(min))
        value = float(min);
    return value;
}

QString dragFieldText(const QString& text, float y, float lastMouseY, const DragLimits& limits)
{
    const float value = DragAdjust(y, lastMouseY, boxValue(text), limits.min,
                                   limits.max, limits.smallStep, limits.largeStep);
    return platform::cstrSingle(value);
}

} // namespace toolkit
