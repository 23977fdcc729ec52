#include "core/clsParticleFactory.h"

#include <korlith3d/KLGlobals.h>

#include <stdexcept>

namespace emberly {

namespace {

template <class T, class U>
void take(T& copy, const std::optional<U>& given)
{
    if (given)
        copy = *given;
}

} // namespace

clsParticleFactory::clsParticleFactory(FactoryEnvironment environment) : environment_(std::move(environment))
{
    // Each factory seeds its own generator from the clock when it is made.
    random_ = environment_.createRandom ? environment_.createRandom() : std::make_unique<ClockSeededRandom>();
}

clsParticleFactory::~clsParticleFactory()
{
    if (particle_)
        particle_->SetNewParticleHandler({});
    particle_.reset();
}

ParticleSystemPort& clsParticleFactory::system() const
{
    if (!particle_)
        throw std::logic_error("the particle factory has no engine system before SetupFactory");
    return *particle_;
}

void clsParticleFactory::Update_Particles(const ParticleArgs& a)
{
    take(velocity_.x, a.sVelX);
    take(velocity_.y, a.sVelY);
    take(velocity_.z, a.sVelZ);
    take(iTotal, a.iTotal);   // stored only: the billboard count is fixed at creation
    take(iSize, a.iSize);
    take(lTextureID, a.lTextureID);
    take(colour_.r, a.sColorR);
    take(colour_.g, a.sColorG);
    take(colour_.b, a.sColorB);
    take(colour_.a, a.sColorA);
    take(bColorRnd, a.bColorRnd);
    take(sLife, a.sLife);
    take(sSpeed, a.sSpeed);
    system().ParticleSize(float(iSize));
    system().SetParticleSpeed(sSpeed);
}

void clsParticleFactory::Update_Emittor(const EmitterArgs& a)
{
    take(position_.x, a.sPosX);
    take(position_.y, a.sPosY);
    take(position_.z, a.sPosZ);
    take(iStyle, a.iStyle);
    take(iMotion, a.iMotion);
    take(distance_.x, a.sDistX);
    take(distance_.y, a.sDistY);
    take(distance_.z, a.sDistZ);
    take(sEmitSpeed, a.sEmitSpeed);
    take(sEmitPower, a.sEmitPower);
    take(iEmitGravity, a.iEmitGravity);
    take(sEmitBounce, a.sEmitBounce);
    take(sMotionSpeed, a.sMotionSpeed);
    system().SetGravity(float(iEmitGravity), sEmitBounce);
    system().SetGeneratorSpeed(sEmitSpeed);
}

void clsParticleFactory::Update()
{
    system().UpdateParticles(kUpdateFlags);
}

void clsParticleFactory::Render()
{
    system().RenderParticles();
}

void clsParticleFactory::SetupFactory(float sPosX, float sPosY, float sPosZ, float sEmitSpeed_, float sEmitPower_,
                                      qint16 iEmitGravity_, float sEmitBounce_, float sVelX, float sVelY, float sVelZ,
                                      qint16 iStyle_, qint16 iMotion_, float sDistX, float sDistY, float sDistZ,
                                      qint16 iTotal_, qint16 iSize_, qint32 lTextureID_, float sColorR, float sColorG,
                                      float sColorB, float sColorA, float bColorRnd_, float sLife_, float sSpeed_,
                                      float sMotionSpeed_)
{
    const KLGlobals globals;
    position_ = globals.Vector3(sPosX, sPosY, sPosZ);
    sEmitSpeed = sEmitSpeed_;
    sEmitPower = sEmitPower_;
    iEmitGravity = iEmitGravity_;
    sEmitBounce = sEmitBounce_;
    velocity_ = globals.Vector3(sVelX, sVelY, sVelZ);
    iStyle = iStyle_;
    iMotion = iMotion_;
    distance_ = {sDistX, sDistY, sDistZ};
    iTotal = iTotal_;
    iSize = iSize_;
    lTextureID = lTextureID_;
    colour_ = globals.DXColor(sColorR, sColorG, sColorB, sColorA);
    bColorRnd = bColorRnd_;
    sLife = sLife_;
    sSpeed = sSpeed_;
    sMotionSpeed = sMotionSpeed_;

    // A new system replaces (and releases) the earlier one.
    if (particle_)
        particle_->SetNewParticleHandler({});
    particle_ = environment_.createSystem();
    ParticleSystemPort& p = *particle_;
    p.SetBillboardMode(1);
    p.CreateBillboardSystem(iTotal, 0, float(iSize), position_, 0, lTextureID);
    p.ParticleSize(float(iSize));
    p.SetAlphaBlendingMode(environment_.alphaMode ? environment_.alphaMode() : 1, D3DBLEND_SRCALPHA, D3DBLEND_ONE);
    p.SetGravity(float(iEmitGravity), sEmitBounce);
    p.SetGeneratorSpeed(sEmitSpeed);
    p.SetParticleSpeed(sSpeed);
    p.SetNewParticleHandler([this](float& vx, float& vy, float& vz, float& r, float& g, float& b, float& a,
                                   float& life, std::int32_t& texture) {
        Particle_NewParticle(vx, vy, vz, r, g, b, a, life, texture);
    });
}

void clsParticleFactory::Particle_NewParticle(float& VelocX, float& VelocY, float& VelocZ, float& ColorR,
                                              float& ColorG, float& ColorB, float& ColorA, float& LifeTime,
                                              std::int32_t& TextureIndex)
{
    LifeTime = sLife;
    TextureIndex = lTextureID;
    // The implode style aims from where the emitter is now, before it moves.
    const D3DVECTOR emitterNow = iStyle == 3 ? system().GetEmittorPosition() : D3DVECTOR{};
    newVelocity_ = startVelocity(iStyle, velocity_, position_, emitterNow, sEmitPower, *random_);
    const MotionInput motion{position_, distance_, sMotionSpeed,
                             environment_.tickCount ? environment_.tickCount() : 0};
    if (const std::optional<D3DVECTOR> moved = motionPosition(iMotion, motion, *random_))
        system().MoveEmittor(*moved);
    VelocX = newVelocity_.x;
    VelocY = newVelocity_.y;
    VelocZ = newVelocity_.z;
    const D3DCOLORVALUE colour = bColorRnd != 0 ? randomColour(colour_, *random_) : colour_;
    ColorR = colour.r;
    ColorG = colour.g;
    ColorB = colour.b;
    ColorA = colour.a;
}

ParticleSettings clsParticleFactory::particleCopy() const
{
    ParticleSettings s;
    s.Total = iTotal;
    s.Size = iSize;
    s.TextureID = lTextureID;
    s.Color = colour_;
    s.ColorRnd = bColorRnd;
    s.Life = sLife;
    s.Velocity = velocity_;
    s.Speed = sSpeed;
    return s;
}

EmitterSettings clsParticleFactory::emitterCopy() const
{
    EmitterSettings s;
    s.Position = position_;
    s.Gravity = iEmitGravity;
    s.Bounce = sEmitBounce;
    s.Power = sEmitPower;
    s.EmittorSpeed = sEmitSpeed;
    s.Style = iStyle;
    s.Motion = iMotion;
    s.Distance = distance_;
    s.MotionSpeed = sMotionSpeed;
    return s;
}

void applyEmitter(clsParticleFactory& factory, const ParticleSettings& p, const EmitterSettings& e)
{
    factory.Update_Emittor({e.Position.x, e.Position.y, e.Position.z, e.Style, e.Motion, e.Distance.x, e.Distance.y,
                            e.Distance.z, e.EmittorSpeed, e.Power, e.Gravity, e.Bounce, e.MotionSpeed});
    factory.Update_Particles({p.Velocity.x, p.Velocity.y, p.Velocity.z, p.Total, p.Size, p.TextureID, p.Color.r,
                              p.Color.g, p.Color.b, p.Color.a, p.ColorRnd, p.Life, p.Speed});
}

void setupFactoryFrom(clsParticleFactory& factory, const ParticleSettings& p, const EmitterSettings& e)
{
    factory.SetupFactory(e.Position.x, e.Position.y, e.Position.z, e.EmittorSpeed, e.Power, e.Gravity, e.Bounce,
                         p.Velocity.x, p.Velocity.y, p.Velocity.z, e.Style, e.Motion, e.Distance.x, e.Distance.y,
                         e.Distance.z, p.Total, p.Size, p.TextureID, p.Color.r, p.Color.g, p.Color.b, p.Color.a,
                         p.ColorRnd, p.Life, p.Speed, e.MotionSpeed);
}

} // namespace emberly
