// Geometric preview objects: smooth where round, hard edges (own vertices per
// face) where not.
#include "MeshBuilder.h"
#include "Shapes.h"

#include <glm/gtc/constants.hpp>

#include <array>
#include <cmath>

namespace kl::models {

namespace {

constexpr float kPi = glm::pi<float>();
constexpr int kRoundSegments = 48;

MeshPart namedPart(const char* name)
{
    MeshPart part;
    part.name = name;
    return part;
}

Model single(MeshPart part)
{
    Model model;
    model.parts.push_back(std::move(part));
    return model;
}

}  // namespace

Model makeSphere()
{
    constexpr float radius = 10.0f;
    MeshPart part = namedPart("Sphere");
    addSurface(part, kRoundSegments, kRoundSegments / 2, [](float u, float v) {
        const float longitude = u * 2.0f * kPi;
        const float polar = v * kPi;  // 0 at the bottom
        // Exactly on the axis at both poles, so the pole triangles collapse
        // cleanly instead of leaving slivers.
        const float ring = (v <= 0.0f || v >= 1.0f) ? 0.0f : std::sin(polar);
        const glm::vec3 n{ring * std::cos(longitude), -std::cos(polar),
                          ring * std::sin(longitude)};
        return Vertex{n * radius, n, {u, v}};
    });
    return single(std::move(part));
}

Model makeCube()
{
    MeshPart part = namedPart("Cube");
    addBox(part, glm::vec3(-8.0f), glm::vec3(8.0f));
    return single(std::move(part));
}

Model makeCylinder()
{
    MeshPart part = namedPart("Cylinder");
    addFrustum(part, 8.0f, 8.0f, -9.0f, 9.0f, kRoundSegments, true, true);
    return single(std::move(part));
}

Model makeCone()
{
    MeshPart part = namedPart("Cone");
    addFrustum(part, 9.0f, 0.0f, -9.0f, 9.0f, kRoundSegments, true, false);
    return single(std::move(part));
}

Model makePyramid()
{
    constexpr float half = 9.0f;
    constexpr float bottom = -8.0f;
    constexpr float top = 8.0f;
    MeshPart part = namedPart("Pyramid");
    const std::array<glm::vec3, 4> base = {glm::vec3{-half, bottom, -half},
                                           glm::vec3{half, bottom, -half},
                                           glm::vec3{half, bottom, half},
                                           glm::vec3{-half, bottom, half}};
    const std::array<glm::vec2, 4> baseUv = {glm::vec2{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    addFlatPolygonFacing(part, base, baseUv, {0.0f, -1.0f, 0.0f});
    const glm::vec3 apex{0.0f, top, 0.0f};
    for (std::size_t i = 0; i < base.size(); ++i) {
        const glm::vec3& a = base[i];
        const glm::vec3& b = base[(i + 1) % base.size()];
        const std::array<glm::vec3, 3> side = {a, b, apex};
        const std::array<glm::vec2, 3> sideUv = {glm::vec2{0, 0}, {1, 0}, {0.5f, 1}};
        const glm::vec3 outward = (a + b) * 0.5f;
        addFlatPolygonFacing(part, side, sideUv, {outward.x, 0.0f, outward.z});
    }
    return single(std::move(part));
}

Model makeTorus()
{
    constexpr float major = 7.0f;
    constexpr float minor = 3.0f;
    MeshPart part = namedPart("Torus");
    addSurface(part, kRoundSegments, kRoundSegments / 2, [](float u, float v) {
        const float around = u * 2.0f * kPi;
        const float tube = v * 2.0f * kPi;
        const glm::vec3 n{std::cos(tube) * std::cos(around), std::sin(tube),
                          std::cos(tube) * std::sin(around)};
        const glm::vec3 centre{major * std::cos(around), 0.0f, major * std::sin(around)};
        return Vertex{centre + n * minor, n, {u * 2.0f, v}};
    });
    return single(std::move(part));
}

Model makeTube()
{
    constexpr float outer = 9.0f;
    constexpr float inner = 6.0f;
    constexpr float halfHeight = 9.0f;
    MeshPart part = namedPart("Tube");
    addFrustum(part, outer, outer, -halfHeight, halfHeight, kRoundSegments, false, false);
    addSurface(part, kRoundSegments, 1, [](float u, float v) {
        const float angle = u * 2.0f * kPi;
        const glm::vec3 radial{std::cos(angle), 0.0f, std::sin(angle)};
        return Vertex{radial * inner + glm::vec3(0.0f, -halfHeight + 2.0f * halfHeight * v, 0.0f),
                      -radial, {u, v}};
    });
    addAnnulus(part, inner, outer, halfHeight, true, kRoundSegments);
    addAnnulus(part, inner, outer, -halfHeight, false, kRoundSegments);
    return single(std::move(part));
}

}  // namespace kl::models
