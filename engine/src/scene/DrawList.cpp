#include "scene/DrawList.h"

#include "core/Context.h"
#include "scene/MeshData.h"

#include <algorithm>

namespace kl::scene {
namespace {

gpu::CullMode cullOf(int mode)
{
    switch (mode) {
    case 1: return gpu::CullMode::None;
    case 3: return gpu::CullMode::Clockwise;
    default: return gpu::CullMode::CounterClockwise;   // back faces, Direct3D's default
    }
}

gpu::BlendMode blendOf(int mode)
{
    switch (mode) {
    case 1: return gpu::BlendMode::Alpha;
    case 2: return gpu::BlendMode::Additive;
    case 3: return gpu::BlendMode::AdditiveAlpha;
    case 4: return gpu::BlendMode::Multiply;
    default: return gpu::BlendMode::Opaque;
    }
}

const gpu::TextureData* textureData(const core::Context& context, int id)
{
    return context.resources().textures.drawData(id);
}

} // namespace

void appendDrawItems(const core::Context& context, const MeshData& mesh, std::vector<gpu::DrawItem>& items)
{
    if (mesh.geometry.indices.empty())
        return;
    const glm::mat4 world = mesh.world();
    const int groups = std::max<int>(1, static_cast<int>(mesh.geometry.groups.size()));
    const core::SceneState& scene = context.scene();
    for (int g = 0; g < groups; ++g) {
        const GroupSurface surface =
            g < static_cast<int>(mesh.surfaces.size()) ? mesh.surfaces[static_cast<size_t>(g)] : GroupSurface{};
        gpu::DrawItem item;
        item.mesh = &mesh.geometry;
        item.group = mesh.geometry.groups.empty() ? -1 : g;
        item.world = world;
        const core::Material* material = surface.materialId > 0 ? context.resources().materials.find(surface.materialId) : nullptr;
        item.material = material ? material->colors : surface.ownColors;
        if (surface.flatColor) {
            item.material.diffuse = *surface.flatColor;
            item.material.ambient = *surface.flatColor;
        }
        item.baseTexture = textureData(context, surface.textureId);
        if (mesh.sphereMap) {
            item.sphereMap = true;
            if (const gpu::TextureData* reflected = textureData(context, mesh.sphereTextureId))
                item.baseTexture = reflected;
        }
        if (mesh.bumpMap) {
            item.bumpTexture = textureData(context, mesh.bumpTextureId);
            item.bumpLightIndex = std::max(0, mesh.bumpLight - 1);
            const image::Texture* bump = context.resources().textures.find(mesh.bumpTextureId);
            item.bumpStrength = mesh.bumpStrength * (bump ? bump->heightScale : 1.0f);
        }
        item.lit = mesh.lighting && (scene.lighting || item.bumpTexture != nullptr);
        item.useVertexColours = mesh.useVertexColors && mesh.geometry.hasVertexColours;
        item.blend = blendOf(mesh.blendMode);
        item.depthTest = mesh.depthTest && scene.depthMode >= 1;
        item.depthWrite = mesh.depthWrite && scene.depthMode >= 2;
        item.cull = cullOf(mesh.cullMode != 0 ? mesh.cullMode : scene.cullMode);
        items.push_back(item);
    }
}

} // namespace kl::scene
