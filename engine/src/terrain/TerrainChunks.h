// The terrain's drawable part: one mesh per land chunk (256 x 256 world
// units), kept on the CPU for a renderer to upload, with the chunk's surface
// settings (textures, material, detail tiling).
#pragma once

#include "terrain/TerrainSurface.h"

#include <glm/glm.hpp>

#include <cstdint>
#include <vector>

namespace kl::terrain {

inline constexpr float kChunkSize = 256.0f;

struct TerrainChunk {
    int column = 0;   // chunk position in the land: column along x, row along z
    int row = 0;

    // (cells + 1)^2 vertices, row by row along x, rows along z.
    std::vector<glm::vec3> positions;   // on the surface: exactly the grid's vertices
    std::vector<glm::vec3> normals;     // upward shading normals, smoothed over neighbouring cells
    std::vector<glm::vec2> baseUv;      // colour texture, as SpreadTexture placed it
    std::vector<glm::vec2> detailUv;    // detail texture: 0..1 across the chunk x its tiling
    std::vector<glm::vec2> lightmapUv;  // across the whole land: ((x - x0) / width, (z - z0) / depth)
    // Two triangles per cell, split along the cell's (x0, z0)-(x1, z1)
    // diagonal, the same as the height queries and ray tests use. Each is
    // listed so that (p1 - p0) x (p2 - p0) points up.
    std::vector<std::uint32_t> indices;

    int baseTexture = 0;     // 0 = none
    int material = 0;        // 0 = the engine's default material
    int detailTexture = 0;   // 0 = none
    glm::vec2 detailTiling{1.0f, 1.0f};
};

// Meshes of every chunk of a surface whose chunks are `cellsPerChunk` cells
// wide, row by row (index = row * chunkColumns + column).
std::vector<TerrainChunk> buildChunks(const TerrainSurface& surface, int chunkColumns, int chunkRows,
                                      int cellsPerChunk);

// Texture coordinates of the colour texture over the chunk rectangle from
// (firstColumn, firstRow), countColumns x countRows chunks: stretched once
// over the rectangle, or repeated once per chunk.
void spreadTexture(TerrainChunk& chunk, const TerrainSurface& surface, int firstColumn, int firstRow, int countColumns,
                   int countRows, bool repeatPerChunk);

void setDetailTiling(TerrainChunk& chunk, glm::vec2 tiling);

} // namespace kl::terrain
