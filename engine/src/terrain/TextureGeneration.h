// Terrain texture generation: texture layers blended over a grey height map
// by altitude (and, optionally, slope) into one colour picture, written as a
// 24-bit BMP. The rules are documented with KLLandscape::GenerateTexture; the
// pieces are apart here so the weights, the blend and the file can be tested
// one by one and the work split over threads.
#pragma once

#include "heightfield/HeightField.h"

#include <QByteArray>
#include <QImage>
#include <QString>

#include <cstdint>
#include <vector>

namespace kl::terrain {

// One layer as the caller added it.
struct TextureLayerSpec {
    QString texture;
    int altitudeMin = 0;
    int altitudeMax = 255;
    float blendPower = 1.5f;
    float uScale = 1.0f;
    float vScale = 1.0f;
    float slopeLimit = 0.0f;
};

// The landscape's list of layers, in the order they were added.
struct TextureLayerList {
    std::vector<TextureLayerSpec> layers;
};

// Grey levels of soft edge, on either side of a range end, per unit of blend power.
inline constexpr float kEdgeLevelsPerPower = 8.0f;
// A slope limit fades over this share of the limit on either side of it.
inline constexpr float kSlopeEdgeShare = 0.25f;
// Largest output side: 8192 x 8192 x 3 bytes is 192 MiB.
inline constexpr int kMaxTextureResolution = 8192;

// A layer ready to be blended: its picture and its weight rules.
struct BlendLayer {
    QImage picture;          // Format_ARGB32 or Format_RGB32, not null
    float low = 0.0f;        // the altitude range, low <= high
    float high = 255.0f;
    float edge = 0.0f;       // half width of each range edge, in grey levels (0: hard)
    float edgeScale = 0.0f;  // 1 / (2 x edge): across an edge per grey level
    double uScale = 1.0;
    double vScale = 1.0;
    float slopeLimit = 0.0f; // 0: none; > 0 at most this slope; < 0 at least -slopeLimit
};

BlendLayer blendLayer(const TextureLayerSpec& spec, QImage picture);

// Weight of a layer at an altitude, from its range and edges (0..1).
float altitudeWeight(const BlendLayer& layer, float altitude);
// Weight of a layer at a slope (grey levels per height-map pixel), from its limit (0..1).
float slopeWeight(const BlendLayer& layer, float slope);
// How far an altitude lies outside the layer's range (0 inside).
float rangeDistance(const BlendLayer& layer, float altitude);

struct BlendInputs {
    HeightField heights;               // grey levels 0..255, not empty
    std::vector<BlendLayer> layers;    // at least one
    int resolution = 512;              // 1..kMaxTextureResolution
};

// The blended picture as the pixel rows of a bottom-up 24-bit BMP (B, G, R,
// rows padded to 4 bytes), the rows of the picture split over `threads`
// threads (at least 1). The bytes do not depend on the thread count.
std::vector<std::uint8_t> blendTextureRows(const BlendInputs& inputs, int threads);

// Bytes of a 24-bit BMP of side `resolution` around those rows.
QByteArray bmpFile(int resolution, const std::vector<std::uint8_t>& rows);
// The whole BMP file, the rows blended in place.
QByteArray blendedBmpFile(const BlendInputs& inputs, int threads);
int bmpRowBytes(int resolution);

// Threads used for generation: every core.
int generationThreads();

} // namespace kl::terrain
