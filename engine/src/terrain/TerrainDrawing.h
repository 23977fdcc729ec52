// The renderer's view of a landscape: one GPU mesh per land chunk, made from
// the chunk meshes and made again when they change, and the draw items of the
// chunks in view (colour texture, tiled detail texture, the land's lightmap,
// lit by the scene's lights with the chunk's material).
//
// Level of detail: level 0 is every grid triangle — the surface the height
// queries and ray tests answer for; level k uses every 2^k-th grid point. A
// chunk is drawn at the coarsest level whose largest height difference from
// the full grid, seen from the eye at the chunk's nearest point, spans at most
// LodPixelError pixels of the view; and at least as coarse as its distance
// alone gives (beyond LodNearDistance, each doubling one step coarser). Every
// level carries a skirt hanging SkirtDepth below its border so that
// neighbours of different levels show no gaps. Chunks are drawn nearest
// first, so hidden ground behind hills fails the depth test before shading.
#pragma once

#include "gpu/RenderTypes.h"

#include <glm/glm.hpp>

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

namespace kl::core {
class Context;
}

namespace kl::terrain {

struct LandscapeData;

inline constexpr float LodNearDistance = 512.0f;
inline constexpr int LodLevels = 4;
inline constexpr float SkirtDepth = 24.0f;
inline constexpr float LodPixelError = 2.0f;

// Per level, the largest height difference (world units) between that level's
// triangles and the full grid over one chunk; level 0 is exact.
using LevelErrors = std::array<float, LodLevels>;

// Level errors of a chunk of `cells` x `cells` cells from its (cells + 1)^2
// grid vertices, row by row; levels coarser than the chunk allows keep the
// error of the coarsest one it has.
LevelErrors levelErrors(const std::vector<glm::vec3>& positions, int cells);

class TerrainDrawing {
public:
    TerrainDrawing() = default;
    // Frees the GPU copies of the chunk meshes, if the engine is still there.
    ~TerrainDrawing();
    TerrainDrawing(const TerrainDrawing&) = delete;
    TerrainDrawing& operator=(const TerrainDrawing&) = delete;

    // Appends an opaque item per chunk, nearest first, at the level of detail
    // seen from `eye`: `pixelsPerUnit` is how many pixels one world unit at
    // distance 1 spans (0: by distance alone). With `cullChunks`, only the
    // chunks whose bounds reach into the view of `viewProjection`.
    void appendItems(const std::shared_ptr<core::Context>& context, const LandscapeData& land,
                     const glm::mat4& viewProjection, bool cullChunks, const glm::vec3& eye, float pixelsPerUnit,
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
    std::vector<LevelErrors> errors_;         // index = chunk index
    std::uint64_t builtRevision_ = 0;         // the land's geometry revision the meshes show
};

// The level a chunk is drawn at, 0 (every triangle) to LodLevels - 1, from the
// distance of its bounds to the eye.
int lodLevel(float distance, int cellsPerChunk);

// The level a chunk is drawn at: the coarsest whose error, `distance` away,
// spans at most LodPixelError pixels at `pixelsPerUnit` (pixels of one world
// unit at distance 1), and never finer than lodLevel(distance, cells).
int lodLevel(float distance, int cellsPerChunk, const LevelErrors& errors, float pixelsPerUnit);

// Whether the box lies wholly outside one side of the view volume.
bool outsideView(const glm::mat4& viewProjection, const glm::vec3& min, const glm::vec3& max);

} // namespace kl::terrain
