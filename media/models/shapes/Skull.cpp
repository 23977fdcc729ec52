// A skull as an implicit surface: rounded solids for cranium, face, cheek
// bones, jaw and teeth blended together, with the eye sockets, the nose
// cavity and the temples carved out; polygonised on a regular grid.
// The face looks along +z here (towards the viewer once the model is written
// left-handed, see ModelExport.cpp).
#include "MeshBuilder.h"
#include "Polygonise.h"
#include "Shapes.h"

#include <glm/gtc/constants.hpp>

#include <algorithm>
#include <cmath>

namespace kl::models {

namespace {

float ellipsoid(glm::vec3 p, glm::vec3 centre, glm::vec3 radii)
{
    const glm::vec3 q = p - centre;
    const float k0 = glm::length(q / radii);
    const float k1 = glm::length(q / (radii * radii));
    return k1 > 0.0f ? k0 * (k0 - 1.0f) / k1 : -std::min(radii.x, std::min(radii.y, radii.z));
}

float capsule(glm::vec3 p, glm::vec3 a, glm::vec3 b, float radius)
{
    const glm::vec3 pa = p - a;
    const glm::vec3 ba = b - a;
    const float h = std::clamp(glm::dot(pa, ba) / glm::dot(ba, ba), 0.0f, 1.0f);
    return glm::length(pa - ba * h) - radius;
}

// Smooth union and smooth carving (polynomial blend of width k).
float blend(float a, float b, float k)
{
    const float h = std::max(k - std::abs(a - b), 0.0f) / k;
    return std::min(a, b) - h * h * k * 0.25f;
}

float carve(float solid, float hole, float k)
{
    return -blend(-solid, hole, k);
}

// Both sides of the face.
template <typename Shape>
float mirrored(glm::vec3 p, Shape shape)
{
    return shape(glm::vec3(std::abs(p.x), p.y, p.z));
}

float teeth(glm::vec3 p)
{
    constexpr int kTeeth = 10;
    constexpr float kArcRadius = 3.6f;
    const glm::vec3 arcCentre{0.0f, 0.0f, 2.2f};
    float d = 1.0e9f;
    for (int i = 0; i < kTeeth; ++i) {
        const float angle = glm::radians(-75.0f + 150.0f * static_cast<float>(i) / (kTeeth - 1));
        const glm::vec3 at = arcCentre + glm::vec3(std::sin(angle), 0.0f, std::cos(angle)) * kArcRadius;
        d = std::min(d, capsule(p, {at.x, -6.0f, at.z}, {at.x, -8.4f, at.z}, 0.6f));
    }
    // The bite line between upper and lower teeth.
    return carve(d, std::abs(p.y + 7.2f) - 0.12f, 0.1f);
}

float mandible(glm::vec3 p)
{
    const float chin = ellipsoid(p, {0.0f, -9.5f, 4.8f}, {2.0f, 1.6f, 1.4f});
    const float body = mirrored(p, [](glm::vec3 q) {
        return capsule(q, {0.0f, -9.6f, 4.8f}, {4.4f, -9.0f, 0.8f}, 1.15f);
    });
    const float ramus = mirrored(p, [](glm::vec3 q) {
        return capsule(q, {4.6f, -9.0f, 0.5f}, {5.5f, -3.8f, -0.6f}, 1.1f);
    });
    // Solid bone behind the teeth, so the lower face is not a bare hoop.
    const float floor = ellipsoid(p, {0.0f, -7.6f, 1.6f}, {3.9f, 1.8f, 3.0f});
    return blend(blend(blend(chin, body, 1.0f), ramus, 1.0f), floor, 1.0f);
}

float skullField(glm::vec3 p)
{
    float d = ellipsoid(p, {0.0f, 3.0f, -1.5f}, {7.2f, 7.0f, 8.8f});                  // cranium
    d = blend(d, capsule(p, {-4.4f, 0.9f, 6.1f}, {4.4f, 0.9f, 6.1f}, 1.3f), 1.5f);   // brow ridge
    d = blend(d, ellipsoid(p, {0.0f, -3.0f, 3.8f}, {5.0f, 4.2f, 4.2f}), 2.0f);        // face
    d = blend(d, mirrored(p, [](glm::vec3 q) {                                       // cheek bones
                  return std::min(ellipsoid(q, {4.9f, -2.2f, 3.6f}, {1.8f, 1.6f, 2.8f}),
                                  capsule(q, {5.5f, -2.3f, 2.5f}, {6.3f, -2.3f, -0.8f}, 0.8f));
              }), 1.0f);
    d = blend(d, ellipsoid(p, {0.0f, -6.2f, 4.0f}, {3.7f, 1.6f, 3.4f}), 1.2f);        // upper jaw
    d = blend(d, teeth(p), 0.3f);
    d = blend(d, mandible(p), 1.2f);

    d = carve(d, mirrored(p, [](glm::vec3 q) {                                       // eye sockets
                  return ellipsoid(q, {2.6f, -0.7f, 6.0f}, {2.1f, 1.9f, 3.4f});
              }), 0.5f);
    const float nose = std::min(ellipsoid(p, {0.0f, -3.0f, 7.0f}, {0.85f, 1.7f, 2.4f}),
                                mirrored(p, [](glm::vec3 q) {
                                    return ellipsoid(q, {0.5f, -3.8f, 7.3f}, {0.75f, 1.0f, 2.0f});
                                }));
    d = carve(d, nose, 0.3f);
    d = carve(d, mirrored(p, [](glm::vec3 q) {                                       // temples
                  return ellipsoid(q, {7.6f, -1.0f, 0.5f}, {1.5f, 3.0f, 3.0f});
              }), 1.0f);
    return d;
}

}  // namespace

Model makeSkull()
{
    const glm::vec3 boxMin{-9.0f, -12.5f, -11.5f};
    const glm::vec3 boxMax{9.0f, 11.5f, 10.0f};
    constexpr float kCell = 0.36f;
    const glm::ivec3 cells = glm::ivec3(glm::ceil((boxMax - boxMin) / kCell));
    MeshPart part = polygonise(skullField, boxMin, boxMax, cells);
    part.name = "Skull";
    part.colour = {0.9f, 0.87f, 0.78f};
    for (auto& v : part.vertices) {
        const float radius = std::max(glm::length(v.position), 1.0e-6f);
        v.uv = {0.5f + std::atan2(v.position.x, v.position.z) / glm::two_pi<float>(),
                0.5f + std::asin(std::clamp(v.position.y / radius, -1.0f, 1.0f)) / glm::pi<float>()};
    }
    Model model;
    model.parts.push_back(std::move(part));
    centreModel(model);
    return model;
}

}  // namespace kl::models
