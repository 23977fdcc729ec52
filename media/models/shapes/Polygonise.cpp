#include "Polygonise.h"

#include "MeshBuilder.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <unordered_map>

namespace kl::models {

namespace {

// The six tetrahedra of a cube: each walks from corner 0 to corner 7 along
// one ordering of the three axes. Corners are numbered by bits x = 1, y = 2,
// z = 4.
constexpr std::array<std::array<int, 4>, 6> kTetrahedra = {{
    {0, 1, 3, 7}, {0, 1, 5, 7}, {0, 2, 3, 7}, {0, 2, 6, 7}, {0, 4, 5, 7}, {0, 4, 6, 7},
}};

class Polygoniser {
public:
    Polygoniser(const ScalarField& field, glm::vec3 boxMin, glm::vec3 boxMax, glm::ivec3 cells)
        : field_(field), min_(boxMin), cells_(cells),
          step_((boxMax - boxMin) / glm::vec3(cells))
    {
        const glm::ivec3 nodes = cells_ + 1;
        values_.resize(static_cast<std::size_t>(nodes.x) * nodes.y * nodes.z);
        for (int z = 0; z < nodes.z; ++z)
            for (int y = 0; y < nodes.y; ++y)
                for (int x = 0; x < nodes.x; ++x) {
                    float value = field_(nodePosition({x, y, z}));
                    // A node exactly on the surface would give empty triangles.
                    if (value == 0.0f)
                        value = 1.0e-6f;
                    values_[nodeIndex({x, y, z})] = value;
                }
    }

    MeshPart run()
    {
        for (int z = 0; z < cells_.z; ++z)
            for (int y = 0; y < cells_.y; ++y)
                for (int x = 0; x < cells_.x; ++x)
                    polygoniseCell({x, y, z});
        return std::move(part_);
    }

private:
    glm::vec3 nodePosition(glm::ivec3 node) const { return min_ + glm::vec3(node) * step_; }

    std::size_t nodeIndex(glm::ivec3 node) const
    {
        const glm::ivec3 nodes = cells_ + 1;
        return (static_cast<std::size_t>(node.z) * nodes.y + node.y) * nodes.x + node.x;
    }

    void polygoniseCell(glm::ivec3 cell)
    {
        std::array<std::size_t, 8> corner{};
        for (int c = 0; c < 8; ++c)
            corner[c] = nodeIndex(cell + glm::ivec3(c & 1, (c >> 1) & 1, (c >> 2) & 1));
        for (const auto& tet : kTetrahedra)
            polygoniseTetrahedron({corner[tet[0]], corner[tet[1]], corner[tet[2]], corner[tet[3]]});
    }

    void polygoniseTetrahedron(const std::array<std::size_t, 4>& node)
    {
        std::array<std::size_t, 4> inside{};
        std::array<std::size_t, 4> outside{};
        int insideCount = 0;
        int outsideCount = 0;
        for (const std::size_t n : node) {
            if (values_[n] < 0.0f)
                inside[insideCount++] = n;
            else
                outside[outsideCount++] = n;
        }
        if (insideCount == 0 || outsideCount == 0)
            return;
        if (insideCount == 1 || outsideCount == 1) {
            // One corner cut off: one triangle.
            const bool single = insideCount == 1;
            const std::size_t tip = single ? inside[0] : outside[0];
            const auto& others = single ? outside : inside;
            const glm::vec3 tipAt = positionOfIndex(tip);
            const glm::vec3 rest = (positionOfIndex(others[0]) + positionOfIndex(others[1]) +
                                    positionOfIndex(others[2])) / 3.0f;
            emitTriangle({edgeVertex(tip, others[0]), edgeVertex(tip, others[1]),
                          edgeVertex(tip, others[2])},
                         single ? rest - tipAt : tipAt - rest);
            return;
        }
        // Two and two: a quad through the four crossing edges.
        const std::uint32_t a = edgeVertex(inside[0], outside[0]);
        const std::uint32_t b = edgeVertex(inside[0], outside[1]);
        const std::uint32_t c = edgeVertex(inside[1], outside[1]);
        const std::uint32_t d = edgeVertex(inside[1], outside[0]);
        const glm::vec3 outward = positionOfIndex(outside[0]) + positionOfIndex(outside[1]) -
                                  positionOfIndex(inside[0]) - positionOfIndex(inside[1]);
        emitTriangle({a, b, c}, outward);
        emitTriangle({a, c, d}, outward);
    }

    // Winds the triangle to face from the inside corners of its tetrahedron
    // towards the outside ones.
    void emitTriangle(std::array<std::uint32_t, 3> t, glm::vec3 outward)
    {
        const glm::vec3& p0 = part_.vertices[t[0]].position;
        const glm::vec3& p1 = part_.vertices[t[1]].position;
        const glm::vec3& p2 = part_.vertices[t[2]].position;
        if (glm::dot(glm::cross(p1 - p0, p2 - p0), outward) < 0.0f)
            std::swap(t[1], t[2]);
        // Kept even when thin: dropping a sliver would open the surface.
        if (t[0] != t[1] && t[1] != t[2] && t[0] != t[2])
            part_.triangles.push_back({t[0], t[1], t[2]});
    }

    std::uint32_t edgeVertex(std::size_t a, std::size_t b)
    {
        if (a > b)
            std::swap(a, b);
        const std::uint64_t key = (static_cast<std::uint64_t>(a) << 32) | b;
        if (const auto found = edges_.find(key); found != edges_.end())
            return found->second;
        const float va = values_[a];
        const float vb = values_[b];
        // Kept off the corners so that no two edge vertices coincide.
        const float t = std::clamp(va / (va - vb), 0.01f, 0.99f);
        const glm::vec3 p = glm::mix(positionOfIndex(a), positionOfIndex(b), t);
        const std::uint32_t index = addVertex(part_, {p, gradientDirection(p), {}});
        edges_.emplace(key, index);
        return index;
    }

    glm::vec3 positionOfIndex(std::size_t index) const
    {
        const glm::ivec3 nodes = cells_ + 1;
        const auto x = static_cast<int>(index % static_cast<std::size_t>(nodes.x));
        const auto y = static_cast<int>((index / static_cast<std::size_t>(nodes.x)) %
                                        static_cast<std::size_t>(nodes.y));
        const auto z = static_cast<int>(index / (static_cast<std::size_t>(nodes.x) * nodes.y));
        return nodePosition({x, y, z});
    }

    glm::vec3 gradientDirection(glm::vec3 p) const
    {
        const float h = 0.25f * std::min(step_.x, std::min(step_.y, step_.z));
        const glm::vec3 g{field_(p + glm::vec3(h, 0, 0)) - field_(p - glm::vec3(h, 0, 0)),
                          field_(p + glm::vec3(0, h, 0)) - field_(p - glm::vec3(0, h, 0)),
                          field_(p + glm::vec3(0, 0, h)) - field_(p - glm::vec3(0, 0, h))};
        const float length = glm::length(g);
        return length > 0.0f ? g / length : glm::vec3(0.0f, 1.0f, 0.0f);
    }

    const ScalarField& field_;
    glm::vec3 min_;
    glm::ivec3 cells_;
    glm::vec3 step_;
    std::vector<float> values_;
    std::unordered_map<std::uint64_t, std::uint32_t> edges_;
    MeshPart part_;
};

}  // namespace

MeshPart polygonise(const ScalarField& field, glm::vec3 boxMin, glm::vec3 boxMax,
                    glm::ivec3 cells)
{
    return Polygoniser(field, boxMin, boxMax, cells).run();
}

}  // namespace kl::models
