// A landscape's state behind a KLLandscape: the terrain built from a height
// map (its surface with the ray-test hierarchy, and the chunk meshes) and the
// settings that apply to it.
#pragma once

#include "terrain/TerrainChunks.h"
#include "terrain/TerrainDrawing.h"
#include "terrain/TerrainRay.h"
#include "terrain/TerrainSurface.h"

#include <glm/glm.hpp>

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

namespace kl::terrain {

// What the ray tests need; never changed once built, so tests on other
// threads can hold it while the landscape is rebuilt.
struct TerrainShape {
    TerrainSurface surface;
    MinMaxHierarchy hierarchy;
};

// How a terrain is laid out: precision = world units between grid points.
struct TerrainLayout {
    int precision = 4;
    int chunkColumns = 1;
    int chunkRows = 1;
    glm::vec3 position{0.0f};   // the land's corner at grid point (0, 0); y is added to every height
    float heightFactor = 1.0f;

    int cellsPerChunk() const { return int(kChunkSize) / precision; }
};

// The most memory one terrain may take (surface, hierarchy and meshes).
inline constexpr std::uint64_t kMaxTerrainBytes = 4ull << 30;

bool validPrecision(int precision);
// Memory the terrain of `layout` takes, computed without overflow.
std::uint64_t terrainBytes(const TerrainLayout& layout);

// Grid heights: the height map stretched over the whole land (first pixel at
// the land's corner, last at the far corner, bilinear between pixels, pixel
// row 0 at the lowest z), grey level x height factor + position y.
HeightField gridHeights(const HeightField& heightMap, const TerrainLayout& layout);

struct Terrain {
    TerrainLayout layout;
    std::shared_ptr<const TerrainShape> shape;
    std::vector<TerrainChunk> chunks;   // index = row * chunkColumns + column

    glm::vec2 landSize() const
    {
        return {float(layout.chunkColumns) * kChunkSize, float(layout.chunkRows) * kChunkSize};
    }
};

Terrain buildTerrain(const HeightField& heightMap, const TerrainLayout& layout);

struct RenderRequest {
    bool cullChunks = true;
    bool wireframe = false;
    std::uint64_t count = 0;   // Render calls so far
};

struct LandscapeData {
    std::optional<Terrain> terrain;
    float heightFactor = 1.0f;
    int lightmapTexture = 0;   // 0 = none
    RenderRequest render;
    // Bumped whenever the chunk meshes change (new or no terrain, texture
    // coordinates), so the GPU copies are made again.
    std::uint64_t geometryRevision = 1;
    TerrainDrawing drawing;
};

} // namespace kl::terrain
