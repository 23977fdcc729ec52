#include "terrain/TerrainDrawing.h"

#include "core/Context.h"
#include "terrain/Terrain.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace kl::terrain {

namespace {

// Indices of a chunk's grid at every `step`-th point: cells split along the same
// diagonal as the full grid, and a skirt along the border (skirt vertex of
// border grid vertex v: skirtOf[v]).
void appendLevel(std::vector<std::uint32_t>& indices, int cells, int step, const std::vector<std::uint32_t>& skirtOf)
{
    const int side = cells + 1;
    const auto at = [side](int i, int j) { return std::uint32_t(j * side + i); };
    for (int j = 0; j < cells; j += step)
        for (int i = 0; i < cells; i += step) {
            const std::uint32_t a = at(i, j), b = at(i + step, j), c = at(i, j + step), d = at(i + step, j + step);
            indices.insert(indices.end(), {a, c, d, a, d, b});
        }
    const auto skirt = [&](std::uint32_t p, std::uint32_t q) {
        indices.insert(indices.end(), {p, q, skirtOf[q], p, skirtOf[q], skirtOf[p]});
    };
    for (int k = 0; k < cells; k += step) {
        skirt(at(k, 0), at(k + step, 0));
        skirt(at(k, cells), at(k + step, cells));
        skirt(at(0, k), at(0, k + step));
        skirt(at(cells, k), at(cells, k + step));
    }
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
    // Skirt vertices: the border's vertices again, lowered.
    const auto side = int(std::lround(std::sqrt(double(chunk.positions.size()))));
    const int cells = side - 1;
    std::vector<std::uint32_t> skirtOf(chunk.positions.size(), 0);
    for (int j = 0; j < side; ++j)
        for (int i = 0; i < side; ++i) {
            if (i != 0 && j != 0 && i != cells && j != cells)
                continue;
            const auto v = std::size_t(j * side + i);
            skirtOf[v] = std::uint32_t(mesh.vertices.size());
            gpu::Vertex lowered = mesh.vertices[v];
            lowered.position.y -= SkirtDepth;
            mesh.vertices.push_back(lowered);
        }
    // Level 0 is the chunk's own triangles (the queried surface) plus its skirt.
    for (int level = 0, step = 1; level < LodLevels && step <= cells; ++level, step *= 2) {
        const auto first = std::uint32_t(mesh.indices.size());
        if (level == 0) {
            mesh.indices = chunk.indices;
            std::vector<std::uint32_t> skirtOnly;
            appendLevel(skirtOnly, cells, 1, skirtOf);
            const std::size_t gridIndices = std::size_t(cells) * std::size_t(cells) * 6;
            mesh.indices.insert(mesh.indices.end(), skirtOnly.begin() + std::ptrdiff_t(gridIndices), skirtOnly.end());
        } else {
            appendLevel(mesh.indices, cells, step, skirtOf);
        }
        mesh.groups.push_back({first, std::uint32_t(mesh.indices.size()) - first});
    }
    return mesh;
}

} // namespace

LevelErrors levelErrors(const std::vector<glm::vec3>& positions, int cells)
{
    LevelErrors errors{};
    const int side = cells + 1;
    if (cells < 1 || positions.size() < std::size_t(side) * std::size_t(side))
        return errors;
    const auto height = [&](int i, int j) { return positions[std::size_t(j) * std::size_t(side) + std::size_t(i)].y; };
    for (int level = 1, step = 2; level < LodLevels; ++level, step *= 2) {
        if (step > cells) {
            errors[std::size_t(level)] = errors[std::size_t(level - 1)];
            continue;
        }
        // Each coarse cell is split along the same diagonal as the fine ones,
        // so the two surfaces differ most at a fine grid point.
        float worst = 0.0f;
        for (int j0 = 0; j0 < cells; j0 += step)
            for (int i0 = 0; i0 < cells; i0 += step) {
                const float h00 = height(i0, j0), h10 = height(i0 + step, j0);
                const float h01 = height(i0, j0 + step), h11 = height(i0 + step, j0 + step);
                for (int dj = 0; dj <= step; ++dj)
                    for (int di = 0; di <= step; ++di) {
                        const float fx = float(di) / float(step), fz = float(dj) / float(step);
                        const float coarse = fx >= fz ? h00 + (h10 - h00) * fx + (h11 - h10) * fz
                                                      : h00 + (h11 - h01) * fx + (h01 - h00) * fz;
                        worst = std::max(worst, std::abs(height(i0 + di, j0 + dj) - coarse));
                    }
            }
        errors[std::size_t(level)] = worst;
    }
    return errors;
}

int lodLevel(float distance, int cellsPerChunk, const LevelErrors& errors, float pixelsPerUnit)
{
    int level = lodLevel(distance, cellsPerChunk);
    if (!(pixelsPerUnit > 0.0f))
        return level;
    const float limit = LodPixelError * std::max(distance, 1e-3f) / pixelsPerUnit;   // world units
    while (level + 1 < LodLevels && (cellsPerChunk >> (level + 1)) >= 1 && errors[std::size_t(level + 1)] <= limit)
        ++level;
    return level;
}

int lodLevel(float distance, int cellsPerChunk)
{
    int level = 0;
    float reach = LodNearDistance;
    while (distance > reach && level + 1 < LodLevels && (cellsPerChunk >> (level + 1)) >= 1) {
        ++level;
        reach *= 2.0f;
    }
    return level;
}

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
    errors_.clear();
    builtRevision_ = 0;
}

void TerrainDrawing::rebuild(const std::shared_ptr<core::Context>& context, const LandscapeData& land)
{
    release();
    context_ = context;
    builtRevision_ = land.geometryRevision;
    if (!land.terrain)
        return;
    const int cells = land.terrain->layout.cellsPerChunk();
    for (const TerrainChunk& chunk : land.terrain->chunks) {
        meshes_.push_back(chunkGeometry(chunk, context->resources().newResourceId()));
        errors_.push_back(levelErrors(chunk.positions, cells));
        Bounds b{chunk.positions.empty() ? glm::vec3(0.0f) : chunk.positions.front(),
                 chunk.positions.empty() ? glm::vec3(0.0f) : chunk.positions.front()};
        for (const glm::vec3& p : chunk.positions) {
            b.min = glm::min(b.min, p);
            b.max = glm::max(b.max, p);
        }
        b.min.y -= SkirtDepth;
        bounds_.push_back(b);
    }
}

void TerrainDrawing::appendItems(const std::shared_ptr<core::Context>& owner, const LandscapeData& land, const glm::mat4& viewProjection,
                                 bool cullChunks, const glm::vec3& eye, float pixelsPerUnit,
                                 std::vector<gpu::DrawItem>& items)
{
    if (builtRevision_ != land.geometryRevision || context_.expired())
        rebuild(owner, land);
    const core::Context& context = *owner;
    if (!land.terrain)
        return;
    const core::SceneState& scene = context.scene();
    const gpu::TextureData* lightmap = context.resources().textures.drawData(land.lightmapTexture);
    // The chunks in view, nearest first.
    struct InView {
        float distance;
        std::size_t chunk;
    };
    std::vector<InView> inView;
    inView.reserve(meshes_.size());
    for (std::size_t i = 0; i < meshes_.size() && i < land.terrain->chunks.size(); ++i) {
        if (cullChunks && outsideView(viewProjection, bounds_[i].min, bounds_[i].max))
            continue;
        inView.push_back({glm::distance(eye, glm::clamp(eye, bounds_[i].min, bounds_[i].max)), i});
    }
    std::stable_sort(inView.begin(), inView.end(),
                     [](const InView& a, const InView& b) { return a.distance < b.distance; });
    for (const auto& [distance, i] : inView) {
        const TerrainChunk& chunk = land.terrain->chunks[i];
        gpu::DrawItem item;
        item.mesh = &meshes_[i];
        item.group = std::min(lodLevel(distance, land.terrain->layout.cellsPerChunk(), errors_[i], pixelsPerUnit),
                              int(meshes_[i].groups.size()) - 1);
        item.layer = gpu::DrawLayer::Opaque;
        if (const core::Material* material = chunk.material > 0 ? context.resources().materials.find(chunk.material)
                                                                : nullptr)
            item.material = material->colors;
        item.baseTexture = context.resources().textures.drawData(chunk.baseTexture);
        item.detailTexture = context.resources().textures.drawData(chunk.detailTexture);
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
