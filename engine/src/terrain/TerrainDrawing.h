// The renderer's view of a landscape: one GPU mesh per land chunk, made from
// the chunk meshes and made again when they change, and the draw items of the
// chunks in view (colour texture, tiled detail texture, the land's lightmap,
// lit by the scene's lights with the chunk's material).
//
// Level of detail: a chunk whose bounds lie within LodNearDistance of the eye
// is drawn with every grid triangle — the surface the height queries and ray
// tests answer for. Farther chunks use every 2nd, 4th or 8th grid point (each
// doubling of the distance one step coarser), and every level carries a skirt
// hanging SkirtDepth below its border so that neighbours of different levels
// show no gaps.
#pragma once

#include "gpu/RenderTypes.h"

#include <glm/glm.hpp>

#include <cstdint>
#include <memory>
#include <vector>

namespace kl::core {
class Context;
}

namespace kl::terrain {

struct LandscapeData;

class TerrainDrawing {
public:
    TerrainDrawing() = default;
    // Frees the GPU copies of the chunk meshes, if the engine is still there.
    ~TerrainDrawing();
    TerrainDrawing(const TerrainDrawing&) = delete;
    TerrainDrawing& operator=(const TerrainDrawing&) = delete;

    // Appends an opaque item per chunk, at the level of detail its distance
    // from `eye` gives; with `cullChunks`, only the chunks whose bounds reach
    // into the view of `viewProjection`.
    void appendItems(const std::shared_ptr<core::Context>& context, const LandscapeData& land,
                     const glm::mat4& viewProjection, bool cullChunks, const glm::vec3& eye,
                     std::vector<gpu::DrawItem>& items);

private:
    void rebuild(const std::shared_ptr<core::Context>& context, const LandscapeData& land);
    void release();

    struct Bounds {
        glm::vec3 min{0.0f};
        glm::vec3 max{0.0f};
    };
    std::weak_ptr<core::Context> context_;
    std::vector<gpu::MeshGeometry> meshes_;   // index = chunk index
    std::vector<Bounds> bounds_;
    std::uint64_t builtRevision_ = 0;         // the land's geometry revision the meshes show
};

inline constexpr float LodNearDistance = 512.0f;
inline constexpr int LodLevels = 4;
inline constexpr float SkirtDepth = 24.0f;

// The level a chunk is drawn at, 0 (every triangle) to LodLevels - 1, from the
// distance of its bounds to the eye.
int lodLevel(float distance, int cellsPerChunk);

// Whether the box lies wholly outside one side of the view volume.
bool outsideView(const glm::mat4& viewProjection, const glm::vec3& min, const glm::vec3& max);

} // namespace kl::terrain
