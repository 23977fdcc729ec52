// One emitter of the particle demo, driven the way the particle editor's
// exported event code drives a system: the NewParticle handler picks each
// particle's velocity by a style, moves the emitter along a motion path and
// hands out the colour, life and texture.
#pragma once

#include <korlith3d/KLParticleSystem.h>

#include <cstdint>
#include <memory>
#include <random>

namespace kldemo {

// The editor's values for one emitter, in the engine's units (see
// KLParticleSystem.h): Life in seconds, Speed the pace, EmittorSpeed the
// particles per second, Power the length of the start velocity.
struct EmitterSettings {
    bool Enabled = true;
    int Total = 1000;
    int Size = 5;
    int TextureID = 1;
    D3DCOLORVALUE Color{1, 1, 1, 1};
    bool ColorRnd = false;
    float Life = 2.0f;
    D3DVECTOR Velocity{0, 0, 0};
    float Speed = 0.03f;
    D3DVECTOR Position{0, 30, 0};
    int Gravity = 1;
    float Bounce = 0.3f;
    float Power = 1.0f;
    float EmittorSpeed = 5.0f;
    int Style = 1;    // 0 beam, 1 spray, 2 burst, 3 implode, other: any direction
    int Motion = 0;   // 0 stationary, 1 cycle, 2 reverse, 3 random circle, 4 cube, 5 sphere, 6 line
    D3DVECTOR Distance{5, 5, 5};
    float MotionSpeed = 0.5f;
};

class Emitter {
public:
    // Creates and sets up the engine system; `seed` makes the random draws repeatable.
    Emitter(const EmitterSettings& settings, int alphaMode, std::uint32_t seed);
    Emitter(const Emitter&) = delete;   // the handler refers to this object
    Emitter& operator=(const Emitter&) = delete;

    const EmitterSettings& settings() const { return settings_; }
    KLParticleSystem& system() { return *system_; }

    // The velocity of the next particle and the emitter's next position, as
    // the handler computes them.
    D3DVECTOR nextVelocity();
    D3DVECTOR nextPosition();

private:
    void onNewParticle(float& vx, float& vy, float& vz, float& r, float& g, float& b, float& a, float& life,
                       std::int32_t& texture);
    float rnd() { return uniform_(random_); }

    EmitterSettings settings_;
    std::unique_ptr<KLParticleSystem> system_;
    std::mt19937 random_;
    std::uniform_real_distribution<float> uniform_{0.0f, 1.0f};
};

} // namespace kldemo
