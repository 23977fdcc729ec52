#include "SkyBox.h"

#include "Maths.h"
#include "heightfield/Noise.h"

#include <cmath>

namespace kl::media {

// The noise functions are shared with the engine's terrain code.
using namespace terrain;

namespace {

// Cube-surface point for face coordinates s (image right) and t (image down), both in [-1, 1].
Direction cubePoint(CubeFace face, float s, float t)
{
    switch (face) {
    case CubeFace::Front: return {s, -t, 1};
    case CubeFace::Back: return {-s, -t, -1};
    case CubeFace::Right: return {1, -t, -s};
    case CubeFace::Left: return {-1, -t, s};
    case CubeFace::Top: return {s, 1, t};
    case CubeFace::Bottom: return {s, -1, -t};
    }
    return {0, 0, 1};
}

float faceCoordinate(int pixel, int size) { return (float(pixel) + 0.5f) / float(size) * 2.0f - 1.0f; }

template <typename Shader>
QImage paintFace(CubeFace face, int size, Shader shader)
{
    QImage image(size, size, QImage::Format_RGB32);
    for (int y = 0; y < size; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < size; ++x)
            line[x] = toQRgb(shader(faceDirection(face, size, x, y), faceCoordinate(x, size), faceCoordinate(y, size)));
    }
    return image;
}

// Height (as elevation angle, radians) of a mountain range at azimuth `az`. Sampling the
// noise on a circle makes the profile continuous all the way round.
float rangeProfile(float az, float radius, float base, float amplitude, std::uint32_t seed)
{
    const float cx = std::cos(az) * radius, cy = std::sin(az) * radius;
    const float massif = 0.5f + 0.5f * fbm(cx * 0.7f + 20.0f, cy * 0.7f + 20.0f, 0, 0, 3, seed + 1);
    const float peaks = ridged(cx + 50.0f, cy + 50.0f, 0, 0, 5, seed);
    return base + amplitude * (0.45f * massif + 0.55f * massif * std::pow(peaks, 1.4f));
}

// Highest elevation (radians) the distant range can reach.
constexpr float kMountainTop = 0.42f;

Rgb mountainsColour(const Direction& d)
{
    const float elevation = std::asin(std::clamp(d.y, -1.0f, 1.0f));
    const float azimuth = std::atan2(d.x, d.z);

    const Rgb zenith = rgb8(48, 96, 176);
    const Rgb horizon = rgb8(200, 218, 232);
    const Rgb haze = rgb8(176, 194, 210);

    // Sky with a sun low in the front-right and a few clouds.
    Rgb sky = mix(horizon, zenith, std::pow(clamp01(elevation / (kPi / 2)), 0.55f));
    const Direction sun{0.45f, 0.30f, 0.84f};
    const float sunCos = d.x * sun.x + d.y * sun.y + d.z * sun.z;
    sky = sky + rgb8(255, 230, 180) * (0.35f * std::pow(clamp01(sunCos), 64.0f) + 0.6f * std::pow(clamp01(sunCos), 2000.0f));
    const float cloudFade = smoothstep(0.02f, 0.25f, elevation);
    if (cloudFade > 0.0f) {
        const float cloudDensity = smoothstep(0.05f, 0.45f, fbm3(d.x * 2.2f, d.y * 5.0f, d.z * 2.2f, 5, 301) + 0.1f);
        const float cloudShade = 0.85f + 0.15f * fbm3(d.x * 6.0f, d.y * 6.0f, d.z * 6.0f, 3, 302);
        sky = mix(sky, rgb8(250, 250, 252) * cloudShade, cloudDensity * cloudFade * 0.85f);
    }
    if (elevation > kMountainTop)
        return sky;

    // Distant range: hazy blue with snow on the highest parts.
    const float far = rangeProfile(azimuth, 2.2f, 0.03f, kMountainTop - 0.03f, 303);
    const float near = rangeProfile(azimuth, 3.5f, 0.01f, 0.07f, 304);
    Rgb colour = sky;
    if (elevation < far) {
        const float rockNoise = fbm3(d.x * 40.0f, d.y * 60.0f, d.z * 40.0f, 4, 305);
        Rgb rockColour = mix(rgb8(92, 108, 134), rgb8(128, 142, 164), 0.5f + 0.5f * rockNoise);
        const float snowLine = 0.15f + 0.03f * rockNoise;
        const float snowCover = smoothstep(snowLine - 0.01f, snowLine + 0.01f, elevation)
                              * smoothstep(-0.2f, 0.3f, rockNoise + (elevation - far) * 8.0f + 0.2f);
        rockColour = mix(rockColour, rgb8(236, 240, 246), snowCover);
        // Flanks facing the sun (which stands to the right of the front view) are lit, the
        // others in shade: the sign of the crest line's slope tells which flank this is.
        const float delta = 0.03f;
        const float crestSlope = (rangeProfile(azimuth + delta, 2.2f, 0.03f, kMountainTop - 0.03f, 303)
                                  - rangeProfile(azimuth - delta, 2.2f, 0.03f, kMountainTop - 0.03f, 303))
                               / (2.0f * delta);
        rockColour = rockColour * (0.92f + 0.14f * std::clamp(-crestSlope * 2.0f, -1.0f, 1.0f));
        // Atmospheric haze towards the foot of the range.
        colour = mix(rockColour, haze, 0.35f + 0.35f * (1.0f - smoothstep(0.0f, 0.1f, elevation)));
    }
    if (elevation < near) {
        const float forest = fbm3(d.x * 90.0f, d.y * 90.0f, d.z * 90.0f, 3, 306);
        colour = mix(rgb8(46, 70, 58), rgb8(70, 96, 72), 0.5f + 0.5f * forest);
        colour = mix(colour, haze, 0.25f);
    }
    if (elevation < 0.0f) {
        // Meadow on the ground plane; its pattern is projected from the plane and fades to
        // an even colour (and into haze) towards the horizon where it would alias.
        const float depth = -d.y;
        const float px = d.x / std::fmax(depth, 1e-3f), pz = d.z / std::fmax(depth, 1e-3f);
        const float detailFade = smoothstep(0.05f, 0.4f, depth);
        const float meadow = fbm(px * 0.8f, pz * 0.8f, 0, 0, 4, 307) * detailFade;
        colour = mix(rgb8(74, 104, 48), rgb8(110, 136, 62), 0.5f + 0.5f * meadow);
        colour = mix(mix(haze, colour, 0.6f), colour, smoothstep(0.0f, 0.06f, depth));
    }
    return colour;
}

// Antialiased line intensity for a distance from the line centre given in pixels.
float lineCoverage(float distancePixels, float halfWidthPixels)
{
    return 1.0f - smoothstep(halfWidthPixels - 0.75f, halfWidthPixels + 0.75f, distancePixels);
}

// Distance from coordinate c to the nearest multiple of `spacing`.
float gridDistance(float c, float spacing)
{
    const float cell = c / spacing;
    return std::fabs(cell - std::round(cell)) * spacing;
}

} // namespace

Direction faceDirection(CubeFace face, int size, int px, int py)
{
    const Direction p = cubePoint(face, faceCoordinate(px, size), faceCoordinate(py, size));
    const float length = std::sqrt(p.x * p.x + p.y * p.y + p.z * p.z);
    return {p.x / length, p.y / length, p.z / length};
}

QImage mountainsFace(CubeFace face, int size)
{
    return paintFace(face, size, [](const Direction& d, float, float) { return mountainsColour(d); });
}

QImage gridFace(CubeFace face, int size)
{
    const float pixelsPerUnit = float(size) / 2.0f;
    return paintFace(face, size, [&](const Direction& d, float s, float t) {
        // Background: deep blue overhead, violet glow at the horizon, near-black below.
        const float up = d.y;
        Rgb colour = up >= 0 ? mix(rgb8(60, 24, 90), rgb8(6, 10, 34), std::pow(up, 0.6f))
                             : mix(rgb8(60, 24, 90), rgb8(4, 4, 14), std::pow(-up, 0.5f));
        // Major lines every quarter face, minor ones every sixteenth. Lines lie on the cube,
        // so they run straight on with the neighbouring face.
        const float major = std::fmax(lineCoverage(gridDistance(s, 0.25f) * pixelsPerUnit, 1.2f),
                                      lineCoverage(gridDistance(t, 0.25f) * pixelsPerUnit, 1.2f));
        const float minor = std::fmax(lineCoverage(gridDistance(s, 0.0625f) * pixelsPerUnit, 0.5f),
                                      lineCoverage(gridDistance(t, 0.0625f) * pixelsPerUnit, 0.5f));
        const float glow = std::exp(-std::fmin(gridDistance(s, 0.25f), gridDistance(t, 0.25f)) * pixelsPerUnit / 4.0f);
        const Rgb lineColour = mix(rgb8(255, 80, 200), rgb8(40, 230, 255), clamp01(0.5f + 0.5f * up));
        colour = colour + lineColour * (0.25f * glow);
        colour = mix(colour, lineColour * 0.6f, minor * 0.35f);
        colour = mix(colour, lineColour, major);
        return colour;
    });
}

} // namespace kl::media
