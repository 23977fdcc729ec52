// Frame timing of the attached view: the time of the last frame and the frames
// presented during the last whole second.
#pragma once

#include <QElapsedTimer>

namespace kl::core {

class FrameClock {
public:
    // Starts counting a new second (the view was attached).
    void restart();
    // One frame was presented, `milliseconds` after the one before.
    void framePresented(double milliseconds);
    double frameMilliseconds() const { return frameMilliseconds_; }
    int fps() const { return fps_; }

private:
    double frameMilliseconds_ = 0.0;
    int framesThisSecond_ = 0;
    int fps_ = 0;
    QElapsedTimer second_;
};

} // namespace kl::core
