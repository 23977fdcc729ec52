// Form units: the windows of the tools measure in twips, 15 to a pixel.
#pragma once

namespace toolkit {

inline constexpr int TwipsPerPixel = 15;

// Rounds half away from zero, as a form's conversion does.
constexpr int toPixels(double twips)
{
    return static_cast<int>(twips / TwipsPerPixel + (twips >= 0 ? 0.5 : -0.5));
}
constexpr int toTwips(int pixels) { return pixels * TwipsPerPixel; }

} // namespace toolkit
