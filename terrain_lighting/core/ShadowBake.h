// The shadow lightmap: the land is sampled once per world unit, x-major; each
// sample asks whether the segment from 200 units towards the light down to 1
// unit above the surface point hits the land or an object, and a hit darkens
// the lightmap pixel the sample falls in and adds the segment's end to the
// shadow coordinates. Segments are tested a band of columns at a time and
// applied in sample order, so the picture and the coordinates are those of
// testing one sample at a time.
#pragma once

#include <korlith3d/types.h>

#include <QImage>
#include <QString>
#include <QtGlobal>

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <vector>

namespace landlume {

// Segment start and end distances along the light, towards it.
inline constexpr float kSegmentStart = -200.0f;
inline constexpr float kSegmentEnd = -1.0f;

struct BakeSetup {
    float landWidth = 0.0f;
    float landHeight = 0.0f;
    float texWidth = 512.0f;
    float texHeight = 512.0f;
    float alpha = 0.4f;
    bool landShadows = true;
    bool objectShadows = true;
    // False: the shadowed points are not collected (no one will read them).
    bool keepCoordinates = true;
    // The light record's (normalised) direction.
    D3DVECTOR direction{};
};

// World units per lightmap pixel: the ratio rounded to the nearest integer,
// halves to even (0 for a ratio of 0.5 or less).
qint32 bakeStep(float landExtent, float texExtent);
// Collision types: 5 both, 4 land, 1 objects, 0 none (the bake stops at once).
int bakeCollisionType(bool landShadows, bool objectShadows);
// Grey of a shadow pixel: 255 - alpha x 255 rounded to even, kept in 0..255.
int shadowGrey(float alpha);
// The segment of the sample at (x, z) on a surface of height y.
void bakeSegment(float x, float y, float z, const D3DVECTOR& direction, D3DVECTOR& start, D3DVECTOR& end);
// The pixel index of a sample coordinate: coordinate / step rounded to even.
// Throws the run-time error of a division by zero (11; 6 for 0 / 0) when
// the step is 0.
qint32 bakePixel(float coordinate, qint32 step);

enum class BakeEnd {
    Finished,        // both loops ran out
    Stopped,         // running or generating became false
    NoShadowKinds,   // neither shadow kind chosen: stopped at once
    Failed,          // a run-time error; see `error`
};

struct BakeOutcome {
    BakeEnd end = BakeEnd::Finished;
    int errorNumber = 0;
    QString errorDescription;
};

struct BakeServices {
    // Called from two threads at once: it must only read.
    std::function<float(float x, float z)> heightAt;
    // hits[i] for segment i, in input order.
    std::function<void(std::span<const D3DVECTOR> starts, std::span<const D3DVECTOR> ends, int types,
                       std::vector<std::uint8_t>& hits)>
        rayTest;
    // Running and generating; read after every event turn.
    std::function<bool()> keepGoing;
    std::function<void()> pumpEvents;
    std::function<void(int x)> progress;
    std::function<void()> repaint;
    // Milliseconds of a steady clock; the steady clock itself when empty.
    std::function<qint64()> clockMs;
};

// How often the bake gives way to events and repaints.
inline constexpr qint64 kEventIntervalMs = 20;
inline constexpr qint64 kRepaintIntervalMs = 100;

// Draws the shadows into `picture` (cleared to white first) and collects the
// shadowed points into `coordinates`, which is replaced only at the first hit.
BakeOutcome drawShadowMap(const BakeSetup& setup, const BakeServices& services, QImage& picture,
                          std::vector<D3DVECTOR>& coordinates);

} // namespace landlume
