#pragma once

#include "heightfield/HeightField.h"

#include <QImage>

#include <cstdint>

// Terrain pictures: a grey height map and the colour map painted from the same heights.
namespace kl::media {

using terrain::HeightField;

// Heights on a size x size grid stretched to exactly [0, 1]: broad hills and valleys with
// sharp ridges across them.
HeightField makeHeightField(int size, std::uint32_t seed);

// 8-bit indexed picture with a grey palette (index = grey level).
QImage greyHeightMap(const HeightField& field);

// Colour by altitude and slope: meadow, dry grass, rock on steep or high ground, snow on top.
// `worldSize` and `heightRange` (world units) give the slopes their true steepness.
QImage terrainColourMap(const HeightField& field, int size, float worldSize, float heightRange);

} // namespace kl::media
