#include "Noise.h"

#include <cmath>

namespace kl::terrain {
namespace {

int wrap(int i, int period)
{
    if (period <= 0)
        return i;
    const int m = i % period;
    return m < 0 ? m + period : m;
}

float fade(float t) { return t * t * t * (t * (t * 6.0f - 15.0f) + 10.0f); }
float lerp(float a, float b, float t) { return a + (b - a) * t; }

// 256 unit gradients evenly spread round the circle, picked by hash.
struct GradientTable {
    float x[256];
    float y[256];
    GradientTable()
    {
        for (int i = 0; i < 256; ++i) {
            const double angle = 6.283185307179586 * (i + 0.5) / 256.0;
            x[i] = float(std::cos(angle));
            y[i] = float(std::sin(angle));
        }
    }
};

// Dot product of the corner's hashed unit gradient with the offset to the sample point.
float cornerGradient(int ix, int iy, float dx, float dy, std::uint32_t seed)
{
    static const GradientTable table;
    const std::uint32_t i = hash3(ix, iy, 0, seed) >> 24;
    return table.x[i] * dx + table.y[i] * dy;
}

float cornerGradient3(int ix, int iy, int iz, float dx, float dy, float dz, std::uint32_t seed)
{
    // The twelve edge directions of a cube: well spread and cheap.
    static constexpr float kDirections[12][3] = {{1, 1, 0},  {-1, 1, 0}, {1, -1, 0}, {-1, -1, 0},
                                                 {1, 0, 1},  {-1, 0, 1}, {1, 0, -1}, {-1, 0, -1},
                                                 {0, 1, 1},  {0, -1, 1}, {0, 1, -1}, {0, -1, -1}};
    const auto& g = kDirections[hash3(ix, iy, iz, seed) % 12];
    return g[0] * dx + g[1] * dy + g[2] * dz;
}

} // namespace

std::uint32_t hash3(std::int32_t x, std::int32_t y, std::int32_t z, std::uint32_t seed)
{
    // Multiply-xorshift mixing of each coordinate into the seed (unsigned arithmetic wraps).
    std::uint32_t h = seed * 0x9e3779b1u ^ std::uint32_t(x) * 0x85ebca6bu;
    h = (h ^ (h >> 15)) * 0xc2b2ae35u ^ std::uint32_t(y) * 0x27d4eb2fu;
    h = (h ^ (h >> 13)) * 0x165667b1u ^ std::uint32_t(z) * 0x9e3779b1u;
    h = (h ^ (h >> 16)) * 0x85ebca6bu;
    h = (h ^ (h >> 13)) * 0xc2b2ae35u;
    return h ^ (h >> 16);
}

float hashUnit(std::int32_t x, std::int32_t y, std::uint32_t seed)
{
    return float(hash3(x, y, 0x51ed, seed) >> 8) / 16777216.0f;
}

float gradientNoise(float x, float y, int periodX, int periodY, std::uint32_t seed)
{
    const float fx = std::floor(x), fy = std::floor(y);
    const int ix = int(fx), iy = int(fy);
    const float dx = x - fx, dy = y - fy;
    const int x0 = wrap(ix, periodX), x1 = wrap(ix + 1, periodX);
    const int y0 = wrap(iy, periodY), y1 = wrap(iy + 1, periodY);
    const float n00 = cornerGradient(x0, y0, dx, dy, seed);
    const float n10 = cornerGradient(x1, y0, dx - 1, dy, seed);
    const float n01 = cornerGradient(x0, y1, dx, dy - 1, seed);
    const float n11 = cornerGradient(x1, y1, dx - 1, dy - 1, seed);
    const float u = fade(dx), v = fade(dy);
    // Gradient noise peaks near +-0.7; scale to about [-1, 1].
    return 1.41f * lerp(lerp(n00, n10, u), lerp(n01, n11, u), v);
}

float fbm(float x, float y, int periodX, int periodY, int octaves, std::uint32_t seed, float gain)
{
    float sum = 0, amplitude = 1, norm = 0;
    for (int o = 0; o < octaves; ++o) {
        sum += amplitude * gradientNoise(x, y, periodX, periodY, seed + std::uint32_t(o) * 1013u);
        norm += amplitude;
        amplitude *= gain;
        x *= 2;
        y *= 2;
        periodX *= 2;
        periodY *= 2;
    }
    return sum / norm;
}

float ridged(float x, float y, int periodX, int periodY, int octaves, std::uint32_t seed)
{
    float sum = 0, amplitude = 1, norm = 0, weight = 1;
    for (int o = 0; o < octaves; ++o) {
        float n = 1.0f - std::fabs(gradientNoise(x, y, periodX, periodY, seed + std::uint32_t(o) * 7919u));
        n *= n;
        n *= weight;
        weight = std::fmin(1.0f, n * 2.0f);
        sum += amplitude * n;
        norm += amplitude;
        amplitude *= 0.5f;
        x *= 2;
        y *= 2;
        periodX *= 2;
        periodY *= 2;
    }
    return sum / norm;
}

float gradientNoise3(float x, float y, float z, std::uint32_t seed)
{
    const float fx = std::floor(x), fy = std::floor(y), fz = std::floor(z);
    const int ix = int(fx), iy = int(fy), iz = int(fz);
    const float dx = x - fx, dy = y - fy, dz = z - fz;
    const float u = fade(dx), v = fade(dy), w = fade(dz);
    float layers[2];
    for (int k = 0; k < 2; ++k) {
        const float n00 = cornerGradient3(ix, iy, iz + k, dx, dy, dz - k, seed);
        const float n10 = cornerGradient3(ix + 1, iy, iz + k, dx - 1, dy, dz - k, seed);
        const float n01 = cornerGradient3(ix, iy + 1, iz + k, dx, dy - 1, dz - k, seed);
        const float n11 = cornerGradient3(ix + 1, iy + 1, iz + k, dx - 1, dy - 1, dz - k, seed);
        layers[k] = lerp(lerp(n00, n10, u), lerp(n01, n11, u), v);
    }
    return lerp(layers[0], layers[1], w);
}

float fbm3(float x, float y, float z, int octaves, std::uint32_t seed, float gain)
{
    float sum = 0, amplitude = 1, norm = 0;
    for (int o = 0; o < octaves; ++o) {
        sum += amplitude * gradientNoise3(x, y, z, seed + std::uint32_t(o) * 1013u);
        norm += amplitude;
        amplitude *= gain;
        x *= 2;
        y *= 2;
        z *= 2;
    }
    return sum / norm;
}

CellSample cellular(float x, float y, int periodX, int periodY, std::uint32_t seed)
{
    const float fx = std::floor(x), fy = std::floor(y);
    const int ix = int(fx), iy = int(fy);
    CellSample best{1e9f, 1e9f, 0};
    for (int oy = -1; oy <= 1; ++oy) {
        for (int ox = -1; ox <= 1; ++ox) {
            const int cx = wrap(ix + ox, periodX), cy = wrap(iy + oy, periodY);
            const std::uint32_t h = hash3(cx, cy, 0xce11, seed);
            const float px = fx + float(ox) + float(h & 0xffff) / 65536.0f;
            const float py = fy + float(oy) + float(h >> 16) / 65536.0f;
            const float d = std::hypot(px - x, py - y);
            if (d < best.distance) {
                best.secondDistance = best.distance;
                best.distance = d;
                best.id = h;
            } else if (d < best.secondDistance) {
                best.secondDistance = d;
            }
        }
    }
    return best;
}

} // namespace kl::terrain
