#include "terrain/TerrainRay.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace kl::terrain {
namespace {

// Four floats operated on at once (GCC/Clang vector extension): IEEE
// arithmetic lane by lane.
using Lanes = float __attribute__((vector_size(16)));

// Nodes whose range the segment clears by less than this are still opened, so
// rounding in the ranges never hides a touching segment.
constexpr float kRangeMargin = 1e-3f;

// The walk climbs no higher than nodes 2^-kClimbLimit of the stretch across
// (in cells): from higher up a stretch above the ground is passed in fewer
// steps, but each step down again costs more than the steps it saves.
constexpr int kClimbLimit = 3;

HeightRange merged(const HeightRange& a, const HeightRange& b)
{
    return {std::min(a.min, b.min), std::max(a.max, b.max)};
}

// The segment in grid units: (gx, gz) = grid + gridStep * t; y = y + yStep * t.
class SegmentWalk {
public:
    SegmentWalk(const TerrainSurface& surface, const MinMaxHierarchy& hierarchy, const glm::vec3& from,
                const glm::vec3& to)
        : surface_(surface), hierarchy_(hierarchy), from_(from), step_(to - from), levels_(hierarchy.levels())
    {
        // The divisions of the set-up, four at a time: each lane rounds as
        // the one division on its own would.
        const Lanes grid = Lanes{from.x - surface.origin().x, from.z - surface.origin().y, step_.x, step_.z} /
                           surface.spacing();
        grid_ = {grid[0], grid[1]};
        gridStep_ = {grid[2], grid[3]};
        const Lanes steps{gridStep_.x, gridStep_.y, step_.y, gridStep_.x - gridStep_.y};
        const Lanes inverses = 1.0f / steps;
        // A segment parallel to an axis never crosses a line along it: infinity, of either sign of zero.
        const auto inverse = [&](int lane) {
            return steps[lane] == 0.0f ? std::numeric_limits<float>::infinity() : inverses[lane];
        };
        inverseStep_ = {inverse(0), inverse(1)};
        inverseRise_ = inverse(2);
        inverseDiagonal_ = inverse(3);
    }

    // Walks the nodes the segment passes over [t0, t1], front to back: a node
    // the segment clears is stepped over whole, climbing a level (up to `top`)
    // when the step also leaves its parent; one it does not clear is entered a
    // level lower, down to the cells, whose triangles are tested.
    std::optional<float> run(float t0, float t1)
    {
        // Walked with the directions fixed at compile time: the steps are the
        // hot loop, and every choice made on the direction drops out of it.
        if (gridStep_.x > 0.0f)
            return gridStep_.y > 0.0f ? walk<1, 1>(t0, t1) : walk<1, -1>(t0, t1);
        return gridStep_.y > 0.0f ? walk<-1, 1>(t0, t1) : walk<-1, -1>(t0, t1);
    }

private:
    template <int stepColumn, int stepRow>
    std::optional<float> walk(float t0, float t1)
    {
        const int columns = hierarchy_.columns(0), rows = hierarchy_.rows(0);
        // Clamped before the conversion: rounding on far-away segments must not overflow.
        // (Truncation is the floor from 0 on, and saves a call to floorf.)
        const auto cellOf = [](float g, int cells) {
            if (!(g >= 0.0f))
                return 0;
            return g >= float(cells - 1) ? cells - 1 : int(g);
        };
        const int c0 = cellOf(grid_.x + gridStep_.x * t0, columns), c1 = cellOf(grid_.x + gridStep_.x * t1, columns);
        const int r0 = cellOf(grid_.y + gridStep_.y * t0, rows), r1 = cellOf(grid_.y + gridStep_.y * t1, rows);
        const int span = std::max(std::abs(c1 - c0), std::abs(r1 - r0)) + 1;   // cells along the longer axis
        int top = 0;
        while ((2 << top) <= span)
            ++top;
        top = std::clamp(top - kClimbLimit, 0, hierarchy_.levelCount() - 1);
        // Start in the smallest node that holds the whole stretch, or the
        // highest allowed node where the stretch begins.
        int level = 0;
        while (level < top && ((c0 >> level) != (c1 >> level) || (r0 >> level) != (r1 >> level)))
            ++level;
        int column = c0 >> level, row = r0 >> level;
        // Where the segment leaves the current node across each side, and its
        // height at t: kept from step to step, recomputed only for what changed.
        const auto exitColumn = [&] { return exitCrossing(column, level, grid_.x, inverseStep_.x, stepColumn); };
        const auto exitRow = [&] { return exitCrossing(row, level, grid_.y, inverseStep_.y, stepRow); };
        float t = t0, yt = y(t0);
        float exitX = exitColumn(), exitZ = exitRow();
        for (;;) {
            const float exit = std::min({exitX, exitZ, t1});
            const float yExit = y(exit);
            const HierarchyLevel& view = levels_[std::size_t(level)];
            const HeightRange& range = view.ranges[std::size_t(row) * std::size_t(view.columns) + std::size_t(column)];
            if (!clears(range, yt, yExit)) {
                // The stretch before the segment comes within the node's
                // range clears every cell under it: move past it at once.
                const float entered = std::min(std::max(t, entersRange(range, t, yt)), exit);
                if (entered != t) {
                    t = entered;
                    yt = y(t);
                }
                if (level > 0) {
                    // Down a level, to the child holding t.
                    --level;
                    enterChild(column, exitX, level, grid_.x, inverseStep_.x, stepColumn, t);
                    enterChild(row, exitZ, level, grid_.y, inverseStep_.y, stepRow, t);
                    continue;
                }
                if (const auto hit = inCell(column, row, t, exit))
                    return hit;
            }
            if (exit >= t1)
                return std::nullopt;
            t = exit;
            yt = yExit;
            // Climb when the step left the parent node too; within it the
            // parent is one that failed.
            // Each side's next crossing is worked out in the branch that
            // steps across it: taken as a branch (the sides alternate
            // predictably), the next node does not wait on the comparison.
            const bool acrossColumn = exitX <= exitZ, acrossRow = exitZ <= exitX;
            bool leftParent = false;
            if (acrossColumn) {
                column += stepColumn;
                leftParent = (column & 1) == (stepColumn > 0 ? 0 : 1);
                exitX = exitColumn();
            }
            if (acrossRow) {
                row += stepRow;
                leftParent = leftParent || (row & 1) == (stepRow > 0 ? 0 : 1);
                exitZ = exitRow();
            }
            if (column < 0 || row < 0 || column >= view.columns || row >= view.rows)
                return std::nullopt;
            if (leftParent && level < top) {
                // A child in the far half along an axis leaves the parent by
                // the same side: its crossing stays.
                const bool farColumn = (column & 1) == (stepColumn > 0 ? 1 : 0);
                const bool farRow = (row & 1) == (stepRow > 0 ? 1 : 0);
                ++level;
                column >>= 1;
                row >>= 1;
                if (!farColumn)
                    exitX = exitColumn();
                if (!farRow)
                    exitZ = exitRow();
            }
        }
    }

    float y(float t) const { return from_.y + step_.y * t; }
    // Whether the segment, at heights ya and yb at the ends of a stretch,
    // stays above or below the range over it.
    static bool clears(const HeightRange& range, float ya, float yb)
    {
        return std::min(ya, yb) > range.max + kRangeMargin || std::max(ya, yb) < range.min - kRangeMargin;
    }
    // Where, from t on, the segment comes within the range: where a falling
    // segment sinks to its top, or a rising one climbs to its bottom (t when
    // it is within it already).
    float entersRange(const HeightRange& range, float t, float yt) const
    {
        if (step_.y < 0.0f && yt > range.max + kRangeMargin)
            return (range.max + kRangeMargin - from_.y) * inverseRise_;
        if (step_.y > 0.0f && yt < range.min - kRangeMargin)
            return (range.min - kRangeMargin - from_.y) * inverseRise_;
        return t;
    }
    // Parameter where the segment crosses the grid line `line` of an axis
    // (every line is a whole number, so each crossing has one value however
    // it is reached).
    static float crossing(int line, float start, float inverseStep)
    {
        return std::isinf(inverseStep) ? std::numeric_limits<float>::infinity() : (float(line) - start) * inverseStep;
    }
    // Crossing of the side the segment leaves node `index` of `level` by.
    static float exitCrossing(int index, int level, float start, float inverseStep, int step)
    {
        return crossing((index + (step > 0 ? 1 : 0)) << level, start, inverseStep);
    }
    // Along one axis, from node `index` one level up into its half that
    // holds the segment at t (past the middle line once it has crossed it).
    // `exit`, the crossing the segment leaves the node by, becomes the
    // child's: the middle line for the near half, the node's own side for
    // the far one. (Taken over rather than worked out again, so the next
    // node does not wait on the choice of child.)
    static void enterChild(int& index, float& exit, int childLevel, float start, float inverseStep, int step, float t)
    {
        const int middle = (2 * index + 1) << childLevel;
        if (std::isinf(inverseStep)) {   // parallel to the axis: the exit stays at infinity
            index = 2 * index + (start >= float(middle) ? 1 : 0);
            return;
        }
        const float middleCrossing = crossing(middle, start, inverseStep);
        const bool crossed = middleCrossing <= t;
        index = 2 * index + ((step > 0) == crossed ? 1 : 0);
        if (!crossed)
            exit = middleCrossing;
    }
    // Height of the segment over the cell's triangles at t.
    float clearance(int column, int row, float t) const
    {
        const float fx = std::clamp(grid_.x + gridStep_.x * t - float(column), 0.0f, 1.0f);
        const float fz = std::clamp(grid_.y + gridStep_.y * t - float(row), 0.0f, 1.0f);
        return y(t) - surface_.heightInCell(column, row, fx, fz);
    }

    // Within one cell the surface is two planes, so the clearance is linear
    // between the points where the segment enters, crosses the diagonal and
    // leaves.
    std::optional<float> inCell(int column, int row, float tin, float tout)
    {
        std::array<float, 3> points{tin, tout, tout};
        int count = 2;
        if (!std::isinf(inverseDiagonal_)) {
            const float td = -((grid_.x - float(column)) - (grid_.y - float(row))) * inverseDiagonal_;
            if (td > tin && td < tout) {
                points = {tin, td, tout};
                count = 3;
            }
        }
        // A cell entered where the last one was left takes over its value
        // there, so two cells never disagree on the sign at their common side.
        // (After a skipped node the segment is clear of the ground by more
        // than rounding.)
        float ta = points[0];
        float fa = tin == lastT_ ? lastClearance_ : clearance(column, row, ta);
        if (fa == 0.0f)
            return ta;
        for (int i = 1; i < count; ++i) {
            const float tb = points[std::size_t(i)];
            const float fb = clearance(column, row, tb);
            if (fb == 0.0f)
                return tb;
            if ((fa < 0.0f) != (fb < 0.0f))
                return std::clamp(ta + (tb - ta) * fa / (fa - fb), ta, tb);
            ta = tb;
            fa = fb;
        }
        lastT_ = tout;
        lastClearance_ = fa;
        return std::nullopt;
    }

    const TerrainSurface& surface_;
    const MinMaxHierarchy& hierarchy_;
    glm::vec3 from_;
    glm::vec3 step_;
    const HierarchyLevel* levels_;
    glm::vec2 grid_;
    glm::vec2 gridStep_;
    glm::vec2 inverseStep_;   // 1 / gridStep_, infinity along an axis the segment is parallel to
    float inverseRise_;       // 1 / height change over the segment
    float inverseDiagonal_;   // 1 / change of (fx - fz): where the cell diagonal is crossed
    float lastT_ = -1.0f;
    float lastClearance_ = 0.0f;
};

// Narrows [t0, t1] to where start + step * t lies within [lo, hi], given
// (lo - start) / step and (hi - start) / step.
bool clipAxis(float start, float step, float lo, float hi, float toLo, float toHi, float& t0, float& t1)
{
    if (step == 0.0f)
        return start >= lo && start <= hi;
    const auto [ta, tb] = std::minmax(toLo, toHi);
    t0 = std::max(t0, ta);
    t1 = std::min(t1, tb);
    return t0 <= t1;
}

} // namespace

MinMaxHierarchy::MinMaxHierarchy(const TerrainSurface& surface)
{
    if (surface.empty())
        return;
    HierarchyLevel cells{surface.cellColumns(), surface.cellRows(), {}};
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
        const HierarchyLevel& below = levels_.back();
        HierarchyLevel level{(below.columns + 1) / 2, (below.rows + 1) / 2, {}};
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
    // Both ends strictly inside: the whole segment, as the divisions below
    // would give it (each quotient rounds to at most 0 or at least 1).
    const auto inside = [&](const glm::vec3& p) { return p.x > lo.x && p.x < hi.x && p.z > lo.y && p.z < hi.y; };
    if (inside(from) && inside(to))
        return std::pair{0.0f, 1.0f};
    const float stepX = to.x - from.x, stepZ = to.z - from.z;
    // The four divisions at once; a lane dividing by zero goes unused.
    const Lanes toSides = Lanes{lo.x - from.x, hi.x - from.x, lo.y - from.z, hi.y - from.z} /
                          Lanes{stepX, stepX, stepZ, stepZ};
    float t0 = 0.0f, t1 = 1.0f;
    if (!clipAxis(from.x, stepX, lo.x, hi.x, toSides[0], toSides[1], t0, t1) ||
        !clipAxis(from.z, stepZ, lo.y, hi.y, toSides[2], toSides[3], t0, t1))
        return std::nullopt;
    return std::pair{t0, t1};
}

namespace {

// The walk over the part of the segment over the grid from `clearUntil` on.
std::optional<float> walkFrom(const TerrainSurface& surface, const MinMaxHierarchy& hierarchy, const glm::vec3& from,
                              const glm::vec3& to, float clearUntil)
{
    const auto finite = [](const glm::vec3& v) { return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z); };
    if (hierarchy.levelCount() == 0 || !finite(from) || !finite(to))
        return std::nullopt;
    const auto span = clipToExtent(surface, from, to);
    if (!span)
        return std::nullopt;
    const float start = std::max(span->first, clearUntil);
    if (start > span->second)
        return std::nullopt;
    return SegmentWalk(surface, hierarchy, from, to).run(start, span->second);
}

} // namespace

std::optional<float> intersectSegment(const TerrainSurface& surface, const MinMaxHierarchy& hierarchy,
                                      const glm::vec3& from, const glm::vec3& to)
{
    return walkFrom(surface, hierarchy, from, to, 0.0f);
}

bool hitsBeyond(const TerrainSurface& surface, const MinMaxHierarchy& hierarchy, const glm::vec3& from,
                const glm::vec3& to, float clearUntil)
{
    return walkFrom(surface, hierarchy, from, to, clearUntil).has_value();
}

} // namespace kl::terrain
