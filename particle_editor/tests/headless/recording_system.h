// A particle system stand-in that records every call the factory makes.
#pragma once

#include "core/ParticleSystemPort.h"

#include <QString>
#include <QStringList>

namespace emberly::test {

class RecordingSystem final : public ParticleSystemPort {
public:
    explicit RecordingSystem(QStringList& log) : log_(log) {}
    void SetBillboardMode(int mode) override { add(QStringLiteral("SetBillboardMode %1").arg(mode)); }
    void CreateBillboardSystem(int total, int start, float size, const D3DVECTOR& e, int farToNear, int tex) override
    {
        add(QStringLiteral("CreateBillboardSystem %1 %2 %3 (%4,%5,%6) %7 %8")
                .arg(total).arg(start).arg(size).arg(e.x).arg(e.y).arg(e.z).arg(farToNear).arg(tex));
        total_ = total;
    }
    void ParticleSize(float size) override { add(QStringLiteral("ParticleSize %1").arg(size)); }
    void SetAlphaBlendingMode(int m, int s, int d) override
    {
        add(QStringLiteral("SetAlphaBlendingMode %1 %2 %3").arg(m).arg(s).arg(d));
    }
    void SetGravity(float g, float b) override { add(QStringLiteral("SetGravity %1 %2").arg(g).arg(b)); }
    void SetGeneratorSpeed(float s) override { add(QStringLiteral("SetGeneratorSpeed %1").arg(s)); }
    void SetParticleSpeed(float s) override { add(QStringLiteral("SetParticleSpeed %1").arg(s)); }
    void UpdateParticles(int flags) override { add(QStringLiteral("UpdateParticles %1").arg(flags)); }
    void RenderParticles() override { add(QStringLiteral("RenderParticles")); }
    void MoveEmittor(const D3DVECTOR& p) override
    {
        emitter = p;
        add(QStringLiteral("MoveEmittor (%1,%2,%3)").arg(p.x).arg(p.y).arg(p.z));
    }
    D3DVECTOR GetEmittorPosition() const override { return emitter; }
    int GetParticleCount() const override { return count; }
    int GetTotal() const override { return total_; }
    void SetNewParticleHandler(KLParticleSystem::NewParticleHandler h) override { handler = std::move(h); }

    // Raises NewParticle as the engine would.
    void raise(float& vx, float& vy, float& vz, float& r, float& g, float& b, float& a, float& life, std::int32_t& tex)
    {
        handler(vx, vy, vz, r, g, b, a, life, tex);
    }

    D3DVECTOR emitter{};
    int count = 0;
    KLParticleSystem::NewParticleHandler handler;

private:
    void add(const QString& line) { log_.append(line); }
    QStringList& log_;
    int total_ = 0;
};

} // namespace emberly::test
