#include "scene/SkyBox.h"

#include "core/Context.h"

#include <glm/gtc/matrix_transform.hpp>

#include <algorithm>
#include <cmath>

namespace kl::scene {

glm::vec3 skyFacePoint(core::SkyFace face, float s, float t)
{
    switch (face) {
    case core::SkyFace::Front: return {s, -t, 1};
    case core::SkyFace::Back: return {-s, -t, -1};
    case core::SkyFace::Left: return {-1, -t, s};
    case core::SkyFace::Right: return {1, -t, -s};
    case core::SkyFace::Top: return {s, 1, t};
    case core::SkyFace::Bottom: return {s, -1, -t};
    }
    return {0, 0, 1};
}

gpu::MeshGeometry makeSkyCube(gpu::ResourceId id)
{
    gpu::MeshGeometry cube;
    cube.id = id;
    cube.revision = 1;
    static constexpr glm::vec2 Corners[4] = {{-1, -1}, {1, -1}, {1, 1}, {-1, 1}};   // (s, t), top-left first
    for (int f = 0; f < core::SkyFaceCount; ++f) {
        const auto face = core::SkyFace(f);
        const auto first = std::uint32_t(cube.vertices.size());
        const glm::vec3 inward = -skyFacePoint(face, 0, 0);
        for (const glm::vec2 corner : Corners) {
            gpu::Vertex v;
            v.position = skyFacePoint(face, corner.x, corner.y);
            v.normal = inward;
            v.uv = (corner + 1.0f) * 0.5f;
            v.uv2 = v.uv;
            cube.vertices.push_back(v);
        }
        cube.groups.push_back({std::uint32_t(cube.indices.size()), 6});
        for (const std::uint32_t i : {0u, 1u, 2u, 0u, 2u, 3u})
            cube.indices.push_back(first + i);
    }
    return cube;
}

float skyHalfSize(float size, bool followsCamera, float nearPlane, float farPlane)
{
    const float half = 0.5f * std::max(size, 0.0f);
    if (!followsCamera)
        return half;
    // The farthest point of the box, a corner, must stay short of the far
    // plane; the nearest, a face centre, beyond the near plane.
    const float largest = 0.99f * farPlane / std::sqrt(3.0f);
    const float smallest = 1.01f * nearPlane;
    if (largest <= smallest)
        return largest;
    return std::clamp(half, smallest, largest);
}

bool skyFaceMagnified(int texels, float pixelsPerTangent)
{
    if (texels <= 0 || !(pixelsPerTangent > 0.0f))
        return false;
    return 2.0f * pixelsPerTangent / (3.0f * float(texels)) >= 0.8f;
}

void appendSkyItems(const core::Context& context, std::vector<gpu::DrawItem>& items)
{
    const core::AtmosphereState& sky = context.atmosphere();
    if (!sky.skyEnabled || sky.skyCube.indices.empty())
        return;
    const core::CameraState& camera = context.camera();
    const glm::vec3 centre = sky.skyFixed ? glm::vec3(0.0f) : camera.eye;
    const float half = skyHalfSize(sky.skySize, !sky.skyFixed, camera.nearPlane, camera.farPlane);
    const glm::mat4 world = glm::scale(glm::translate(glm::mat4(1.0f), centre), glm::vec3(half));
    const float pixelsPerTangent =
        context.frameState().projection[1][1] * 0.5f * float(context.rendering().viewportSize().height());
    for (int f = 0; f < core::SkyFaceCount; ++f) {
        const image::Texture* texture = context.resources().textures.find(sky.skyTextures[std::size_t(f)]);
        if (!texture)
            continue;
        gpu::DrawItem item;
        item.mesh = &sky.skyCube;
        item.group = f;
        item.world = world;
        item.baseTexture = &texture->data;
        item.clampToEdge = true;
        const QSize texels = texture->data.image.size();
        item.baseMagnified = !sky.skyFixed && skyFaceMagnified(std::max(texels.width(), texels.height()), pixelsPerTangent);
        item.lit = false;
        item.material.diffuse = glm::vec4(1.0f);
        item.blend = gpu::BlendMode::Opaque;
        item.depthTest = false;
        item.depthWrite = false;
        item.cull = gpu::CullMode::None;
        item.layer = gpu::DrawLayer::Sky;
        items.push_back(item);
    }
}

} // namespace kl::scene
