#include "scene/Bvh.h"

#include <algorithm>
#include <numeric>

namespace kl::scene {
namespace {

constexpr std::uint32_t LeafSize = 4;
constexpr int MaxHeuristicDepth = 64;
// Below MaxHeuristicDepth median splits add at most 32 levels.
constexpr int StackSize = 128;

bool hitsBox(const Aabb& box, const glm::vec3& origin, const glm::vec3& inverse, float maxT, float& entry)
{
    const glm::vec3 t0 = (box.min - origin) * inverse;
    const glm::vec3 t1 = (box.max - origin) * inverse;
    const glm::vec3 lo = glm::min(t0, t1);
    const glm::vec3 hi = glm::max(t0, t1);
    const float near = std::max({lo.x, lo.y, lo.z, 0.0f});
    const float far = std::min({hi.x, hi.y, hi.z, maxT});
    entry = near;
    return near <= far;
}

} // namespace

const Aabb& Bvh::bounds() const
{
    static const Aabb none;
    return nodes_.empty() ? none : nodes_.front().box;
}

void Bvh::build(const std::vector<glm::vec3>& positions, const std::vector<std::uint32_t>& indices)
{
    nodes_.clear();
    tris_.clear();
    std::vector<Tri> all;
    std::vector<Aabb> boxes;
    std::vector<glm::vec3> centres;
    const size_t triangleCount = indices.size() / 3;
    for (size_t i = 0; i < triangleCount; ++i) {
        const std::uint32_t ia = indices[i * 3], ib = indices[i * 3 + 1], ic = indices[i * 3 + 2];
        if (ia >= positions.size() || ib >= positions.size() || ic >= positions.size())
            continue;
        const glm::vec3 a = positions[ia], b = positions[ib], c = positions[ic];
        all.push_back(Tri{a, b - a, c - a, static_cast<std::uint32_t>(i)});
        Aabb box;
        box.grow(a);
        box.grow(b);
        box.grow(c);
        boxes.push_back(box);
        centres.push_back((box.min + box.max) * 0.5f);
    }
    if (all.empty())
        return;
    std::vector<std::uint32_t> order(all.size());
    std::iota(order.begin(), order.end(), 0u);
    nodes_.reserve(all.size() * 2 / LeafSize + 1);
    buildNode(order, centres, boxes, 0, static_cast<std::uint32_t>(order.size()), 0);
    tris_.reserve(all.size());
    for (std::uint32_t index : order)
        tris_.push_back(all[index]);
}

std::uint32_t Bvh::buildNode(std::vector<std::uint32_t>& order, std::vector<glm::vec3>& centres,
                             std::vector<Aabb>& boxes, std::uint32_t first, std::uint32_t count, int depth)
{
    const auto nodeIndex = static_cast<std::uint32_t>(nodes_.size());
    nodes_.push_back({});
    Aabb box, centreBox;
    for (std::uint32_t i = first; i < first + count; ++i) {
        box.grow(boxes[order[i]]);
        centreBox.grow(centres[order[i]]);
    }
    nodes_[nodeIndex].box = box;
    const glm::vec3 extent = centreBox.max - centreBox.min;
    if (count <= LeafSize || std::max({extent.x, extent.y, extent.z}) <= 0.0f) {
        nodes_[nodeIndex].first = first;
        nodes_[nodeIndex].count = count;
        return nodeIndex;
    }
    // Split where the surface-area heuristic is lowest, over 12 bins per axis;
    // fall back to the median of the widest axis.
    constexpr int Bins = 12;
    const auto area = [](const Aabb& b) {
        const glm::vec3 d = b.max - b.min;
        return d.x * d.y + d.y * d.z + d.z * d.x;
    };
    int bestAxis = -1;
    int bestBin = 0;
    float bestCost = area(box) * float(count);
    // Deep down only balanced splits, so the walk's fixed stack always suffices.
    for (int axis = 0; axis < 3 && depth < MaxHeuristicDepth; ++axis) {
        if (extent[axis] <= 0.0f)
            continue;
        Aabb binBoxes[Bins];
        std::uint32_t binCounts[Bins] = {};
        const float scale = float(Bins) / extent[axis];
        for (std::uint32_t i = first; i < first + count; ++i) {
            const int bin = std::min(Bins - 1, int((centres[order[i]][axis] - centreBox.min[axis]) * scale));
            binBoxes[bin].grow(boxes[order[i]]);
            ++binCounts[bin];
        }
        float rightAreas[Bins];
        std::uint32_t rightCounts[Bins];
        Aabb running;
        std::uint32_t runningCount = 0;
        for (int b = Bins - 1; b > 0; --b) {
            running.grow(binBoxes[b]);
            runningCount += binCounts[b];
            rightAreas[b] = running.valid() ? area(running) : 0.0f;
            rightCounts[b] = runningCount;
        }
        Aabb left;
        std::uint32_t leftCount = 0;
        for (int b = 0; b < Bins - 1; ++b) {
            left.grow(binBoxes[b]);
            leftCount += binCounts[b];
            if (leftCount == 0 || rightCounts[b + 1] == 0)
                continue;
            const float cost = area(left) * float(leftCount) + rightAreas[b + 1] * float(rightCounts[b + 1]);
            if (cost < bestCost) {
                bestCost = cost;
                bestAxis = axis;
                bestBin = b;
            }
        }
    }
    std::uint32_t half = count / 2;
    if (bestAxis >= 0) {
        const float scale = float(Bins) / extent[bestAxis];
        const auto middle = std::partition(order.begin() + first, order.begin() + first + count, [&](std::uint32_t t) {
            return std::min(Bins - 1, int((centres[t][bestAxis] - centreBox.min[bestAxis]) * scale)) <= bestBin;
        });
        half = static_cast<std::uint32_t>(middle - (order.begin() + first));
    }
    if (bestAxis < 0 || half == 0 || half == count) {
        const int axis = extent.x >= extent.y && extent.x >= extent.z ? 0 : (extent.y >= extent.z ? 1 : 2);
        half = count / 2;
        std::nth_element(order.begin() + first, order.begin() + first + half, order.begin() + first + count,
                         [&](std::uint32_t a, std::uint32_t b) { return centres[a][axis] < centres[b][axis]; });
    }
    buildNode(order, centres, boxes, first, half, depth + 1);
    const std::uint32_t right = buildNode(order, centres, boxes, first + half, count - half, depth + 1);
    nodes_[nodeIndex].first = right;
    nodes_[nodeIndex].count = 0;
    return nodeIndex;
}

bool Bvh::intersect(const glm::vec3& origin, const glm::vec3& direction, float maxT, RayHit& hit) const
{
    if (nodes_.empty())
        return false;
    const glm::vec3 inverse = 1.0f / direction;   // infinities are fine for the slab test
    float best = maxT;
    bool found = false;
    std::uint32_t stack[StackSize];
    float entries[StackSize];
    int top = 0;
    float rootEntry = 0.0f;
    if (!hitsBox(nodes_[0].box, origin, inverse, best, rootEntry))
        return false;
    entries[top] = rootEntry;
    stack[top++] = 0;
    while (top > 0) {
        --top;
        if (entries[top] > best)
            continue;   // entered behind the best hit found since it was queued
        const std::uint32_t index = stack[top];
        const Node& node = nodes_[index];
        if (node.count > 0) {
            for (std::uint32_t i = node.first; i < node.first + node.count; ++i) {
                const Tri& tri = tris_[i];
                const glm::vec3 p = glm::cross(direction, tri.e2);
                const float det = glm::dot(tri.e1, p);
                if (std::abs(det) < 1e-12f)
                    continue;
                const float invDet = 1.0f / det;
                const glm::vec3 s = origin - tri.a;
                const float u = glm::dot(s, p) * invDet;
                if (u < 0.0f || u > 1.0f)
                    continue;
                const glm::vec3 q = glm::cross(s, tri.e1);
                const float v = glm::dot(direction, q) * invDet;
                if (v < 0.0f || u + v > 1.0f)
                    continue;
                const float t = glm::dot(tri.e2, q) * invDet;
                if (t >= 0.0f && t <= best) {
                    best = t;
                    hit.t = t;
                    hit.triangle = tri.id;
                    found = true;
                }
            }
            continue;
        }
        // Visit the nearer child first so later boxes are cut by the best hit.
        const std::uint32_t left = index + 1;
        const std::uint32_t right = node.first;
        float leftEntry = 0.0f, rightEntry = 0.0f;
        const bool hitLeft = hitsBox(nodes_[left].box, origin, inverse, best, leftEntry);
        const bool hitRight = hitsBox(nodes_[right].box, origin, inverse, best, rightEntry);
        if (top + 2 > StackSize)
            continue;
        if (hitLeft && hitRight) {
            const bool leftFirst = leftEntry <= rightEntry;
            entries[top] = leftFirst ? rightEntry : leftEntry;
            stack[top++] = leftFirst ? right : left;
            entries[top] = leftFirst ? leftEntry : rightEntry;
            stack[top++] = leftFirst ? left : right;
        } else if (hitLeft) {
            entries[top] = leftEntry;
            stack[top++] = left;
        } else if (hitRight) {
            entries[top] = rightEntry;
            stack[top++] = right;
        }
    }
    return found;
}

} // namespace kl::scene
