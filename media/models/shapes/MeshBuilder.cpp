#include "MeshBuilder.h"

#include <glm/gtc/constants.hpp>

#include <cmath>
#include <limits>
#include <map>
#include <tuple>

namespace kl::models {

namespace {

constexpr float kTwoPi = glm::two_pi<float>();

glm::vec3 faceNormal(const MeshPart& part, const glm::uvec3& t)
{
    const glm::vec3& a = part.vertices[t.x].position;
    const glm::vec3& b = part.vertices[t.y].position;
    const glm::vec3& c = part.vertices[t.z].position;
    return glm::cross(b - a, c - a);  // length = twice the area
}

glm::vec3 safeNormalize(glm::vec3 v)
{
    const float length = glm::length(v);
    return length > 0.0f ? v / length : glm::vec3(0.0f);
}

using PositionKey = std::tuple<long long, long long, long long>;

PositionKey keyOf(glm::vec3 p)
{
    constexpr float kGrid = 1.0e4f;
    return {std::llround(p.x * kGrid), std::llround(p.y * kGrid), std::llround(p.z * kGrid)};
}

}  // namespace

std::uint32_t addVertex(MeshPart& part, const Vertex& vertex)
{
    part.vertices.push_back(vertex);
    return static_cast<std::uint32_t>(part.vertices.size() - 1);
}

void addTriangle(MeshPart& part, std::uint32_t a, std::uint32_t b, std::uint32_t c)
{
    const glm::uvec3 triangle{a, b, c};
    const glm::vec3 n = faceNormal(part, triangle);
    if (glm::length(n) < 1.0e-7f)
        return;
    part.triangles.push_back(triangle);
}

void addSurface(MeshPart& part, int uSteps, int vSteps, const SurfaceSample& sample,
                bool orientByNormals)
{
    const auto first = static_cast<std::uint32_t>(part.vertices.size());
    for (int j = 0; j <= vSteps; ++j) {
        for (int i = 0; i <= uSteps; ++i) {
            addVertex(part, sample(static_cast<float>(i) / static_cast<float>(uSteps),
                                   static_cast<float>(j) / static_cast<float>(vSteps)));
        }
    }
    const auto index = [&](int i, int j) {
        return first + static_cast<std::uint32_t>(j * (uSteps + 1) + i);
    };
    const auto addOriented = [&](std::uint32_t a, std::uint32_t b, std::uint32_t c) {
        if (orientByNormals) {
            const glm::vec3 wanted = part.vertices[a].normal + part.vertices[b].normal +
                                     part.vertices[c].normal;
            if (glm::dot(faceNormal(part, {a, b, c}), wanted) < 0.0f)
                std::swap(b, c);
        }
        addTriangle(part, a, b, c);
    };
    for (int j = 0; j < vSteps; ++j) {
        for (int i = 0; i < uSteps; ++i) {
            addOriented(index(i, j), index(i + 1, j), index(i + 1, j + 1));
            addOriented(index(i, j), index(i + 1, j + 1), index(i, j + 1));
        }
    }
}

void addFlatPolygon(MeshPart& part, std::span<const glm::vec3> corners,
                    std::span<const glm::vec2> uvs)
{
    if (corners.size() < 3)
        return;
    glm::vec3 normal(0.0f);
    for (std::size_t i = 1; i + 1 < corners.size(); ++i)
        normal += glm::cross(corners[i] - corners[0], corners[i + 1] - corners[0]);
    normal = safeNormalize(normal);
    const auto first = static_cast<std::uint32_t>(part.vertices.size());
    for (std::size_t i = 0; i < corners.size(); ++i)
        addVertex(part, {corners[i], normal, i < uvs.size() ? uvs[i] : glm::vec2(0.0f)});
    for (std::uint32_t i = 1; i + 1 < corners.size(); ++i)
        addTriangle(part, first, first + i, first + i + 1);
}

void addFlatPolygonFacing(MeshPart& part, std::span<const glm::vec3> corners,
                          std::span<const glm::vec2> uvs, glm::vec3 facing)
{
    glm::vec3 normal(0.0f);
    for (std::size_t i = 1; i + 1 < corners.size(); ++i)
        normal += glm::cross(corners[i] - corners[0], corners[i + 1] - corners[0]);
    if (glm::dot(normal, facing) >= 0.0f) {
        addFlatPolygon(part, corners, uvs);
        return;
    }
    const std::vector<glm::vec3> reversedCorners(corners.rbegin(), corners.rend());
    std::vector<glm::vec2> reversedUvs(uvs.rbegin(), uvs.rend());
    addFlatPolygon(part, reversedCorners, reversedUvs);
}

void addBox(MeshPart& part, glm::vec3 lo, glm::vec3 hi)
{
    const glm::vec2 uv[4] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    const auto face = [&](glm::vec3 a, glm::vec3 b, glm::vec3 c, glm::vec3 d) {
        const glm::vec3 corners[4] = {a, b, c, d};
        addFlatPolygon(part, corners, uv);
    };
    face({lo.x, lo.y, hi.z}, {hi.x, lo.y, hi.z}, {hi.x, hi.y, hi.z}, {lo.x, hi.y, hi.z});  // +z
    face({hi.x, lo.y, lo.z}, {lo.x, lo.y, lo.z}, {lo.x, hi.y, lo.z}, {hi.x, hi.y, lo.z});  // -z
    face({hi.x, lo.y, hi.z}, {hi.x, lo.y, lo.z}, {hi.x, hi.y, lo.z}, {hi.x, hi.y, hi.z});  // +x
    face({lo.x, lo.y, lo.z}, {lo.x, lo.y, hi.z}, {lo.x, hi.y, hi.z}, {lo.x, hi.y, lo.z});  // -x
    face({lo.x, hi.y, hi.z}, {hi.x, hi.y, hi.z}, {hi.x, hi.y, lo.z}, {lo.x, hi.y, lo.z});  // +y
    face({lo.x, lo.y, lo.z}, {hi.x, lo.y, lo.z}, {hi.x, lo.y, hi.z}, {lo.x, lo.y, hi.z});  // -y
}

void addFrustum(MeshPart& part, float radiusBottom, float radiusTop, float yBottom, float yTop,
                int segments, bool capBottom, bool capTop)
{
    const float height = yTop - yBottom;
    addSurface(part, segments, 1, [&](float u, float v) {
        const float angle = u * kTwoPi;
        const float c = std::cos(angle);
        const float s = std::sin(angle);
        const float radius = radiusBottom + (radiusTop - radiusBottom) * v;
        Vertex vertex;
        vertex.position = {radius * c, yBottom + height * v, radius * s};
        vertex.normal = glm::normalize(glm::vec3(c * height, radiusBottom - radiusTop, s * height));
        vertex.uv = {u, v};
        return vertex;
    });
    if (capBottom && radiusBottom > 0.0f)
        addAnnulus(part, 0.0f, radiusBottom, yBottom, false, segments);
    if (capTop && radiusTop > 0.0f)
        addAnnulus(part, 0.0f, radiusTop, yTop, true, segments);
}

void addAnnulus(MeshPart& part, float innerRadius, float outerRadius, float y, bool facingUp,
                int segments)
{
    const glm::vec3 normal(0.0f, facingUp ? 1.0f : -1.0f, 0.0f);
    addSurface(part, segments, 1, [&](float u, float v) {
        const float angle = u * kTwoPi;
        const float radius = innerRadius + (outerRadius - innerRadius) * v;
        const glm::vec3 p{radius * std::cos(angle), y, radius * std::sin(angle)};
        const float scale = 0.5f / outerRadius;
        return Vertex{p, normal, {0.5f + p.x * scale, 0.5f - p.z * scale}};
    });
}

void appendPart(MeshPart& into, const MeshPart& from)
{
    const auto base = static_cast<std::uint32_t>(into.vertices.size());
    into.vertices.insert(into.vertices.end(), from.vertices.begin(), from.vertices.end());
    for (const auto& t : from.triangles)
        into.triangles.push_back(t + glm::uvec3(base));
}

void smoothNormals(MeshPart& part, float creaseDegrees)
{
    const float cosCrease = std::cos(glm::radians(creaseDegrees));
    std::vector<glm::vec3> faceNormals;
    faceNormals.reserve(part.triangles.size());
    for (const auto& t : part.triangles)
        faceNormals.push_back(faceNormal(part, t));

    std::vector<glm::vec3> own(part.vertices.size(), glm::vec3(0.0f));
    std::map<PositionKey, std::vector<std::size_t>> facesAtPosition;
    for (std::size_t f = 0; f < part.triangles.size(); ++f) {
        for (int corner = 0; corner < 3; ++corner) {
            const std::uint32_t v = part.triangles[f][corner];
            own[v] += faceNormals[f];
            auto& faces = facesAtPosition[keyOf(part.vertices[v].position)];
            if (faces.empty() || faces.back() != f)
                faces.push_back(f);
        }
    }
    for (std::size_t v = 0; v < part.vertices.size(); ++v) {
        const glm::vec3 ownDirection = safeNormalize(own[v]);
        glm::vec3 sum(0.0f);
        const auto found = facesAtPosition.find(keyOf(part.vertices[v].position));
        if (found != facesAtPosition.end()) {
            for (const std::size_t f : found->second) {
                if (glm::dot(safeNormalize(faceNormals[f]), ownDirection) >= cosCrease)
                    sum += faceNormals[f];
            }
        }
        const glm::vec3 normal = safeNormalize(sum);
        part.vertices[v].normal = glm::length(normal) > 0.0f ? normal : ownDirection;
    }
}

void transformPart(MeshPart& part, const glm::mat4& transform)
{
    const glm::mat3 normalMatrix = glm::transpose(glm::inverse(glm::mat3(transform)));
    for (auto& v : part.vertices) {
        v.position = glm::vec3(transform * glm::vec4(v.position, 1.0f));
        v.normal = safeNormalize(normalMatrix * v.normal);
    }
    // A mirroring transform turns the faces inside out; rewind them.
    if (glm::determinant(glm::mat3(transform)) < 0.0f) {
        for (auto& t : part.triangles)
            std::swap(t.y, t.z);
    }
}

void transformModel(Model& model, const glm::mat4& transform)
{
    for (auto& part : model.parts)
        transformPart(part, transform);
}

Bounds boundsOf(const Model& model)
{
    Bounds bounds{glm::vec3(std::numeric_limits<float>::max()),
                  glm::vec3(std::numeric_limits<float>::lowest())};
    bool any = false;
    for (const auto& part : model.parts) {
        for (const auto& v : part.vertices) {
            bounds.min = glm::min(bounds.min, v.position);
            bounds.max = glm::max(bounds.max, v.position);
            any = true;
        }
    }
    return any ? bounds : Bounds{};
}

void centreModel(Model& model)
{
    const glm::vec3 centre = boundsOf(model).centre();
    for (auto& part : model.parts)
        for (auto& v : part.vertices)
            v.position -= centre;
}

}  // namespace kl::models
