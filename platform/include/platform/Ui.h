#pragma once
// Small window-system helpers: letting pending events run inside a long
// action (VB DoEvents) and the twips the tools' layouts are measured in.

#include <cmath>

namespace platform {

inline constexpr int TwipsPerPixel = 15;

inline int pixelsFromTwips(double twips)
{
    return static_cast<int>(std::lround(twips / TwipsPerPixel));
}

inline double twipsFromPixels(int pixels)
{
    return static_cast<double>(pixels) * TwipsPerPixel;
}

// Runs the events waiting in the queue and returns.
void doEvents();

} // namespace platform
