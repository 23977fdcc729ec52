// The engine particle system as the factory drives it: the calls it makes,
// so a recording stand-in can take the engine's place in tests.
#pragma once

#include <korlith3d/KLParticleSystem.h>

#include <memory>

namespace emberly {

class ParticleSystemPort {
public:
    virtual ~ParticleSystemPort() = default;
    virtual void SetBillboardMode(int mode) = 0;
    virtual void CreateBillboardSystem(int total, int startParticles, float size, const D3DVECTOR& emitter,
                                       int farToNear, int textureId) = 0;
    virtual void ParticleSize(float size) = 0;
    virtual void SetAlphaBlendingMode(int mode, int sourceBlend, int destinationBlend) = 0;
    virtual void SetGravity(float gravity, float bounce) = 0;
    virtual void SetGeneratorSpeed(float speed) = 0;
    virtual void SetParticleSpeed(float speed) = 0;
    virtual void UpdateParticles(int flags) = 0;
    virtual void RenderParticles() = 0;
    virtual void MoveEmittor(const D3DVECTOR& position) = 0;
    virtual D3DVECTOR GetEmittorPosition() const = 0;
    virtual int GetParticleCount() const = 0;
    virtual int GetTotal() const = 0;
    virtual void SetNewParticleHandler(KLParticleSystem::NewParticleHandler handler) = 0;
};

// The engine's own system behind the port (needs a KLEngine).
std::unique_ptr<ParticleSystemPort> makeEngineParticleSystem();

// The engine system inside, for checks and direct stepping.
KLParticleSystem* engineSystemOf(ParticleSystemPort& port);

} // namespace emberly
