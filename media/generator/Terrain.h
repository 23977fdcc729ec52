#pragma once

#include <QImage>

#include <cstdint>
#include <vector>

// Terrain pictures: a grey height map and the colour map painted from the same heights.
namespace kl::media {

// Heights on a size x size grid, row by row, stretched to exactly [0, 1]: broad hills and
// valleys with sharp ridges across them.
struct HeightField {
    int size = 0;
    std::vector<float> heights;

    float at(int x, int y) const { return heights[std::size_t(y) * std::size_t(size) + std::size_t(x)]; }
    // Bilinear height at normalised (u, v) in [0, 1].
    float sample(float u, float v) const;
};

HeightField makeHeightField(int size, std::uint32_t seed);

// 8-bit indexed picture with a grey palette (index = grey level).
QImage greyHeightMap(const HeightField& field);

// Colour by altitude and slope: meadow, dry grass, rock on steep or high ground, snow on top.
// `worldSize` and `heightRange` (world units) give the slopes their true steepness.
QImage terrainColourMap(const HeightField& field, int size, float worldSize, float heightRange);

} // namespace kl::media
