// One emitter at run time: copies of its records, the engine particle system
// it owns, and the answer to the system's NewParticle event (velocity by
// style, the emitter moved along its path, colour, life and texture).
#pragma once

#include "core/EmitterRecords.h"
#include "core/ParticleRules.h"
#include "core/ParticleSystemPort.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

namespace emberly {

// What a factory needs from its surroundings.
struct FactoryEnvironment {
    std::function<std::unique_ptr<ParticleSystemPort>()> createSystem;   // a new engine system
    std::function<int()> alphaMode;                                      // the program-wide mode
    std::function<std::int32_t()> tickCount;                             // milliseconds
    std::function<std::unique_ptr<RandomSource>()> createRandom;         // empty: clock-seeded
};

// Arguments of Update_Particles; each one given replaces the factory's copy.
struct ParticleArgs {
    std::optional<float> sVelX{};
    std::optional<float> sVelY{};
    std::optional<float> sVelZ{};
    std::optional<qint16> iTotal{};
    std::optional<qint16> iSize{};
    std::optional<qint32> lTextureID{};
    std::optional<float> sColorR{};
    std::optional<float> sColorG{};
    std::optional<float> sColorB{};
    std::optional<float> sColorA{};
    std::optional<float> bColorRnd{};
    std::optional<float> sLife{};
    std::optional<float> sSpeed{};
};

// Arguments of Update_Emittor.
struct EmitterArgs {
    std::optional<float> sPosX{};
    std::optional<float> sPosY{};
    std::optional<float> sPosZ{};
    std::optional<qint16> iStyle{};
    std::optional<qint16> iMotion{};
    std::optional<float> sDistX{};
    std::optional<float> sDistY{};
    std::optional<float> sDistZ{};
    std::optional<float> sEmitSpeed{};
    std::optional<float> sEmitPower{};
    std::optional<qint16> iEmitGravity{};
    std::optional<float> sEmitBounce{};
    std::optional<float> sMotionSpeed{};
};

// UpdateParticles flags the editor passes: bounce on y = 0, generator on.
inline constexpr int kUpdateFlags = 68;

class clsParticleFactory {
public:
    explicit clsParticleFactory(FactoryEnvironment environment);
    ~clsParticleFactory();
    clsParticleFactory(const clsParticleFactory&) = delete;
    clsParticleFactory& operator=(const clsParticleFactory&) = delete;

    void Update_Particles(const ParticleArgs& args);
    void Update_Emittor(const EmitterArgs& args);
    void Update();
    void Render();
    void SetupFactory(float sPosX, float sPosY, float sPosZ, float sEmitSpeed, float sEmitPower, qint16 iEmitGravity,
                      float sEmitBounce, float sVelX, float sVelY, float sVelZ, qint16 iStyle, qint16 iMotion,
                      float sDistX, float sDistY, float sDistZ, qint16 iTotal, qint16 iSize, qint32 lTextureID,
                      float sColorR, float sColorG, float sColorB, float sColorA, float bColorRnd, float sLife,
                      float sSpeed, float sMotionSpeed);
    // The NewParticle handler: all nine are out-values.
    void Particle_NewParticle(float& VelocX, float& VelocY, float& VelocZ, float& ColorR, float& ColorG, float& ColorB,
                              float& ColorA, float& LifeTime, std::int32_t& TextureIndex);

    // The engine system; null before SetupFactory.
    ParticleSystemPort* Particle() const { return particle_.get(); }

    // The copies, as the records they came from.
    ParticleSettings particleCopy() const;
    EmitterSettings emitterCopy() const;
    D3DVECTOR NewVelocity() const { return newVelocity_; }

private:
    ParticleSystemPort& system() const;

    FactoryEnvironment environment_;
    std::unique_ptr<RandomSource> random_;
    std::unique_ptr<ParticleSystemPort> particle_;

    qint16 iTotal = 0, iSize = 0;
    qint32 lTextureID = 0;
    D3DCOLORVALUE colour_{};
    float bColorRnd = 0, sLife = 0, sSpeed = 0;
    D3DVECTOR velocity_{}, position_{};
    qint16 iEmitGravity = 0;
    float sEmitBounce = 0, sEmitPower = 0, sEmitSpeed = 0;
    qint16 iStyle = 0, iMotion = 0;
    D3DVECTOR distance_{};
    float sMotionSpeed = 0;
    D3DVECTOR newVelocity_{};
};

// Pushes an emitter's records into its factory: Update_Emittor with the
// emitter fields, then Update_Particles with the particle fields.
void applyEmitter(clsParticleFactory& factory, const ParticleSettings& particle, const EmitterSettings& emitter);

// SetupFactory with a record pair, in the argument order it takes.
void setupFactoryFrom(clsParticleFactory& factory, const ParticleSettings& particle, const EmitterSettings& emitter);

} // namespace emberly
