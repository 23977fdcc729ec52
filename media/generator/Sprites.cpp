#include "Sprites.h"

#include "Maths.h"
#include "heightfield/Noise.h"

#include <cmath>

namespace kl::media {

// The noise functions are shared with the engine's terrain code.
using namespace terrain;

namespace {

struct SpritePixel {
    Rgb colour;
    float alpha = 0;
};

// Fills an ARGB32 image from a function of the offset from the centre, in units of the
// radius (x right, y down; the inscribed circle has radius 1).
template <typename Shader>
QImage paintSprite(int size, Shader shader)
{
    QImage image(size, size, QImage::Format_ARGB32);
    const float half = float(size) / 2.0f;
    for (int y = 0; y < size; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < size; ++x) {
            const float px = (float(x) + 0.5f - half) / half;
            const float py = (float(y) + 0.5f - half) / half;
            const SpritePixel p = shader(px, py);
            line[x] = toQRgb(p.colour, p.alpha);
        }
    }
    return image;
}

// Distance from point p to the segment a-b.
float segmentDistance(float px, float py, float ax, float ay, float bx, float by)
{
    const float abx = bx - ax, aby = by - ay;
    const float t = clamp01(((px - ax) * abx + (py - ay) * aby) / (abx * abx + aby * aby));
    return std::hypot(px - (ax + t * abx), py - (ay + t * aby));
}

// Edge fade that brings every sprite to zero alpha before the inscribed circle's rim.
float rimFade(float r) { return 1.0f - smoothstep(0.88f, 0.98f, r); }

} // namespace

QImage snowFlakeSprite(int size)
{
    const float pixel = 2.0f / float(size);
    return paintSprite(size, [&](float x, float y) {
        const float r = std::hypot(x, y);
        // Fold the plane into one 30-degree wedge: six arms, each mirror-symmetric.
        float angle = std::atan2(y, x) + kPi / 2.0f;
        const float sector = kPi / 3.0f;
        angle = std::fmod(std::fmod(angle, sector) + sector, sector);
        if (angle > sector / 2.0f)
            angle = sector - angle;
        const float ax = r * std::cos(angle), ay = r * std::sin(angle); // arm along +x

        float d = segmentDistance(ax, ay, 0.0f, 0.0f, 0.80f, 0.0f) - 0.045f * (1.0f - ax); // tapering arm
        // Side branches leaning outwards at 60 degrees, shorter towards the tip.
        for (const auto& [start, length] : {std::pair{0.28f, 0.22f}, {0.50f, 0.17f}, {0.68f, 0.10f}}) {
            const float ex = start + length * 0.5f, ey = length * 0.866f;
            d = std::fmin(d, segmentDistance(ax, ay, start, 0.0f, ex, ey) - 0.025f);
        }
        d = std::fmin(d, std::fabs(r - 0.16f) - 0.025f); // hexagonal heart ring
        d = std::fmin(d, r - 0.07f);

        const float body = 1.0f - smoothstep(-pixel, pixel, d);
        const float glow = 0.45f * std::exp(-std::fmax(d, 0.0f) * 22.0f) * (1.0f - smoothstep(0.0f, 0.9f, r));
        const float alpha = std::fmax(body, glow) * rimFade(r);
        const Rgb colour = mix(rgb8(200, 225, 255), rgb8(255, 255, 255), body);
        return SpritePixel{colour, alpha};
    });
}

QImage smokeSprite(int size)
{
    return paintSprite(size, [&](float x, float y) {
        const float r = std::hypot(x, y);
        // Billowing edge: the radius of the puff wobbles with noise.
        const float billow = fbm(x * 2.5f + 10.0f, y * 2.5f + 10.0f, 0, 0, 4, 201);
        const float density = 1.0f - smoothstep(0.15f, 0.8f + 0.12f * billow, r);
        const float texture = 0.65f + 0.35f * (0.5f + 0.5f * fbm(x * 5.0f, y * 5.0f, 0, 0, 4, 202));
        const float alpha = clamp01(density * texture * 0.85f) * rimFade(r);
        const float shade = 0.72f + 0.2f * texture - 0.1f * y; // lit from above
        return SpritePixel{Rgb{shade, shade, shade * 1.02f}, alpha};
    });
}

QImage flareSprite(int size)
{
    return paintSprite(size, [&](float x, float y) {
        const float r = std::hypot(x, y);
        const float core = std::exp(-r * r * 60.0f);
        const float glow = std::exp(-r * 5.0f) * 0.8f;
        // Four thin rays along the axes and two fainter diagonals.
        const float rays = (std::exp(-std::fabs(x) * 90.0f) + std::exp(-std::fabs(y) * 90.0f)) * std::exp(-r * 2.5f)
                         + 0.4f * (std::exp(-std::fabs(x - y) * 80.0f) + std::exp(-std::fabs(x + y) * 80.0f))
                               * std::exp(-r * 4.0f);
        const float intensity = clamp01(core + glow + rays);
        const Rgb colour = mix(rgb8(255, 170, 60), rgb8(255, 255, 240), clamp01(core * 1.5f + rays * 0.5f));
        return SpritePixel{colour, intensity * rimFade(r)};
    });
}

QImage bubbleSprite(int size)
{
    const float pixel = 2.0f / float(size);
    return paintSprite(size, [&](float x, float y) {
        const float r = std::hypot(x, y);
        const float ring = std::exp(-std::pow((r - 0.80f) / (0.05f + pixel), 2.0f));
        const float inside = (1.0f - smoothstep(0.78f, 0.82f, r)) * (0.12f + 0.25f * smoothstep(0.3f, 0.8f, r));
        // Window reflection near the top left.
        const float hx = x + 0.35f, hy = y + 0.38f;
        const float highlight = std::exp(-(hx * hx * 40.0f + hy * hy * 90.0f));
        const float alpha = clamp01(ring * 0.9f + inside + highlight) * rimFade(r);
        const Rgb colour = mix(rgb8(150, 215, 255), rgb8(255, 255, 255), clamp01(highlight * 1.5f + ring * 0.3f));
        return SpritePixel{colour, alpha};
    });
}

} // namespace kl::media
