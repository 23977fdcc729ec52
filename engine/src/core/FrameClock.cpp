#include "core/FrameClock.h"

namespace kl::core {

void FrameClock::restart()
{
    second_.start();
}

void FrameClock::framePresented(double milliseconds)
{
    frameMilliseconds_ = milliseconds;
    ++framesThisSecond_;
    if (!second_.isValid())
        second_.start();
    if (second_.elapsed() >= 1000) {
        fps_ = framesThisSecond_;
        framesThisSecond_ = 0;
        second_.restart();
    }
}

} // namespace kl::core
