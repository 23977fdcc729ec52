#include "terrain/TerrainRay.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace kl::terrain {
namespace {

// Nodes whose range the segment clears by less than this are still opened, so
// rounding in the ranges never hides a touching segment.
constexpr float kRangeMargin = 1e-3f;

HeightRange merged(const HeightRange& a, const HeightRange& b)
{
    return {std::min(a.min, b.min), std::max(a.max, b.max)};
}

// The segment in grid units: (gx, gz) = grid + gridStep * t; y = y + yStep * t.
class SegmentWalk {
public:
    SegmentWalk(const TerrainSurface& surface, const MinMaxHierarchy& hierarchy, const glm::vec3& from,
                const glm::vec3& to)
        : surface_(surface), hierarchy_(hierarchy), from_(from), step_(to - from),
          grid_((glm::vec2(from.x, from.z) - surface.origin()) / surface.spacing()),
          gridStep_(glm::vec2(step_.x, step_.z) / surface.spacing())
    {
    }

    std::optional<float> run(float t0, float t1) const
    {
        const int top = hierarchy_.levelCount() - 1;
        return visit(top, 0, 0, t0, t1);
    }

private:
    float y(float t) const { return from_.y + step_.y * t; }
    // Height of the segment over the surface; the same function of t in
    // every cell, so neighbouring cells agree on their shared points.
    float clearance(float t) const
    {
        return y(t) - surface_.height(from_.x + step_.x * t, from_.z + step_.z * t);
    }

    std::optional<float> visit(int level, int column, int row, float tin, float tout) const
    {
        const HeightRange& range = hierarchy_.node(level, column, row);
        const float y0 = y(tin), y1 = y(tout);
        if (std::min(y0, y1) > range.max + kRangeMargin || std::max(y0, y1) < range.min - kRangeMargin)
            return std::nullopt;
        if (level == 0)
            return inCell(column, row, tin, tout);

        // Split at the node's middle lines and visit the children in the
        // order the segment passes them.
        const float half = float(1 << (level - 1));
        const float midX = (2.0f * float(column) + 1.0f) * half;
        const float midZ = (2.0f * float(row) + 1.0f) * half;
        std::array<float, 4> cuts{tin, tout, tout, tout};
        int count = 1;
        addCut(cuts, count, midX, grid_.x, gridStep_.x, tin, tout);
        addCut(cuts, count, midZ, grid_.y, gridStep_.y, tin, tout);
        std::sort(cuts.begin() + 1, cuts.begin() + count);
        cuts[std::size_t(count)] = tout;
        for (int i = 0; i < count; ++i) {
            const float ta = cuts[std::size_t(i)], tb = cuts[std::size_t(i) + 1];
            if (!(tb > ta))
                continue;
            const float tm = 0.5f * (ta + tb);
            const int childColumn = 2 * column + (grid_.x + gridStep_.x * tm >= midX ? 1 : 0);
            const int childRow = 2 * row + (grid_.y + gridStep_.y * tm >= midZ ? 1 : 0);
            if (childColumn >= hierarchy_.columns(level - 1) || childRow >= hierarchy_.rows(level - 1))
                continue;
            if (const auto hit = visit(level - 1, childColumn, childRow, ta, tb))
                return hit;
        }
        return std::nullopt;
    }

    static void addCut(std::array<float, 4>& cuts, int& count, float line, float start, float step, float tin,
                       float tout)
    {
        if (step == 0.0f)
            return;
        const float t = (line - start) / step;
        if (t > tin && t < tout)
            cuts[std::size_t(count++)] = t;
    }

    // Within one cell the surface is two planes, so the clearance is linear
    // between the points where the segment enters, crosses the diagonal and
    // leaves.
    std::optional<float> inCell(int column, int row, float tin, float tout) const
    {
        std::array<float, 3> points{tin, tout, tout};
        int count = 2;
        const float diagonalStep = gridStep_.x - gridStep_.y;
        if (diagonalStep != 0.0f) {
            const float td = -((grid_.x - float(column)) - (grid_.y - float(row))) / diagonalStep;
            if (td > tin && td < tout) {
                points = {tin, td, tout};
                count = 3;
            }
        }
        float ta = points[0];
        float fa = clearance(ta);
        if (fa == 0.0f)
            return ta;
        for (int i = 1; i < count; ++i) {
            const float tb = points[std::size_t(i)];
            const float fb = clearance(tb);
            if (fb == 0.0f)
                return tb;
            if ((fa < 0.0f) != (fb < 0.0f))
                return std::clamp(ta + (tb - ta) * fa / (fa - fb), ta, tb);
            ta = tb;
            fa = fb;
        }
        return std::nullopt;
    }

    const TerrainSurface& surface_;
    const MinMaxHierarchy& hierarchy_;
    glm::vec3 from_;
    glm::vec3 step_;
    glm::vec2 grid_;
    glm::vec2 gridStep_;
};

// Narrows [t0, t1] to where start + step * t lies within [lo, hi].
bool clipAxis(float start, float step, float lo, float hi, float& t0, float& t1)
{
    if (step == 0.0f)
        return start >= lo && start <= hi;
    float ta = (lo - start) / step, tb = (hi - start) / step;
    if (ta > tb)
        std::swap(ta, tb);
    t0 = std::max(t0, ta);
    t1 = std::min(t1, tb);
    return t0 <= t1;
}

} // namespace

MinMaxHierarchy::MinMaxHierarchy(const TerrainSurface& surface)
{
    if (surface.empty())
        return;
    Level cells{surface.cellColumns(), surface.cellRows(), {}};
    cells.ranges.resize(std::size_t(cells.columns) * std::size_t(cells.rows));
    for (int row = 0; row < cells.rows; ++row) {
        for (int column = 0; column < cells.columns; ++column) {
            const auto [lo, hi] = std::minmax({surface.vertex(column, row), surface.vertex(column + 1, row),
                                               surface.vertex(column, row + 1), surface.vertex(column + 1, row + 1)});
            cells.ranges[std::size_t(row) * std::size_t(cells.columns) + std::size_t(column)] = {lo, hi};
        }
    }
    levels_.push_back(std::move(cells));
    while (levels_.back().columns > 1 || levels_.back().rows > 1) {
        const Level& below = levels_.back();
        Level level{(below.columns + 1) / 2, (below.rows + 1) / 2, {}};
        level.ranges.resize(std::size_t(level.columns) * std::size_t(level.rows));
        for (int row = 0; row < level.rows; ++row) {
            for (int column = 0; column < level.columns; ++column) {
                const auto at = [&](int c, int r) {
                    c = std::min(c, below.columns - 1);
                    r = std::min(r, below.rows - 1);
                    return below.ranges[std::size_t(r) * std::size_t(below.columns) + std::size_t(c)];
                };
                const int c = 2 * column, r = 2 * row;
                level.ranges[std::size_t(row) * std::size_t(level.columns) + std::size_t(column)] =
                    merged(merged(at(c, r), at(c + 1, r)), merged(at(c, r + 1), at(c + 1, r + 1)));
            }
        }
        levels_.push_back(std::move(level));
    }
}

std::optional<std::pair<float, float>> clipToExtent(const TerrainSurface& surface, const glm::vec3& from,
                                                    const glm::vec3& to)
{
    if (surface.empty())
        return std::nullopt;
    const glm::vec2 lo = surface.origin(), hi = surface.origin() + surface.extent();
    float t0 = 0.0f, t1 = 1.0f;
    if (!clipAxis(from.x, to.x - from.x, lo.x, hi.x, t0, t1) || !clipAxis(from.z, to.z - from.z, lo.y, hi.y, t0, t1))
        return std::nullopt;
    return std::pair{t0, t1};
}

std::optional<float> intersectSegment(const TerrainSurface& surface, const MinMaxHierarchy& hierarchy,
                                      const glm::vec3& from, const glm::vec3& to)
{
    if (hierarchy.levelCount() == 0)
        return std::nullopt;
    const auto span = clipToExtent(surface, from, to);
    if (!span)
        return std::nullopt;
    return SegmentWalk(surface, hierarchy, from, to).run(span->first, span->second);
}

} // namespace kl::terrain
