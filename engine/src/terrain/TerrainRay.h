// Segment tests against the terrain surface, walked through a hierarchy of
// height ranges: each node knows the lowest and highest point of the cells
// below it, so a stretch of segment that passes above (or below) a node is
// settled without looking at its cells.
#pragma once

#include "terrain/TerrainSurface.h"

#include <glm/glm.hpp>

#include <optional>
#include <vector>

namespace kl::terrain {

struct HeightRange {
    float min = 0.0f;
    float max = 0.0f;
};

// One level of the hierarchy: its nodes row by row.
struct HierarchyLevel {
    int columns = 0;
    int rows = 0;
    std::vector<HeightRange> ranges;
};

class MinMaxHierarchy {
public:
    MinMaxHierarchy() = default;
    // Level 0 holds one range per cell; each level above merges 2 x 2 nodes,
    // up to a single node over the whole grid.
    explicit MinMaxHierarchy(const TerrainSurface& surface);

    int levelCount() const { return int(levels_.size()); }
    int columns(int level) const { return levels_[std::size_t(level)].columns; }
    int rows(int level) const { return levels_[std::size_t(level)].rows; }
    const HeightRange& node(int level, int column, int row) const
    {
        const HierarchyLevel& l = levels_[std::size_t(level)];
        return l.ranges[std::size_t(row) * std::size_t(l.columns) + std::size_t(column)];
    }
    // The level's nodes, row by row.
    const HeightRange* nodes(int level) const { return levels_[std::size_t(level)].ranges.data(); }
    // The levels, the cells' first.
    const HierarchyLevel* levels() const { return levels_.data(); }

private:
    std::vector<HierarchyLevel> levels_;
};

// Segment parameter t in [0, 1] of the first point, from `from` towards `to`,
// where the segment meets the surface inside the grid's extent (crossing it
// from above or from below, or touching it). Outside the extent there is no
// terrain to hit.
std::optional<float> intersectSegment(const TerrainSurface& surface, const MinMaxHierarchy& hierarchy,
                                      const glm::vec3& from, const glm::vec3& to);

// Whether intersectSegment finds a hit, for a segment known to clear the
// ground by far more than rounding before parameter `clearUntil`: only the
// rest is walked, and the answer is the same (the walk looks at other points
// of the clear stretch, where no sign can change, and at the same points
// after it).
bool hitsBeyond(const TerrainSurface& surface, const MinMaxHierarchy& hierarchy, const glm::vec3& from,
                const glm::vec3& to, float clearUntil);

// The part [t0, t1] of the segment that lies over the grid's extent; empty
// when the segment passes beside it.
std::optional<std::pair<float, float>> clipToExtent(const TerrainSurface& surface, const glm::vec3& from,
                                                    const glm::vec3& to);

} // namespace kl::terrain
