// The records of the three emitters: what the particles look like
// (ParticleSettings), where and how the emitter throws them
// (EmitterSettings), and the colour the colour controls edit.
#pragma once

#include <korlith3d/types.h>

#include <QtGlobal>

#include <array>

namespace emberly {

inline constexpr int kEmitterCount = 3;

// Fields in their fixed order; defaults are those set at start-up.
struct ParticleSettings {
    qint16 Total = 1000;
    qint16 Size = 5;
    qint32 TextureID = 1;
    D3DCOLORVALUE Color{1, 1, 1, 1};
    float ColorRnd = 0;
    float Life = 2.0f;
    D3DVECTOR Velocity{0, 0, 0};
    float Speed = 0.03f;
};

struct EmitterSettings {
    D3DVECTOR Position{0, 30, 0};
    qint16 Gravity = 1;
    float Bounce = 0.3f;
    float Power = 1.0f;
    float EmittorSpeed = 5.0f;
    qint16 Style = 1;
    qint16 Motion = 0;
    D3DVECTOR Distance{5, 5, 5};
    float MotionSpeed = 0.5f;
};

// Everything the editor keeps per emitter, indexed 0..2.
struct EmitterRecords {
    std::array<ParticleSettings, kEmitterCount> particles{};
    std::array<EmitterSettings, kEmitterCount> emitters{};
    std::array<D3DCOLORVALUE, kEmitterCount> colours{{{1, 1, 1, 1}, {1, 1, 1, 1}, {1, 1, 1, 1}}};
};

// The values "&Reset" gives emitter `index`: white, texture 3 ("Flare"),
// power (index + 1) × 0.25, the rest the start-up defaults.
ParticleSettings resetParticleSettings();
EmitterSettings resetEmitterSettings(int index);

// Throws std::out_of_range for an index outside 0..2.
void checkEmitterIndex(int index);

} // namespace emberly
