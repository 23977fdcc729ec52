#pragma once

#include <cstdint>

namespace kl::terrain {

// Integer hash of lattice coordinates: the seed of every procedural texture.
std::uint32_t hash3(std::int32_t x, std::int32_t y, std::int32_t z, std::uint32_t seed);
// Hash mapped to [0, 1).
float hashUnit(std::int32_t x, std::int32_t y, std::uint32_t seed);

// 2D gradient noise in about [-1, 1]. The lattice repeats every periodX x periodY cells, so
// a texture that samples exactly one period across is tileable.
float gradientNoise(float x, float y, int periodX, int periodY, std::uint32_t seed);

// Fractal sum of `octaves` gradient-noise layers; each octave doubles frequency and period.
// Result in about [-1, 1].
float fbm(float x, float y, int periodX, int periodY, int octaves, std::uint32_t seed, float gain = 0.5f);

// Ridged fractal (sharp crests where the noise crosses zero), in [0, 1].
float ridged(float x, float y, int periodX, int periodY, int octaves, std::uint32_t seed);

// 3D gradient noise in about [-1, 1], not periodic (used for functions of a direction).
float gradientNoise3(float x, float y, float z, std::uint32_t seed);
float fbm3(float x, float y, float z, int octaves, std::uint32_t seed, float gain = 0.5f);

// Cellular noise: distance to the nearest of one jittered point per cell (periodic), in
// cell units, and the id of that cell.
struct CellSample {
    float distance = 0;
    float secondDistance = 0;
    std::uint32_t id = 0;
};
CellSample cellular(float x, float y, int periodX, int periodY, std::uint32_t seed);

} // namespace kl::terrain
