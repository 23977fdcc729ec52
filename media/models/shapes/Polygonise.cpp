#include "Polygonise.h"

#include "MeshBuilder.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <unordered_map>

namespace kl::models {

namespace {

// Corners of a cube cell are numbered by bits: x = 1, y = 2, z = 4.
struct CellFace {
    std::array<int, 4> corners;  // in order round the face
    glm::vec3 outward;           // normal pointing out of the cell
};

constexpr std::array<CellFace, 6> kFaces = {{
    {{0, 2, 6, 4}, {-1, 0, 0}},
    {{1, 3, 7, 5}, {1, 0, 0}},
    {{0, 1, 5, 4}, {0, -1, 0}},
    {{2, 3, 7, 6}, {0, 1, 0}},
    {{0, 1, 3, 2}, {0, 0, -1}},
    {{4, 5, 7, 6}, {0, 0, 1}},
}};

// Marching cubes without a case table: on every face of a cell the surface
// crosses as segments between the crossed edges, and the segments of the six
// faces join into closed loops, each loop one polygon. A face whose inside
// corners sit diagonally gets one segment round each inside corner; the rule
// depends on the face alone, so the two cells sharing a face always agree
// and the surface has no cracks.
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
    struct Segment {
        std::uint32_t from;
        std::uint32_t to;
    };

    glm::vec3 nodePosition(glm::ivec3 node) const { return min_ + glm::vec3(node) * step_; }

    std::size_t nodeIndex(glm::ivec3 node) const
    {
        const glm::ivec3 nodes = cells_ + 1;
        return (static_cast<std::size_t>(node.z) * nodes.y + node.y) * nodes.x + node.x;
    }

    bool inside(std::size_t node) const { return values_[node] < 0.0f; }

    void polygoniseCell(glm::ivec3 cell)
    {
        std::array<std::size_t, 8> corner{};
        int insideCount = 0;
        for (int c = 0; c < 8; ++c) {
            corner[c] = nodeIndex(cell + glm::ivec3(c & 1, (c >> 1) & 1, (c >> 2) & 1));
            insideCount += inside(corner[c]) ? 1 : 0;
        }
        if (insideCount == 0 || insideCount == 8)
            return;

        std::vector<Segment> segments;
        for (const CellFace& face : kFaces)
            addFaceSegments(face, corner, segments);
        emitLoops(segments);
    }

    void addFaceSegments(const CellFace& face, const std::array<std::size_t, 8>& corner,
                         std::vector<Segment>& segments)
    {
        std::array<std::size_t, 4> node{};
        std::array<bool, 4> in{};
        int insideCount = 0;
        for (int i = 0; i < 4; ++i) {
            node[i] = corner[face.corners[i]];
            in[i] = inside(node[i]);
            insideCount += in[i] ? 1 : 0;
        }
        if (insideCount == 0 || insideCount == 4)
            return;
        const bool diagonal = insideCount == 2 && in[0] == in[2];
        if (diagonal) {
            // One segment cutting off each inside corner.
            for (int i = 0; i < 4; ++i) {
                if (!in[i])
                    continue;
                const std::size_t before = node[(i + 3) % 4];
                const std::size_t after = node[(i + 1) % 4];
                addSegment(edgeVertex(before, node[i]), edgeVertex(node[i], after), node[i],
                           face.outward, segments);
            }
            return;
        }
        // Exactly two crossed edges.
        std::array<std::uint32_t, 2> crossing{};
        int found = 0;
        std::size_t insideNode = 0;
        for (int i = 0; i < 4; ++i) {
            if (in[i])
                insideNode = node[i];
            if (in[i] != in[(i + 1) % 4])
                crossing[found++] = edgeVertex(node[i], node[(i + 1) % 4]);
        }
        addSegment(crossing[0], crossing[1], insideNode, face.outward, segments);
    }

    // Directs the segment so that, seen from outside the cell, the inside of
    // the shape lies to its right; the loops then run counter-clockwise seen
    // from outside the shape.
    void addSegment(std::uint32_t a, std::uint32_t b, std::size_t insideNode, glm::vec3 faceOutward,
                    std::vector<Segment>& segments) const
    {
        const glm::vec3 pa = part_.vertices[a].position;
        const glm::vec3 pb = part_.vertices[b].position;
        const glm::vec3 towardsInside = positionOfIndex(insideNode) - (pa + pb) * 0.5f;
        if (glm::dot(glm::cross(pb - pa, towardsInside), faceOutward) > 0.0f)
            std::swap(a, b);
        segments.push_back({a, b});
    }

    void emitLoops(std::vector<Segment>& segments)
    {
        std::vector<bool> used(segments.size(), false);
        const auto nextFrom = [&](std::uint32_t vertex) -> int {
            for (std::size_t i = 0; i < segments.size(); ++i)
                if (!used[i] && segments[i].from == vertex)
                    return static_cast<int>(i);
            return -1;
        };
        for (std::size_t start = 0; start < segments.size(); ++start) {
            if (used[start])
                continue;
            std::vector<std::uint32_t> loop;
            int current = static_cast<int>(start);
            while (current >= 0) {
                used[static_cast<std::size_t>(current)] = true;
                loop.push_back(segments[static_cast<std::size_t>(current)].from);
                current = nextFrom(segments[static_cast<std::size_t>(current)].to);
            }
            // Kept even when thin: dropping a sliver would open the surface.
            for (std::size_t i = 1; i + 1 < loop.size(); ++i)
                part_.triangles.push_back({loop[0], loop[i], loop[i + 1]});
        }
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
