#include "terrain/TerrainDrawing.h"

#include "core/Context.h"
#include "terrain/Terrain.h"

#include <array>

namespace kl::terrain {

namespace {

const gpu::TextureData* textureData(const core::Context& context, int id)
{
    const image::Texture* texture = id > 0 ? context.resources().textures.find(id) : nullptr;
    return texture ? &texture->data : nullptr;
}

gpu::MeshGeometry chunkGeometry(const TerrainChunk& chunk, gpu::ResourceId id)
{
    gpu::MeshGeometry mesh;
    mesh.id = id;
    mesh.revision = 1;
    mesh.vertices.resize(chunk.positions.size());
    for (std::size_t i = 0; i < chunk.positions.size(); ++i) {
        gpu::Vertex& v = mesh.vertices[i];
        v.position = chunk.positions[i];
        v.normal = chunk.normals[i];
        v.uv = chunk.baseUv[i];
        v.uv2 = chunk.lightmapUv[i];
        v.detailUv = chunk.detailUv[i];
    }
    mesh.indices = chunk.indices;
    return mesh;
}

} // namespace

bool outsideView(const glm::mat4& viewProjection, const glm::vec3& min, const glm::vec3& max)
{
    std::array<glm::vec4, 8> corners;
    for (int i = 0; i < 8; ++i)
        corners[std::size_t(i)] = viewProjection * glm::vec4(i & 1 ? max.x : min.x, i & 2 ? max.y : min.y,
                                                             i & 4 ? max.z : min.z, 1.0f);
    // Clip planes: -w <= x, y, z <= w.
    for (int axis = 0; axis < 3; ++axis)
        for (const float side : {-1.0f, 1.0f}) {
            bool allOutside = true;
            for (const glm::vec4& c : corners)
                allOutside = allOutside && side * c[axis] > c.w;
            if (allOutside)
                return true;
        }
    return false;
}

TerrainDrawing::~TerrainDrawing()
{
    release();
}

void TerrainDrawing::release()
{
    if (auto context = context_.lock())
        for (const gpu::MeshGeometry& mesh : meshes_)
            context->rendering().release(mesh.id);   // draws queued items first: they may point here
    meshes_.clear();
    bounds_.clear();
    builtRevision_ = 0;
}

void TerrainDrawing::rebuild(const std::shared_ptr<core::Context>& context, const LandscapeData& land)
{
    release();
    context_ = context;
    builtRevision_ = land.geometryRevision;
    if (!land.terrain)
        return;
    for (const TerrainChunk& chunk : land.terrain->chunks) {
        meshes_.push_back(chunkGeometry(chunk, context->resources().newResourceId()));
        Bounds b{chunk.positions.empty() ? glm::vec3(0.0f) : chunk.positions.front(),
                 chunk.positions.empty() ? glm::vec3(0.0f) : chunk.positions.front()};
        for (const glm::vec3& p : chunk.positions) {
            b.min = glm::min(b.min, p);
            b.max = glm::max(b.max, p);
        }
        bounds_.push_back(b);
    }
}

void TerrainDrawing::appendItems(const std::shared_ptr<core::Context>& owner, const LandscapeData& land, const glm::mat4& viewProjection,
                                 bool cullChunks, std::vector<gpu::DrawItem>& items)
{
    if (builtRevision_ != land.geometryRevision || context_.expired())
        rebuild(owner, land);
    const core::Context& context = *owner;
    if (!land.terrain)
        return;
    const core::SceneState& scene = context.scene();
    const gpu::TextureData* lightmap = textureData(context, land.lightmapTexture);
    for (std::size_t i = 0; i < meshes_.size() && i < land.terrain->chunks.size(); ++i) {
        if (cullChunks && outsideView(viewProjection, bounds_[i].min, bounds_[i].max))
            continue;
        const TerrainChunk& chunk = land.terrain->chunks[i];
        gpu::DrawItem item;
        item.mesh = &meshes_[i];
        item.layer = gpu::DrawLayer::Opaque;
        if (const core::Material* material = chunk.material > 0 ? context.resources().materials.find(chunk.material)
                                                                : nullptr)
            item.material = material->colors;
        item.baseTexture = textureData(context, chunk.baseTexture);
        item.detailTexture = textureData(context, chunk.detailTexture);
        item.detailOwnUv = true;
        item.lightmapTexture = lightmap;
        item.lit = scene.lighting;
        item.depthTest = scene.depthMode >= 1;
        item.depthWrite = scene.depthMode >= 2;
        item.cull = gpu::CullMode::None;
        items.push_back(item);
    }
}

} // namespace kl::terrain
