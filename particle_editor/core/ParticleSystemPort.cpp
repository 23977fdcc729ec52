#include "core/ParticleSystemPort.h"

namespace emberly {

namespace {

class EngineParticleSystem final : public ParticleSystemPort {
public:
    void SetBillboardMode(int mode) override { system.SetBillboardMode(mode); }
    void CreateBillboardSystem(int total, int startParticles, float size, const D3DVECTOR& emitter, int farToNear,
                               int textureId) override
    {
        system.CreateBillboardSystem(total, startParticles, size, emitter, farToNear, textureId);
    }
    void ParticleSize(float size) override { system.ParticleSize(size); }
    void SetAlphaBlendingMode(int mode, int sourceBlend, int destinationBlend) override
    {
        system.SetAlphaBlendingMode(mode, sourceBlend, destinationBlend);
    }
    void SetGravity(float gravity, float bounce) override { system.SetGravity(gravity, bounce); }
    void SetGeneratorSpeed(float speed) override { system.SetGeneratorSpeed(speed); }
    void SetParticleSpeed(float speed) override { system.SetParticleSpeed(speed); }
    void UpdateParticles(int flags) override { system.UpdateParticles(flags); }
    void RenderParticles() override { system.RenderParticles(); }
    void MoveEmittor(const D3DVECTOR& position) override { system.MoveEmittor(position); }
    D3DVECTOR GetEmittorPosition() const override { return system.GetEmittorPosition(); }
    int GetParticleCount() const override { return system.GetParticleCount(); }
    int GetTotal() const override { return system.GetTotal(); }
    void SetNewParticleHandler(KLParticleSystem::NewParticleHandler handler) override
    {
        system.SetNewParticleHandler(std::move(handler));
    }

    KLParticleSystem system;
};

} // namespace

std::unique_ptr<ParticleSystemPort> makeEngineParticleSystem()
{
    return std::make_unique<EngineParticleSystem>();
}

KLParticleSystem* engineSystemOf(ParticleSystemPort& port)
{
    auto* engine = dynamic_cast<EngineParticleSystem*>(&port);
    return engine ? &engine->system : nullptr;
}

} // namespace emberly
