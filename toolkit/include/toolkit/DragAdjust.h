// Drag-to-adjust: holding the left button on a number box and moving the
// mouse up or down steps the number. Mouse y values are in twips.
#pragma once

#include <QString>

namespace toolkit {

// Distances up to 10 make no step, 11..30 the small step, beyond 30 the large
// step; moving up (y below lastMouseY) raises. The result is limited to max
// first, then to min.
float DragAdjust(float y, float lastMouseY, float value, int min, int max, float smallStep,
                 float largeStep);

struct DragLimits {
    int min;
    int max;
    float smallStep;
    float largeStep;
};

// One drag step on a box: reads the numeric value of `text`, applies
// DragAdjust and returns the text of the result (shortest form, "12", "2.5").
QString dragFieldText(const QString& text, float y, float lastMouseY, const DragLimits& limits);

// The last vertical mouse position seen by any drag-to-adjust box of a
// window; the boxes of one window share it.
struct DragTracker {
    float lastMouseY = 0;
};

} // namespace toolkit
