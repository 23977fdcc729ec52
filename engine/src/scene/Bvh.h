// Bounding-volume hierarchy over a triangle mesh for ray tests.
#pragma once

#include <glm/glm.hpp>

#include <cstdint>
#include <vector>

namespace kl::scene {

struct Aabb {
    glm::vec3 min{1e30f};
    glm::vec3 max{-1e30f};
    void grow(const glm::vec3& p)
    {
        min = glm::min(min, p);
        max = glm::max(max, p);
    }
    void grow(const Aabb& b)
    {
        min = glm::min(min, b.min);
        max = glm::max(max, b.max);
    }
    bool valid() const { return min.x <= max.x; }
};

struct RayHit {
    float t = 0.0f;              // parameter along the ray (origin + t * direction)
    std::uint32_t triangle = 0;  // index of the triangle (first index / 3)
};

class Bvh {
public:
    // Builds over triangles given as vertex positions and a 32-bit index list;
    // triangles with an index out of range are left out.
    void build(const std::vector<glm::vec3>& positions, const std::vector<std::uint32_t>& indices);
    bool empty() const { return nodes_.empty(); }
    const Aabb& bounds() const;

    // Nearest hit with t in [0, maxT]; both faces of every triangle count.
    bool intersect(const glm::vec3& origin, const glm::vec3& direction, float maxT, RayHit& hit) const;

private:
    struct Node {
        Aabb box;
        std::uint32_t first = 0;   // leaf: first entry in order_; inner: index of right child
        std::uint32_t count = 0;   // leaf: triangle count; inner: 0 (left child follows the node)
    };
    struct Tri {
        glm::vec3 a, e1, e2;
        std::uint32_t id;
    };
    std::uint32_t buildNode(std::vector<std::uint32_t>& order, std::vector<glm::vec3>& centres,
                            std::vector<Aabb>& boxes, std::uint32_t first, std::uint32_t count, int depth);

    std::vector<Node> nodes_;
    std::vector<Tri> tris_;   // in leaf order
};

} // namespace kl::scene
