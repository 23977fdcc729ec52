#include "terrain/Terrain.h"

#include <cstdint>

namespace kl::terrain {

bool validPrecision(int precision)
{
    return precision >= 1 && precision <= int(kChunkSize) && (precision & (precision - 1)) == 0;
}

namespace {

// Products and sums that stop at the largest value instead of wrapping.
std::uint64_t times(std::uint64_t a, std::uint64_t b)
{
    std::uint64_t product = 0;
    return __builtin_mul_overflow(a, b, &product) ? UINT64_MAX : product;
}

std::uint64_t plus(std::uint64_t a, std::uint64_t b)
{
    std::uint64_t sum = 0;
    return __builtin_add_overflow(a, b, &sum) ? UINT64_MAX : sum;
}

} // namespace

std::uint64_t terrainBytes(const TerrainLayout& layout)
{
    const std::uint64_t cells = std::uint64_t(layout.cellsPerChunk());
    const std::uint64_t columns = times(std::uint64_t(layout.chunkColumns), cells);
    const std::uint64_t rows = times(std::uint64_t(layout.chunkRows), cells);
    const std::uint64_t chunks = times(std::uint64_t(layout.chunkColumns), std::uint64_t(layout.chunkRows));
    const std::uint64_t gridBytes = times(times(columns + 1, rows + 1), sizeof(float));
    // The hierarchy's levels add up to at most 4/3 of its cell level.
    const std::uint64_t hierarchyBytes = times(times(columns, rows), sizeof(HeightRange) * 4 / 3 + 1);
    constexpr std::uint64_t vertexBytes = 2 * sizeof(glm::vec3) + 3 * sizeof(glm::vec2);
    const std::uint64_t chunkBytes =
        (cells + 1) * (cells + 1) * vertexBytes + cells * cells * 6 * sizeof(std::uint32_t);
    return plus(plus(gridBytes, hierarchyBytes), times(chunks, chunkBytes));
}

HeightField gridHeights(const HeightField& heightMap, const TerrainLayout& layout)
{
    const int columns = layout.chunkColumns * layout.cellsPerChunk();
    const int rows = layout.chunkRows * layout.cellsPerChunk();
    const double pixelsPerColumn = double(heightMap.width() - 1) / double(columns);
    const double pixelsPerRow = double(heightMap.height() - 1) / double(rows);
    std::vector<float> values;
    values.reserve(std::size_t(columns + 1) * std::size_t(rows + 1));
    for (int row = 0; row <= rows; ++row) {
        const auto gy = float(double(row) * pixelsPerRow);
        for (int column = 0; column <= columns; ++column) {
            const auto gx = float(double(column) * pixelsPerColumn);
            values.push_back(heightMap.sampleGrid(gx, gy) * layout.heightFactor + layout.position.y);
        }
    }
    return HeightField(columns + 1, rows + 1, std::move(values));
}

Terrain buildTerrain(const HeightField& heightMap, const TerrainLayout& layout)
{
    auto shape = std::make_shared<TerrainShape>();
    shape->surface = TerrainSurface(gridHeights(heightMap, layout), float(layout.precision),
                                    glm::vec2(layout.position.x, layout.position.z));
    shape->hierarchy = MinMaxHierarchy(shape->surface);
    Terrain terrain;
    terrain.layout = layout;
    terrain.chunks = buildChunks(shape->surface, layout.chunkColumns, layout.chunkRows, layout.cellsPerChunk());
    terrain.shape = std::move(shape);
    return terrain;
}

} // namespace kl::terrain
