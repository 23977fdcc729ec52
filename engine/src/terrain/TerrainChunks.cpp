#include "terrain/TerrainChunks.h"

#include <algorithm>

namespace kl::terrain {
namespace {

// Shading normal at a grid point from the heights of its neighbours (one-sided
// at the edges of the grid).
glm::vec3 smoothNormal(const TerrainSurface& surface, int column, int row)
{
    const int left = std::max(column - 1, 0), right = std::min(column + 1, surface.cellColumns());
    const int back = std::max(row - 1, 0), front = std::min(row + 1, surface.cellRows());
    const float slopeX = (surface.vertex(right, row) - surface.vertex(left, row)) / float(right - left);
    const float slopeZ = (surface.vertex(column, front) - surface.vertex(column, back)) / float(front - back);
    return glm::normalize(glm::vec3(-slopeX, surface.spacing(), -slopeZ));
}

std::vector<std::uint32_t> chunkIndices(int cells)
{
    std::vector<std::uint32_t> indices;
    indices.reserve(std::size_t(cells) * std::size_t(cells) * 6);
    const auto side = std::uint32_t(cells + 1);
    for (std::uint32_t j = 0; j < std::uint32_t(cells); ++j) {
        for (std::uint32_t i = 0; i < std::uint32_t(cells); ++i) {
            const std::uint32_t v00 = j * side + i, v10 = v00 + 1, v01 = v00 + side, v11 = v01 + 1;
            indices.insert(indices.end(), {v00, v11, v10, v00, v01, v11});
        }
    }
    return indices;
}

TerrainChunk buildChunk(const TerrainSurface& surface, int column, int row, int cells,
                        const std::vector<std::uint32_t>& indices)
{
    TerrainChunk chunk;
    chunk.column = column;
    chunk.row = row;
    const std::size_t count = std::size_t(cells + 1) * std::size_t(cells + 1);
    chunk.positions.reserve(count);
    chunk.normals.reserve(count);
    chunk.lightmapUv.reserve(count);
    const glm::vec2 origin = surface.origin();
    for (int j = 0; j <= cells; ++j) {
        for (int i = 0; i <= cells; ++i) {
            const int gc = column * cells + i, gr = row * cells + j;
            chunk.positions.emplace_back(origin.x + float(gc) * surface.spacing(), surface.vertex(gc, gr),
                                         origin.y + float(gr) * surface.spacing());
            chunk.normals.push_back(smoothNormal(surface, gc, gr));
            chunk.lightmapUv.emplace_back(float(gc) / float(surface.cellColumns()),
                                          float(gr) / float(surface.cellRows()));
        }
    }
    chunk.baseUv = chunk.lightmapUv;
    chunk.indices = indices;
    setDetailTiling(chunk, chunk.detailTiling);
    return chunk;
}

} // namespace

std::vector<TerrainChunk> buildChunks(const TerrainSurface& surface, int chunkColumns, int chunkRows,
                                      int cellsPerChunk)
{
    const std::vector<std::uint32_t> indices = chunkIndices(cellsPerChunk);
    std::vector<TerrainChunk> chunks;
    chunks.reserve(std::size_t(chunkColumns) * std::size_t(chunkRows));
    for (int row = 0; row < chunkRows; ++row)
        for (int column = 0; column < chunkColumns; ++column)
            chunks.push_back(buildChunk(surface, column, row, cellsPerChunk, indices));
    return chunks;
}

void spreadTexture(TerrainChunk& chunk, const TerrainSurface& surface, int firstColumn, int firstRow, int countColumns,
                   int countRows, bool repeatPerChunk)
{
    const glm::vec2 corner = repeatPerChunk ? glm::vec2(float(chunk.column), float(chunk.row))
                                            : glm::vec2(float(firstColumn), float(firstRow));
    const glm::vec2 size = repeatPerChunk ? glm::vec2(1.0f) : glm::vec2(float(countColumns), float(countRows));
    const glm::vec2 origin = surface.origin() + corner * kChunkSize;
    for (std::size_t v = 0; v < chunk.positions.size(); ++v) {
        const glm::vec2 p(chunk.positions[v].x, chunk.positions[v].z);
        chunk.baseUv[v] = (p - origin) / (size * kChunkSize);
    }
}

void setDetailTiling(TerrainChunk& chunk, glm::vec2 tiling)
{
    chunk.detailTiling = tiling;
    const glm::vec2 corner(chunk.positions.front().x, chunk.positions.front().z);
    chunk.detailUv.resize(chunk.positions.size());
    for (std::size_t v = 0; v < chunk.positions.size(); ++v) {
        const glm::vec2 p(chunk.positions[v].x, chunk.positions[v].z);
        chunk.detailUv[v] = (p - corner) / kChunkSize * tiling;
    }
}

} // namespace kl::terrain
