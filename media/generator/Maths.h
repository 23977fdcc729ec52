#pragma once

#include <QColor>
#include <QImage>

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace kl::media {

constexpr float kPi = 3.14159265358979f;

inline float clamp01(float v) { return std::clamp(v, 0.0f, 1.0f); }
inline float mix(float a, float b, float t) { return a + (b - a) * t; }
inline float smoothstep(float edge0, float edge1, float x)
{
    const float t = clamp01((x - edge0) / (edge1 - edge0));
    return t * t * (3.0f - 2.0f * t);
}

// Linear colour in 0..1 per channel; converted to 8 bits only when stored.
struct Rgb {
    float r = 0, g = 0, b = 0;

    Rgb operator+(const Rgb& o) const { return {r + o.r, g + o.g, b + o.b}; }
    Rgb operator*(float s) const { return {r * s, g * s, b * s}; }
    Rgb operator*(const Rgb& o) const { return {r * o.r, g * o.g, b * o.b}; }
};

inline Rgb rgb8(int r, int g, int b) { return {r / 255.0f, g / 255.0f, b / 255.0f}; }
inline Rgb mix(const Rgb& a, const Rgb& b, float t)
{
    return {mix(a.r, b.r, t), mix(a.g, b.g, t), mix(a.b, b.b, t)};
}

inline int toByte(float v) { return int(std::lround(clamp01(v) * 255.0f)); }
inline QRgb toQRgb(const Rgb& c, float alpha = 1.0f)
{
    return qRgba(toByte(c.r), toByte(c.g), toByte(c.b), toByte(alpha));
}

// A small deterministic random stream (SplitMix64) for scattering features.
class Random {
public:
    explicit Random(std::uint64_t seed) : m_state(seed) {}
    std::uint64_t next()
    {
        std::uint64_t z = (m_state += 0x9e3779b97f4a7c15ull);
        z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ull;
        z = (z ^ (z >> 27)) * 0x94d049bb133111ebull;
        return z ^ (z >> 31);
    }
    // Uniform in [0, 1).
    float unit() { return float(next() >> 40) / float(1u << 24); }
    float range(float lo, float hi) { return lo + (hi - lo) * unit(); }

private:
    std::uint64_t m_state;
};

} // namespace kl::media
