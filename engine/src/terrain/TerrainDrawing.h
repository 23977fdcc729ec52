// The renderer's view of a landscape: one GPU mesh per land chunk, made from
// the chunk meshes and made again when they change, and the draw items of the
// chunks in view (colour texture, tiled detail texture, the land's lightmap,
// lit by the scene's lights with the chunk's material).
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

    // Appends an opaque item per chunk; with `cullChunks`, only the chunks whose
    // bounds reach into the view of `viewProjection`.
    void appendItems(const std::shared_ptr<core::Context>& context, const LandscapeData& land, const glm::mat4& viewProjection,
                     bool cullChunks, std::vector<gpu::DrawItem>& items);

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

// Whether the box lies wholly outside one side of the view volume.
bool outsideView(const glm::mat4& viewProjection, const glm::vec3& min, const glm::vec3& max);

} // namespace kl::terrain
