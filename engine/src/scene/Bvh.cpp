#include "scene/Bvh.h"

#include <algorithm>
#include <numeric>

namespace kl::scene {
namespace {

constexpr std::uint32_t LeafSize = 4;

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
    buildNode(order, centres, boxes, 0, static_cast<std::uint32_t>(order.size()));
    tris_.reserve(all.size());
    for (std::uint32_t index : order)
        tris_.push_back(all[index]);
}

std::uint32_t Bvh::buildNode(std::vector<std::uint32_t>& order, std::vector<glm::vec3>& centres,
                             std::vector<Aabb>& boxes, std::uint32_t first, std::uint32_t count)
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
    const int axis = extent.x >= extent.y && extent.x >= extent.z ? 0 : (extent.y >= extent.z ? 1 : 2);
    const std::uint32_t half = count / 2;
    std::nth_element(order.begin() + first, order.begin() + first + half, order.begin() + first + count,
                     [&](std::uint32_t a, std::uint32_t b) { return centres[a][axis] < centres[b][axis]; });
    buildNode(order, centres, boxes, first, half);
    const std::uint32_t right = buildNode(order, centres, boxes, first + half, count - half);
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
    std::uint32_t stack[64];
    float entries[64];
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
        if (top + 2 > 64)
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
