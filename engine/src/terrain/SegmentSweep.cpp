#include "terrain/SegmentSweep.h"

#include "core/ParallelBlocks.h"
#include "terrain/TerrainRay.h"

#include <glm/glm.hpp>

#include <algorithm>
#include <cmath>
#include <limits>
#include <span>

namespace kl::terrain {
namespace {

// Smaller batches are walked: the sweep's set-up would not pay.
constexpr std::size_t kMinBatch = 4096;
// Segments whose directions differ by less than this count as parallel (the
// comparison allows for the difference).
constexpr float kSameDirection = 1e-4f;
// Segments whose starts lie within 1/kLinesPerUnit across the direction
// share a line.
constexpr float kLinesPerUnit = 64.0f;
// Fewer segments per line than this, and the profiles cost more than walks.
constexpr std::size_t kMinPerLine = 4;
// Clearance beyond which a point is surely above (or below) the ground, on
// top of the bounds worked out per segment: far more than the rounding of
// the walk or of the sweep.
constexpr float kCertain = 0.01f;
constexpr std::size_t kLinesPerBlock = 16;
constexpr std::size_t kSegmentsPerBlock = 16384;
// The near end of a segment the sweep may leave to the walk, in spacings.
constexpr float kNearEnd = 2.0f;
// Largest shift of a window's ends against the ones before it, in spacings.
constexpr float kMaxOverhang = 0.01f;

struct Heading {
    glm::vec2 along{0.0f};   // unit horizontal direction
    float slope = 0.0f;      // rise per unit along it
};

std::optional<Heading> headingOf(const glm::vec3& direction)
{
    const float horizontal = std::hypot(direction.x, direction.z);
    if (!std::isfinite(horizontal) || !std::isfinite(direction.y) || horizontal == 0.0f ||
        !(horizontal > 1e-6f * std::abs(direction.y)))
        return std::nullopt;
    return Heading{{direction.x / horizontal, direction.z / horizontal}, direction.y / horizontal};
}

bool sameHeading(const Heading& a, const Heading& b)
{
    return std::abs(a.along.x - b.along.x) < kSameDirection && std::abs(a.along.y - b.along.y) < kSameDirection &&
           std::abs(a.slope - b.slope) < kSameDirection;
}

glm::vec3 toGlm(const D3DVECTOR& v)
{
    return {v.x, v.y, v.z};
}

bool finite(const glm::vec3& v)
{
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

// Coordinates turned to the batch's direction, from the land's corner:
// `along` the direction, `across` it.
struct Frame {
    glm::vec2 origin{0.0f};
    glm::vec2 along{1.0f, 0.0f};
    glm::vec2 across{0.0f, 1.0f};
    float slope = 0.0f;

    glm::vec2 turned(const glm::vec3& p) const
    {
        const glm::vec2 q{p.x - origin.x, p.z - origin.y};
        return {glm::dot(q, along), glm::dot(q, across)};
    }
};

// One segment as its line's sweep reads it.
struct Member {
    std::uint32_t index = 0;
    float lo = 0.0f, hi = 0.0f;        // its stretch of the line (along), lowest first
    float startHeight = 0.0f;          // y at its start
    float startAlong = 0.0f;           // along at its start
    float slope = 0.0f;                // its rise per unit along
    float offLine = 0.0f;              // how far it strays across from the line
    float clearLo = 0.0f, clearHi = 0.0f;   // clearance at the ends of its part over the land, at lo and at hi
    float alongStep = 0.0f;            // change of along from its start to its end
};

// What a thread keeps from line to line.
struct Scratch {
    std::vector<Member> members;
    std::vector<float> along[3];
    std::vector<float> breaks;    // along, ascending
    std::vector<float> ground;    // profile at the breaks, less the rise along the direction
    std::vector<int> highest, lowest;   // the sliding window's candidates, as indices into breaks
    std::vector<int> highestShort;      // the same for the window short of the near end
};

// Where the line `across` = b crosses the grid lines of one family, along
// [lo, hi], ascending: lines at value = k * spacing for whole k in [kMin,
// kMax], value = along * rate + b * offset.
void crossings(float rate, float base, float spacing, int kMin, int kMax, float lo, float hi, std::vector<float>& out)
{
    out.clear();
    if (rate == 0.0f)
        return;   // parallel: never crossed
    const float v0 = lo * rate + base, v1 = hi * rate + base;
    const int first = std::max(kMin, int(std::ceil(std::min(v0, v1) / spacing)));
    const int last = std::min(kMax, int(std::floor(std::max(v0, v1) / spacing)));
    for (int k = first; k <= last; ++k)
        out.push_back((float(k) * spacing - base) / rate);
    if (rate < 0.0f)
        std::reverse(out.begin(), out.end());
}

// Settles the members of one line, in `order` (the stretches' ends rising).
void sweepLine(const TerrainSurface& surface, const Frame& frame, float line, std::span<const Member> members,
               bool reversed, SweepAnswer* answers, float* walkFrom, Scratch& scratch)
{
    float lo = members.front().lo, hi = members.front().hi;
    for (const Member& m : members) {
        lo = std::min(lo, m.lo);
        hi = std::max(hi, m.hi);
    }
    // The profile: breaks where the line crosses a column line, a row line or
    // a cell diagonal (column - row constant), merged in order.
    const float spacing = surface.spacing();
    const glm::vec2 at{line * frame.across.x, line * frame.across.y};   // the line's point at along 0
    crossings(frame.along.x, at.x, spacing, 0, surface.cellColumns(), lo, hi, scratch.along[0]);
    crossings(frame.along.y, at.y, spacing, 0, surface.cellRows(), lo, hi, scratch.along[1]);
    crossings(frame.along.x - frame.along.y, at.x - at.y, spacing, -surface.cellRows(), surface.cellColumns(), lo, hi,
              scratch.along[2]);
    std::vector<float>& breaks = scratch.breaks;
    breaks.resize(scratch.along[0].size() + scratch.along[1].size());
    std::merge(scratch.along[0].begin(), scratch.along[0].end(), scratch.along[1].begin(), scratch.along[1].end(),
               breaks.begin());
    const std::size_t twoFamilies = breaks.size();
    breaks.resize(twoFamilies + scratch.along[2].size());
    std::copy(scratch.along[2].begin(), scratch.along[2].end(), breaks.begin() + std::ptrdiff_t(twoFamilies));
    std::inplace_merge(breaks.begin(), breaks.begin() + std::ptrdiff_t(twoFamilies), breaks.end());
    // Heights less the direction's rise from lo: a segment's clearance is its
    // own straight line less this (see below).
    std::vector<float>& ground = scratch.ground;
    ground.resize(breaks.size());
    float heightScale = 0.0f;
    for (std::size_t k = 0; k < breaks.size(); ++k) {
        const glm::vec2 p = frame.origin + at + breaks[k] * frame.along;
        const float h = surface.height(p.x, p.y);
        heightScale = std::max(heightScale, std::abs(h));
        ground[k] = h - frame.slope * (breaks[k] - lo);
    }
    const float steepest = surface.steepestSlope();
    // Rounding of the points where the profile is taken, across the kinks
    // of the ground: a little height either way.
    const float kinkRounding = 1e-3f + 4e-7f * (surface.extent().x + surface.extent().y);

    // Each member's window of breaks, slid along the line: the candidates for
    // its highest and lowest ground, kept in falling (rising) order.
    std::vector<int>& highest = scratch.highest;
    std::vector<int>& lowest = scratch.lowest;
    std::vector<int>& highestShort = scratch.highestShort;
    highest.clear();
    lowest.clear();
    highestShort.clear();
    std::size_t highFront = 0, lowFront = 0, shortFront = 0;
    std::size_t next = 0, nextShort = 0;
    // A segment left in doubt by its near end (at hi: cast down along the
    // direction) is often clear short of it: then only that end is walked.
    const float nearEnd = kNearEnd * spacing;
    // The window's ends only move up: a stretch ending short of the one
    // before it (by rounding, mostly) is judged on the window reaching that
    // far, the difference counted in its bounds, or left to the walk.
    float windowLo = -std::numeric_limits<float>::infinity(), windowHi = windowLo;
    for (std::size_t n = 0; n < members.size(); ++n) {
        const Member& m = members[reversed ? members.size() - 1 - n : n];
        windowLo = std::max(windowLo, m.lo);
        windowHi = std::max(windowHi, m.hi);
        const float overhang = (windowLo - m.lo) + (windowHi - m.hi);
        for (; next < breaks.size() && breaks[next] <= windowHi; ++next) {
            while (highest.size() > highFront && ground[std::size_t(highest.back())] <= ground[next])
                highest.pop_back();
            highest.push_back(int(next));
            while (lowest.size() > lowFront && ground[std::size_t(lowest.back())] >= ground[next])
                lowest.pop_back();
            lowest.push_back(int(next));
        }
        while (highFront < highest.size() && breaks[std::size_t(highest[highFront])] < windowLo)
            ++highFront;
        while (lowFront < lowest.size() && breaks[std::size_t(lowest[lowFront])] < windowLo)
            ++lowFront;
        if (overhang > kMaxOverhang * spacing)
            continue;

        // The member's clearance at along a is
        //   offset + (slope - frame slope) (a - lo) - ground(a)
        // give or take the ground's change over its distance from the line,
        // and the clearance is straight between breaks: its extremes lie at
        // breaks or at the ends.
        const float offset = m.startHeight - m.slope * (m.startAlong - lo);
        const float reach = hi - lo;
        const float scale = std::abs(m.startHeight) + std::abs(m.slope) * (reach + std::abs(m.startAlong - lo)) +
                            std::abs(frame.slope) * reach + heightScale;
        // (Over the overhang the clearance changes by at most the segment's
        // rise and the steepest ground's.)
        const float slack = steepest * (m.offLine + kinkRounding) + std::abs(m.slope - frame.slope) * reach +
                            (steepest + std::abs(m.slope)) * overhang + 1e-6f * scale;
        const float endLow = std::min(m.clearLo, m.clearHi), endHigh = std::max(m.clearLo, m.clearHi);
        float surelyLow = endLow, surelyHigh = endHigh;   // some point is at most / at least this
        float lowBound = endLow, highBound = endHigh;     // every point is at least / at most this
        if (highFront < highest.size()) {
            const float top = ground[std::size_t(highest[highFront])];
            const float bottom = ground[std::size_t(lowest[lowFront])];
            lowBound = std::min(lowBound, offset - top - slack);
            surelyLow = std::min(surelyLow, offset - top + slack);
            highBound = std::max(highBound, offset - bottom + slack);
            surelyHigh = std::max(surelyHigh, offset - bottom - slack);
        }
        SweepAnswer& answer = answers[m.index];
        if (lowBound > kCertain || highBound < -kCertain) {
            answer = SweepAnswer::Miss;
            continue;
        }
        if (surelyHigh > kCertain && surelyLow < -kCertain) {
            answer = SweepAnswer::Hit;
            continue;
        }
        // The stretch [lo, hi - nearEnd]: its highest ground among the breaks
        // within it and the first one past it (the ground is straight
        // between breaks, so that bounds it at hi - nearEnd too).
        const float shortEnd = m.hi - nearEnd;
        if (m.alongStep <= 0.0f || !(shortEnd > m.lo))
            continue;
        const auto pushShort = [&](std::size_t k) {
            while (highestShort.size() > shortFront && ground[std::size_t(highestShort.back())] <= ground[k])
                highestShort.pop_back();
            highestShort.push_back(int(k));
        };
        for (; nextShort < breaks.size() && breaks[nextShort] <= shortEnd; ++nextShort)
            pushShort(nextShort);
        while (shortFront < highestShort.size() && breaks[std::size_t(highestShort[shortFront])] < windowLo)
            ++shortFront;
        if (nextShort >= breaks.size())
            continue;   // no break past the stretch to bound its end with
        float top = ground[nextShort];
        if (shortFront < highestShort.size())
            top = std::max(top, ground[std::size_t(highestShort[shortFront])]);
        if (std::min(m.clearLo, offset - top - slack) > kCertain)
            walkFrom[m.index] = (shortEnd - 0.25f * spacing - m.startAlong) / m.alongStep;
    }
}

} // namespace

std::optional<SweptSegments> sweepSegments(const TerrainSurface& surface, const D3DVECTOR* starts,
                                           const D3DVECTOR* ends, std::size_t count)
{
    if (count < kMinBatch || surface.empty() || count > std::size_t(UINT32_MAX))
        return std::nullopt;
    // The batch's direction, and a look at segments spread over it: all must
    // follow it. (One that does not is still answered right: every segment's
    // own slope and distance from its line go into its bounds.)
    constexpr std::size_t kLooks = 16;
    std::optional<Heading> heading;
    for (std::size_t look = 0; look < kLooks; ++look) {
        const std::size_t i = look * (count - 1) / (kLooks - 1);
        const auto here = headingOf(toGlm(ends[i]) - toGlm(starts[i]));
        if (!here || (heading && !sameHeading(*heading, *here)))
            return std::nullopt;
        heading = heading ? heading : here;
    }
    Frame frame;
    frame.origin = surface.origin();
    frame.along = heading->along;
    frame.across = {-frame.along.y, frame.along.x};
    frame.slope = heading->slope;

    // Lines: the starts' across coordinate in steps of 1/kLinesPerUnit over
    // the land's span, counted and sorted by line (input order within one).
    const glm::vec2 extent = surface.extent();
    float acrossLo = 0.0f, acrossHi = 0.0f;
    for (const glm::vec2 corner : {glm::vec2(extent.x, 0.0f), glm::vec2(0.0f, extent.y), extent}) {
        acrossLo = std::min(acrossLo, glm::dot(corner, frame.across));
        acrossHi = std::max(acrossHi, glm::dot(corner, frame.across));
    }
    acrossLo -= 1.0f;
    const std::size_t lineCount = std::size_t((acrossHi + 1.0f - acrossLo) * kLinesPerUnit) + 1;
    constexpr std::uint32_t kNoLine = UINT32_MAX;
    std::vector<std::uint32_t> lineOf(count);
    std::vector<std::uint32_t> firsts(lineCount + 1, 0);
    core::forEachInBlocks(count, kSegmentsPerBlock, [&](std::size_t i) {
        const glm::vec3 start = toGlm(starts[i]);
        const float across = finite(start) ? frame.turned(start).y : std::numeric_limits<float>::quiet_NaN();
        const float slot = (across - acrossLo) * kLinesPerUnit;
        lineOf[i] = slot >= 0.0f && slot < float(lineCount) ? std::uint32_t(slot) : kNoLine;
    });
    for (const std::uint32_t line : lineOf)
        if (line != kNoLine)
            ++firsts[line + 1];
    std::size_t used = 0;
    for (std::size_t l = 0; l < lineCount; ++l) {
        used += firsts[l + 1] > 0 ? 1 : 0;
        firsts[l + 1] += firsts[l];
    }
    if (used == 0 || firsts[lineCount] / used < kMinPerLine)
        return std::nullopt;
    std::vector<std::uint32_t> members(firsts[lineCount]);
    {
        std::vector<std::uint32_t> fill(firsts.begin(), firsts.end() - 1);
        for (std::size_t i = 0; i < count; ++i)
            if (lineOf[i] != kNoLine)
                members[fill[lineOf[i]]++] = std::uint32_t(i);
    }
    std::vector<std::uint32_t> lines;
    lines.reserve(used);
    for (std::size_t l = 0; l < lineCount; ++l)
        if (firsts[l + 1] > firsts[l])
            lines.push_back(std::uint32_t(l));

    SweptSegments swept;
    swept.answers.assign(count, SweepAnswer::Unknown);
    swept.walkFrom.assign(count, 0.0f);
    SweepAnswer* answers = swept.answers.data();
    const auto sweepLineNumber = [&](std::size_t n, Scratch& scratch) {
        const std::uint32_t l = lines[n];
        const std::span<const std::uint32_t> indices(members.data() + firsts[l], firsts[l + 1] - firsts[l]);
        const float line = frame.turned(toGlm(starts[indices.front()])).y;
        std::vector<Member>& list = scratch.members;
        list.clear();
        for (const std::uint32_t i : indices) {
            const glm::vec3 from = toGlm(starts[i]), to = toGlm(ends[i]);
            if (!finite(to))
                continue;
            const auto clip = clipToExtent(surface, from, to);
            if (!clip) {
                answers[i] = SweepAnswer::Miss;   // beside the land: nothing to hit
                continue;
            }
            const glm::vec2 a = frame.turned(from), b = frame.turned(to);
            const float alongStep = b.x - a.x;
            if (!(std::abs(alongStep) > 1e-3f * surface.spacing()))
                continue;
            Member m;
            m.index = i;
            const float alongA = a.x + alongStep * clip->first, alongB = a.x + alongStep * clip->second;
            m.lo = std::min(alongA, alongB);
            m.hi = std::max(alongA, alongB);
            m.startHeight = from.y;
            m.startAlong = a.x;
            m.slope = (to.y - from.y) / alongStep;
            m.offLine = std::max(std::abs(a.y - line), std::abs(b.y - line));
            const auto clearance = [&](float t) {
                const glm::vec3 p = from + (to - from) * t;
                return p.y - surface.height(p.x, p.z);
            };
            const float first = clearance(clip->first), last = clearance(clip->second);
            m.clearLo = alongA <= alongB ? first : last;
            m.clearHi = alongA <= alongB ? last : first;
            m.alongStep = alongStep;
            if (!std::isfinite(m.slope) || !std::isfinite(first) || !std::isfinite(last))
                continue;
            list.push_back(m);
        }
        if (list.empty())
            return;
        // The window slides one way: taken in the order the stretches rise.
        sweepLine(surface, frame, line, list, list.back().lo < list.front().lo, answers, swept.walkFrom.data(), scratch);
    };
    // Blocks of lines, each with room of its own that its lines reuse.
    const std::size_t blocks = (lines.size() + kLinesPerBlock - 1) / kLinesPerBlock;
    core::forEachInBlocks(blocks, 1, [&](std::size_t block) {
        Scratch scratch;
        for (std::size_t n = block * kLinesPerBlock; n < std::min(lines.size(), (block + 1) * kLinesPerBlock); ++n)
            sweepLineNumber(n, scratch);
    });
    return swept;
}

} // namespace kl::terrain
