// Hit or miss of many parallel segments at once, for a lightmap bake: the
// segments cast from a grid of sample points towards one light lie, many at
// a time, on shared lines. Along each line the ground's profile is followed
// once (its heights where the line crosses grid lines and cell diagonals;
// between them it is straight), and each segment is compared with the
// highest and lowest ground under its stretch of the line: a segment that
// stays above the ground, or below it, by far more than rounding misses; one
// clearly above it somewhere and clearly below it elsewhere crosses it. The
// few segments too close to call are left to the walk (intersectSegment).
#pragma once

#include "korlith3d/types.h"
#include "terrain/TerrainSurface.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace kl::terrain {

enum class SweepAnswer : std::uint8_t { Unknown, Miss, Hit };

struct SweptSegments {
    // Per segment: Miss where intersectSegment finds no hit, Hit where it
    // finds one, Unknown where only it can tell.
    std::vector<SweepAnswer> answers;
    // Per Unknown segment: the parameter before which it clears the ground
    // by far more than rounding (0 when that is not known), so whether it
    // hits is hitsBeyond(..., walkFrom[i]).
    std::vector<float> walkFrom;
};

// The answers for the segments starts[i] -> ends[i]. Nothing when the batch
// is not of that kind (small, its segments running different ways, or few
// sharing a line): then every segment is walked. Spread over all cores.
std::optional<SweptSegments> sweepSegments(const TerrainSurface& surface, const D3DVECTOR* starts,
                                           const D3DVECTOR* ends, std::size_t count);

} // namespace kl::terrain
