#include "SurfaceTextures.h"

#include "Maths.h"
#include "heightfield/Noise.h"

#include <cmath>

namespace kl::media {

// The noise functions are shared with the engine's terrain code.
using namespace terrain;

namespace {

// Fills a square RGB32 image from a colour function of normalised, tileable coordinates
// (u, v in [0, 1), sampled at pixel centres).
template <typename Shader>
QImage paint(int size, Shader shader)
{
    QImage image(size, size, QImage::Format_RGB32);
    for (int y = 0; y < size; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        const float v = (float(y) + 0.5f) / float(size);
        for (int x = 0; x < size; ++x)
            line[x] = toQRgb(shader((float(x) + 0.5f) / float(size), v));
    }
    return image;
}

// Periodic fbm over the unit square with `cells` lattice cells per side.
float tileFbm(float u, float v, int cells, int octaves, std::uint32_t seed, float gain = 0.5f)
{
    return fbm(u * float(cells), v * float(cells), cells, cells, octaves, seed, gain);
}

// Profile of a round thread seen from above: bright along its middle, dark at its sides.
float threadProfile(float across) { return std::sqrt(std::fmax(0.0f, 1.0f - across * across)); }

} // namespace

QImage wovenFabric(int size)
{
    constexpr int kThreads = 64; // per side, per direction; a multiple of the 4-thread repeat
    const Rgb warpColour = rgb8(150, 60, 52);
    const Rgb weftColour = rgb8(196, 132, 104);
    return paint(size, [&](float u, float v) {
        const float tx = u * kThreads, ty = v * kThreads;
        const int i = int(tx), j = int(ty);
        const float fx = tx - float(i), fy = ty - float(j);
        // 2/2 twill: the warp (vertical thread) floats over two wefts, then under two,
        // shifted by one per column, which draws the diagonal rib.
        const int phase = ((j - i) % 4 + 4) % 4;
        const bool warpOnTop = phase < 2;
        // Position along the float (0..1 over the two cells it spans) gives the bulge.
        const int weftPhase = ((i - j) % 4 + 4) % 4; // 1 or 2 where the weft floats
        const float along = warpOnTop ? (float(phase) + fy) / 2.0f : (float(weftPhase - 1) + fx) / 2.0f;

        // Slight thickness variation per thread (slubs) keeps the cloth from looking printed.
        const float warpWidth = 0.90f + 0.10f * hashUnit(i, 0, 11);
        const float weftWidth = 0.90f + 0.10f * hashUnit(0, j, 12);
        const float across = warpOnTop ? (fx - 0.5f) * 2.0f / warpWidth : (fy - 0.5f) * 2.0f / weftWidth;
        const float height = threadProfile(std::fabs(across) <= 1.0f ? across : 1.0f);
        const float bulge = 0.82f + 0.18f * std::sin(kPi * clamp01(along));

        // Fibres run along the thread: noise stretched in the thread's direction.
        const float fibre = warpOnTop ? gradientNoise(u * 2048.0f, v * 128.0f, 2048, 128, 21)
                                      : gradientNoise(u * 128.0f, v * 2048.0f, 128, 2048, 22);
        const Rgb base = warpOnTop ? warpColour : weftColour;
        const float dye = 0.92f + 0.08f * (warpOnTop ? hashUnit(i, 1, 13) : hashUnit(1, j, 14));
        float shade = (0.55f + 0.45f * height * bulge) * dye * (1.0f + 0.12f * fibre);
        if (std::fabs(across) > 1.0f)
            shade *= 0.6f; // gap between threads
        const float soil = 0.96f + 0.04f * tileFbm(u, v, 4, 3, 23);
        return base * (shade * soil);
    });
}

QImage floorTiles(int size)
{
    constexpr int kTiles = 4;
    const Rgb light = rgb8(222, 210, 188);
    const Rgb dark = rgb8(92, 104, 96);
    const Rgb grout = rgb8(70, 66, 60);
    return paint(size, [&](float u, float v) {
        const float tx = u * kTiles, ty = v * kTiles;
        const int i = int(tx), j = int(ty);
        const float fx = tx - float(i), fy = ty - float(j);
        const float edge = std::fmin(std::fmin(fx, 1.0f - fx), std::fmin(fy, 1.0f - fy));
        const float groutHalfWidth = 0.018f;
        // Marble veins: a sine across the tile, warped by noise.
        const float warp = tileFbm(u, v, 8, 5, 31 + std::uint32_t(i * 7 + j));
        const float veins = std::pow(std::fabs(std::sin((fx + fy * 0.6f) * 6.0f + warp * 5.0f)), 0.25f);
        const bool darkTile = (i + j) % 2 == 1;
        Rgb colour = darkTile ? dark : light;
        colour = colour * (0.94f + 0.08f * hashUnit(i, j, 33)); // tiles differ a little
        colour = mix(colour * 0.78f, colour, veins);
        colour = colour * (1.0f + 0.05f * tileFbm(u, v, 32, 3, 34));
        // Bevel: a soft darkening just inside the grout line.
        colour = colour * (0.85f + 0.15f * smoothstep(groutHalfWidth, groutHalfWidth + 0.03f, edge));
        const float groutMix = 1.0f - smoothstep(groutHalfWidth - 0.004f, groutHalfWidth + 0.004f, edge);
        const Rgb groutColour = grout * (0.9f + 0.2f * tileFbm(u, v, 64, 2, 35));
        return mix(colour, groutColour, groutMix);
    });
}

QImage cobbleFloor(int size)
{
    constexpr int kCells = 8;
    return paint(size, [&](float u, float v) {
        const float jitterU = 0.05f * tileFbm(u, v, 8, 3, 41);
        const float jitterV = 0.05f * tileFbm(u, v, 8, 3, 42);
        const CellSample cell =
            cellular((u + jitterU) * kCells, (v + jitterV) * kCells, kCells, kCells, 43);
        const float border = cell.secondDistance - cell.distance; // 0 on the joint between stones
        const float tone = float(cell.id % 1000) / 1000.0f;
        Rgb stone = mix(rgb8(118, 112, 104), rgb8(168, 160, 146), tone);
        stone = stone * (0.9f + 0.18f * tileFbm(u, v, 48, 4, 44));
        // Rounded stones: brighter in the middle, darker towards the joint.
        stone = stone * (0.7f + 0.3f * smoothstep(0.0f, 0.35f, border));
        const Rgb mortar = rgb8(74, 70, 64) * (0.85f + 0.3f * tileFbm(u, v, 96, 2, 45));
        return mix(mortar, stone, smoothstep(0.04f, 0.09f, border));
    });
}

QImage brushedMetal(int size)
{
    return paint(size, [&](float u, float v) {
        // Long horizontal streaks: low frequency along x, high across y.
        const float streaks = gradientNoise(u * 3.0f, v * 256.0f, 3, 256, 51) * 0.6f
                            + gradientNoise(u * 6.0f, v * 512.0f, 6, 512, 52) * 0.4f;
        const float grain = gradientNoise(u * 512.0f, v * 512.0f, 512, 512, 53);
        const float cloud = tileFbm(u, v, 2, 3, 54);
        const float light = 0.74f + 0.07f * streaks + 0.02f * grain + 0.05f * cloud;
        return Rgb{light * 0.98f, light * 0.99f, light * 1.03f};
    });
}

QImage sand(int size)
{
    return paint(size, [&](float u, float v) {
        // Ripples: a wave across the texture whose crest line wanders with noise; the wave has
        // a whole number of periods across so it tiles.
        const float wander = tileFbm(u, v, 3, 3, 61);
        const float ripple = std::sin(2.0f * kPi * (v * 12.0f + u * 2.0f) + wander * 4.0f);
        const float grain = gradientNoise(u * 256.0f, v * 256.0f, 256, 256, 62);
        const float patch = tileFbm(u, v, 4, 4, 63);
        const Rgb base = mix(rgb8(196, 164, 112), rgb8(226, 200, 150), 0.5f + 0.5f * patch);
        return base * (0.93f + 0.06f * ripple + 0.05f * grain);
    });
}

QImage grass(int size)
{
    return paint(size, [&](float u, float v) {
        // Blades: noise stretched vertically and layered at two scales.
        const float blades = gradientNoise(u * 128.0f, v * 24.0f, 128, 24, 71) * 0.6f
                           + gradientNoise(u * 256.0f, v * 48.0f, 256, 48, 72) * 0.4f;
        const float patch = tileFbm(u, v, 4, 4, 73);
        const float dryness = smoothstep(0.25f, 0.7f, tileFbm(u, v, 3, 3, 74));
        Rgb base = mix(rgb8(58, 104, 36), rgb8(96, 142, 52), 0.5f + 0.5f * patch);
        base = mix(base, rgb8(140, 146, 70), dryness * 0.6f);
        return base * (0.78f + 0.28f * (0.5f + 0.5f * blades));
    });
}

QImage rock(int size)
{
    // Rugged stone: a rough height function with cracks between broken blocks, shaded by a
    // light from the upper left so the relief stands out.
    const auto height = [](float u, float v) {
        const float warpU = 0.08f * tileFbm(u, v, 4, 3, 84), warpV = 0.08f * tileFbm(u, v, 4, 3, 85);
        const CellSample block = cellular((u + warpU) * 5.0f, (v + warpV) * 5.0f, 5, 5, 82);
        const float crack = smoothstep(0.0f, 0.12f, block.secondDistance - block.distance);
        const float step = 0.15f * (float(block.id % 101) / 101.0f - 0.5f); // blocks sit at different depths
        return tileFbm(u, v, 8, 6, 81, 0.55f) * 0.6f + 0.5f * crack + step;
    };
    const float e = 1.0f / float(size);
    return paint(size, [&](float u, float v) {
        const float h = height(u, v);
        const float slopeU = (height(u + e, v) - height(u - e, v)) / (2.0f * e);
        const float slopeV = (height(u, v + e) - height(u, v - e)) / (2.0f * e);
        const float light = clamp01(0.6f - 0.01f * (slopeU + slopeV));
        Rgb base = mix(rgb8(98, 92, 86), rgb8(150, 142, 130), clamp01(0.5f + 0.7f * tileFbm(u, v, 3, 4, 86)));
        const float lichen = smoothstep(0.35f, 0.6f, tileFbm(u, v, 8, 3, 83));
        base = mix(base, rgb8(118, 124, 88), lichen * 0.3f);
        return base * ((0.5f + 0.8f * light) * (0.55f + 0.45f * clamp01(h + 0.5f)));
    });
}

QImage snow(int size)
{
    return paint(size, [&](float u, float v) {
        const float drift = tileFbm(u, v, 3, 4, 91);
        const float fine = gradientNoise(u * 128.0f, v * 128.0f, 128, 128, 92);
        const float sparkle = hashUnit(int(u * float(size)), int(v * float(size)), 93) > 0.996f ? 0.08f : 0.0f;
        const Rgb shadow = rgb8(196, 210, 232);
        const Rgb lit = rgb8(246, 248, 252);
        return mix(shadow, lit, clamp01(0.65f + 0.45f * drift + 0.08f * fine)) + Rgb{sparkle, sparkle, sparkle};
    });
}

QImage detailNoise(int size)
{
    return paint(size, [&](float u, float v) {
        const float n = 0.5f * tileFbm(u, v, 8, 5, 101, 0.6f) + 0.5f * tileFbm(u, v, 32, 3, 102);
        const float grey = 0.5f + 0.45f * n;
        return Rgb{grey, grey, grey};
    });
}

} // namespace kl::media
