#include "Terrain.h"

#include "Maths.h"
#include "heightfield/Noise.h"

#include <algorithm>
#include <cmath>

namespace kl::media {

// The noise functions are shared with the engine's terrain code.
using namespace terrain;

HeightField makeHeightField(int size, std::uint32_t seed)
{
    std::vector<float> heights(std::size_t(size) * std::size_t(size));
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const float u = float(x) / float(size - 1), v = float(y) / float(size - 1);
            // A gentle domain warp bends ridges and valleys so they do not follow the lattice.
            const float wu = u + 0.08f * fbm(u * 2.0f + 3.1f, v * 2.0f, 0, 0, 3, seed + 3);
            const float wv = v + 0.08f * fbm(u * 2.0f, v * 2.0f + 5.3f, 0, 0, 3, seed + 4);
            const float hills = fbm(wu * 2.5f, wv * 2.5f, 0, 0, 5, seed);
            // Where the mountain mask is high, ridges rise; elsewhere rolling hills remain.
            const float mountainMask = smoothstep(-0.35f, 0.3f, fbm(u * 1.6f + 7.0f, v * 1.6f, 0, 0, 3, seed + 1));
            const float crests = ridged(wu * 3.0f, wv * 3.0f, 0, 0, 6, seed + 2);
            heights[std::size_t(y) * std::size_t(size) + std::size_t(x)] =
                0.45f * hills + mountainMask * (0.2f + 0.8f * crests) * 0.8f;
        }
    }
    // Stretch so that the lowest half percent lies flat at 0 (valley floors) and the top
    // fifth of a percent at 1: the full grey range is used, not wasted on a single spike.
    std::vector<float> sorted = heights;
    std::sort(sorted.begin(), sorted.end());
    const float low = sorted[sorted.size() / 200];
    const float high = sorted[sorted.size() - 1 - sorted.size() / 500];
    const float range = std::max(high - low, 1e-6f);
    for (float& h : heights) {
        // Flatter valley floors, steeper upper slopes.
        h = std::pow(clamp01((h - low) / range), 1.2f);
    }
    return HeightField(size, size, std::move(heights));
}

QImage greyHeightMap(const HeightField& field)
{
    QImage image(field.width(), field.height(), QImage::Format_Indexed8);
    QList<QRgb> palette;
    for (int i = 0; i < 256; ++i)
        palette.append(qRgb(i, i, i));
    image.setColorTable(palette);
    for (int y = 0; y < field.height(); ++y) {
        uchar* line = image.scanLine(y);
        for (int x = 0; x < field.width(); ++x)
            line[x] = uchar(toByte(field.at(x, y)));
    }
    return image;
}

QImage terrainColourMap(const HeightField& field, int size, float worldSize, float heightRange)
{
    QImage image(size, size, QImage::Format_RGB32);
    const float step = 1.0f / float(size - 1);
    const float worldStep = worldSize * step;
    for (int y = 0; y < size; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < size; ++x) {
            const float u = float(x) * step, v = float(y) * step;
            const float h = field.sample(u, v);
            const float dx = (field.sample(u + step, v) - field.sample(u - step, v)) * heightRange / (2 * worldStep);
            const float dy = (field.sample(u, v + step) - field.sample(u, v - step)) * heightRange / (2 * worldStep);
            const float slope = std::hypot(dx, dy); // rise per unit run

            const float n = fbm(u * 24.0f, v * 24.0f, 0, 0, 4, 401);
            const float fine = gradientNoise(u * 300.0f, v * 300.0f, 0, 0, 402);
            const float a = h + 0.04f * n; // altitude with ragged band edges

            Rgb colour = mix(rgb8(62, 102, 40), rgb8(88, 126, 48), 0.5f + 0.5f * n);          // meadow
            colour = mix(colour, rgb8(134, 128, 86), smoothstep(0.30f, 0.45f, a));           // dry grass
            const Rgb rockColour = mix(rgb8(112, 100, 88), rgb8(146, 136, 124), 0.5f + 0.5f * n);
            const float rockiness = std::max(smoothstep(0.55f, 0.65f, a), smoothstep(0.45f, 0.75f, slope));
            colour = mix(colour, rockColour, rockiness);
            // Snow settles on high ground unless it is too steep to hold.
            const float snowCover = smoothstep(0.76f, 0.84f, a) * (1.0f - smoothstep(0.8f, 1.2f, slope));
            colour = mix(colour, rgb8(236, 240, 246), snowCover);
            line[x] = toQRgb(colour * (0.95f + 0.05f * fine));
        }
    }
    return image;
}

} // namespace kl::media
