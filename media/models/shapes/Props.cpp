// Scene meshes of the particle editor and the objects of the terrain tool.
#include "MeshBuilder.h"
#include "Shapes.h"

#include <glm/gtc/constants.hpp>

#include <array>
#include <cmath>
#include <map>
#include <utility>

namespace kl::models {

namespace {

constexpr int kSegments = 32;

MeshPart namedPart(const char* name, glm::vec3 colour)
{
    MeshPart part;
    part.name = name;
    part.colour = colour;
    return part;
}

// Triangle-faced sphere of radius 1 (an icosahedron subdivided `levels` times).
std::pair<std::vector<glm::vec3>, std::vector<glm::uvec3>> icosphere(int levels)
{
    const float t = (1.0f + std::sqrt(5.0f)) / 2.0f;
    std::vector<glm::vec3> points = {{-1, t, 0}, {1, t, 0}, {-1, -t, 0}, {1, -t, 0},
                                     {0, -1, t}, {0, 1, t}, {0, -1, -t}, {0, 1, -t},
                                     {t, 0, -1}, {t, 0, 1}, {-t, 0, -1}, {-t, 0, 1}};
    for (auto& p : points)
        p = glm::normalize(p);
    std::vector<glm::uvec3> faces = {{0, 11, 5}, {0, 5, 1},  {0, 1, 7},   {0, 7, 10}, {0, 10, 11},
                                     {1, 5, 9},  {5, 11, 4}, {11, 10, 2}, {10, 7, 6}, {7, 1, 8},
                                     {3, 9, 4},  {3, 4, 2},  {3, 2, 6},   {3, 6, 8},  {3, 8, 9},
                                     {4, 9, 5},  {2, 4, 11}, {6, 2, 10},  {8, 6, 7},  {9, 8, 1}};
    for (int level = 0; level < levels; ++level) {
        std::map<std::pair<unsigned, unsigned>, unsigned> midpoints;
        const auto midpoint = [&](unsigned a, unsigned b) {
            const auto key = std::minmax(a, b);
            if (const auto found = midpoints.find(key); found != midpoints.end())
                return found->second;
            points.push_back(glm::normalize(points[a] + points[b]));
            const auto index = static_cast<unsigned>(points.size() - 1);
            midpoints.emplace(key, index);
            return index;
        };
        std::vector<glm::uvec3> finer;
        for (const auto& f : faces) {
            const unsigned ab = midpoint(f.x, f.y);
            const unsigned bc = midpoint(f.y, f.z);
            const unsigned ca = midpoint(f.z, f.x);
            finer.insert(finer.end(), {{f.x, ab, ca}, {f.y, bc, ab}, {f.z, ca, bc}, {ab, bc, ca}});
        }
        faces = std::move(finer);
    }
    return {points, faces};
}

}  // namespace

// The particle editor places the pole at (0, 30, 0) at half size and emits
// from that point: the pole reaches down from its top at the origin, so it
// stands on the floor with the emitter at its tip.
Model makePole()
{
    MeshPart part = namedPart("Pole", {0.75f, 0.75f, 0.8f});
    addFrustum(part, 6.0f, 5.0f, -60.0f, -58.0f, kSegments, true, true);  // foot
    addFrustum(part, 1.5f, 1.5f, -58.5f, -1.5f, kSegments, true, true);   // shaft
    addFrustum(part, 1.5f, 3.0f, -2.0f, 0.0f, kSegments, true, true);     // cup at the top
    Model model;
    model.parts.push_back(std::move(part));
    return model;
}

Model makeFloor()
{
    constexpr float half = 200.0f;
    constexpr float thickness = 2.0f;
    constexpr float tiles = 8.0f;
    MeshPart part = namedPart("Floor", {0.7f, 0.7f, 0.7f});
    addBox(part, {-half, -thickness, -half}, {half, 0.0f, half});
    for (auto& v : part.vertices) {
        if (v.normal.y > 0.5f)  // the walking surface repeats the texture
            v.uv = {(v.position.x + half) / (2.0f * half) * tiles,
                    (half - v.position.z) / (2.0f * half) * tiles};
    }
    Model model;
    model.parts.push_back(std::move(part));
    return model;
}

Model makeLightMarker()
{
    MeshPart part = namedPart("Arrow", {1.0f, 0.0f, 0.0f});
    addFrustum(part, 1.8f, 1.8f, -20.0f, 4.5f, kSegments, true, true);  // shaft
    addFrustum(part, 5.0f, 0.0f, 4.0f, 20.0f, kSegments, true, false);  // head, tip on +y
    Model model;
    model.parts.push_back(std::move(part));
    return model;
}

Model makeTree()
{
    Model model;
    MeshPart trunk = namedPart("Trunk", {0.45f, 0.3f, 0.15f});
    addFrustum(trunk, 1.6f, 1.1f, 0.0f, 14.0f, kSegments, true, true);
    model.parts.push_back(std::move(trunk));

    MeshPart crown = namedPart("Crown", {0.15f, 0.5f, 0.18f});
    addFrustum(crown, 9.0f, 0.0f, 10.0f, 26.0f, kSegments, true, false);
    addFrustum(crown, 7.5f, 0.0f, 18.0f, 33.0f, kSegments, true, false);
    addFrustum(crown, 5.5f, 0.0f, 25.0f, 40.0f, kSegments, true, false);
    model.parts.push_back(std::move(crown));
    return model;
}

// A lumpy boulder with flat facets, sunk a little into the ground.
Model makeRock()
{
    const auto [points, faces] = icosphere(2);
    const auto radius = [](glm::vec3 d) {
        return 1.0f + 0.16f * std::sin(3.1f * d.x + 1.7f * d.y) +
               0.12f * std::sin(4.3f * d.z - 2.2f * d.x + 0.5f) +
               0.07f * std::sin(7.9f * d.y + 5.3f * d.z + 1.3f);
    };
    const glm::vec3 size{6.0f, 3.6f, 5.0f};
    MeshPart part = namedPart("Rock", {0.5f, 0.48f, 0.45f});
    for (const auto& f : faces) {
        std::array<glm::vec3, 3> corners{};
        std::array<glm::vec2, 3> uvs{};
        for (int i = 0; i < 3; ++i) {
            const glm::vec3 d = points[f[i]];
            corners[static_cast<std::size_t>(i)] = d * radius(d) * size + glm::vec3(0.0f, 2.4f, 0.0f);
            uvs[static_cast<std::size_t>(i)] = {0.5f + std::atan2(d.x, d.z) / glm::two_pi<float>(),
                                                0.5f + d.y * 0.5f};
        }
        const glm::vec3 outward = points[f.x] + points[f.y] + points[f.z];
        addFlatPolygonFacing(part, corners, uvs, outward);
    }
    Model model;
    model.parts.push_back(std::move(part));
    return model;
}

Model makeHouse()
{
    Model model;
    MeshPart walls = namedPart("Walls", {0.9f, 0.85f, 0.7f});
    addBox(walls, {-12.0f, 0.0f, -8.0f}, {12.0f, 12.0f, 8.0f});
    model.parts.push_back(std::move(walls));

    // Gable roof: a prism with its ridge along x, overhanging the walls.
    MeshPart roof = namedPart("Roof", {0.6f, 0.2f, 0.12f});
    const float x0 = -13.0f, x1 = 13.0f, eave = 12.0f, ridge = 21.0f, zFront = 9.5f;
    const std::array<glm::vec2, 4> quadUv = {glm::vec2{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    const std::array<glm::vec2, 3> gableUv = {glm::vec2{0, 0}, {1, 0}, {0.5f, 1}};
    const std::array<glm::vec3, 4> front = {glm::vec3{x0, eave, zFront}, {x1, eave, zFront},
                                            {x1, ridge, 0.0f}, {x0, ridge, 0.0f}};
    const std::array<glm::vec3, 4> back = {glm::vec3{x0, eave, -zFront}, {x1, eave, -zFront},
                                           {x1, ridge, 0.0f}, {x0, ridge, 0.0f}};
    const std::array<glm::vec3, 4> bottom = {glm::vec3{x0, eave, -zFront}, {x1, eave, -zFront},
                                             {x1, eave, zFront}, {x0, eave, zFront}};
    const std::array<glm::vec3, 3> left = {glm::vec3{x0, eave, -zFront}, {x0, eave, zFront},
                                           {x0, ridge, 0.0f}};
    const std::array<glm::vec3, 3> right = {glm::vec3{x1, eave, -zFront}, {x1, eave, zFront},
                                            {x1, ridge, 0.0f}};
    addFlatPolygonFacing(roof, front, quadUv, {0.0f, 1.0f, 1.0f});
    addFlatPolygonFacing(roof, back, quadUv, {0.0f, 1.0f, -1.0f});
    addFlatPolygonFacing(roof, bottom, quadUv, {0.0f, -1.0f, 0.0f});
    addFlatPolygonFacing(roof, left, gableUv, {-1.0f, 0.0f, 0.0f});
    addFlatPolygonFacing(roof, right, gableUv, {1.0f, 0.0f, 0.0f});
    model.parts.push_back(std::move(roof));

    MeshPart chimney = namedPart("Chimney", {0.55f, 0.3f, 0.25f});
    addBox(chimney, {5.0f, 15.0f, -4.5f}, {7.5f, 24.0f, -2.0f});
    model.parts.push_back(std::move(chimney));

    MeshPart door = namedPart("Door", {0.35f, 0.22f, 0.1f});
    addBox(door, {-2.0f, 0.0f, 7.8f}, {2.0f, 7.5f, 8.4f});
    model.parts.push_back(std::move(door));

    MeshPart windows = namedPart("Windows", {0.35f, 0.45f, 0.6f});
    addBox(windows, {-9.5f, 5.0f, 7.8f}, {-5.5f, 9.0f, 8.3f});
    addBox(windows, {5.5f, 5.0f, 7.8f}, {9.5f, 9.0f, 8.3f});
    addBox(windows, {-9.5f, 5.0f, -8.3f}, {-5.5f, 9.0f, -7.8f});
    addBox(windows, {5.5f, 5.0f, -8.3f}, {9.5f, 9.0f, -7.8f});
    addBox(windows, {11.8f, 5.0f, -2.0f}, {12.3f, 9.0f, 2.0f});
    addBox(windows, {-12.3f, 5.0f, -2.0f}, {-11.8f, 9.0f, 2.0f});
    model.parts.push_back(std::move(windows));
    return model;
}

}  // namespace kl::models
