#include "Emitter.h"

#include <korlith3d/KLEngine.h>
#include <korlith3d/KLGlobals.h>
#include <korlith3d/KLMath.h>

#include <cmath>

namespace kldemo {
namespace {

// Whole degrees of an angle, halves to the even neighbour, kept within a turn
// with the sign of the value.
float wholeDegrees(double degrees)
{
    return float(std::llround(std::nearbyint(degrees)) % 360);
}

} // namespace

Emitter::Emitter(const EmitterSettings& settings, int alphaMode, std::uint32_t seed)
    : settings_(settings), system_(std::make_unique<KLParticleSystem>()), random_(seed)
{
    KLParticleSystem& s = *system_;
    s.SetBillboardMode(1);
    s.CreateBillboardSystem(settings.Total, 0, float(settings.Size), settings.Position, 0, settings.TextureID);
    s.ParticleSize(float(settings.Size));
    s.SetAlphaBlendingMode(alphaMode, D3DBLEND_SRCALPHA, D3DBLEND_ONE);
    s.SetGravity(float(settings.Gravity), settings.Bounce);
    s.SetGeneratorSpeed(settings.EmittorSpeed);
    s.SetParticleSpeed(settings.Speed);
    s.SetNewParticleHandler([this](float& vx, float& vy, float& vz, float& r, float& g, float& b, float& a,
                                   float& life, std::int32_t& texture) {
        onNewParticle(vx, vy, vz, r, g, b, a, life, texture);
    });
}

D3DVECTOR Emitter::nextVelocity()
{
    const KLMath math;
    const D3DVECTOR& v = settings_.Velocity;
    D3DVECTOR direction;
    switch (settings_.Style) {
    case 0: direction = v; break;
    case 1:
    case 2: {
        const float x = rnd() * (v.x + 2) - 1;
        const float y = rnd() * (settings_.Style == 1 ? v.y + 4 : v.y - 4) + 2;
        const float z = rnd() * (v.z + 2) - 1;
        direction = {x, y, z};
        break;
    }
    case 3: direction = math.VAdd(math.VSubtract(settings_.Position, system_->GetEmittorPosition()), v); break;
    default: {
        const float x = math.Deg2Rad(rnd() * 361) + v.x;
        const float y = math.Deg2Rad(rnd() * 361) + v.y;
        const float z = math.Deg2Rad(rnd() * 361) + v.z;
        direction = {x, y, z};
    }
    }
    return math.VScale(math.VNormalize(direction), settings_.Power);
}

D3DVECTOR Emitter::nextPosition()
{
    const KLMath math;
    const D3DVECTOR& p = settings_.Position;
    const D3DVECTOR& d = settings_.Distance;
    const auto onCircle = [&](float degrees, bool line) {
        const float a = math.Deg2Rad(degrees);
        return D3DVECTOR{std::sin(a) * d.x + p.x, std::sin(a) * d.y + p.y, (line ? std::sin(a) : std::cos(a)) * d.z + p.z};
    };
    const double ticks = double(KLEngine::TickCount());
    switch (settings_.Motion) {
    case 0: return p;
    case 1: return onCircle(wholeDegrees(settings_.MotionSpeed * ticks), false);
    case 2: return onCircle(wholeDegrees(-(settings_.MotionSpeed * ticks)), false);
    case 3: return onCircle(wholeDegrees(rnd() * 360), false);
    case 4: {
        const float x = std::sin(math.Deg2Rad(rnd() * 360)) * d.x + p.x;
        const float y = std::sin(math.Deg2Rad(rnd() * 360)) * d.y + p.y;
        const float z = std::cos(math.Deg2Rad(rnd() * 360)) * d.z + p.z;
        return {x, y, z};
    }
    case 5: {
        const float a1 = math.Deg2Rad(rnd() * 360);
        const float a2 = math.Deg2Rad(rnd() * 360);
        return {d.x * std::cos(a1) * std::cos(a2) + p.x, d.y * std::sin(a2) + p.y, d.z * std::sin(a1) * std::cos(a2) + p.z};
    }
    case 6: return onCircle(wholeDegrees(rnd() * 360), true);
    default: return system_->GetEmittorPosition();
    }
}

void Emitter::onNewParticle(float& vx, float& vy, float& vz, float& r, float& g, float& b, float& a, float& life,
                            std::int32_t& texture)
{
    life = settings_.Life;
    texture = settings_.TextureID;
    const D3DVECTOR velocity = nextVelocity();
    system_->MoveEmittor(nextPosition());
    vx = velocity.x, vy = velocity.y, vz = velocity.z;
    const D3DCOLORVALUE& c = settings_.Color;
    if (settings_.ColorRnd) {
        r = std::floor((c.r * 255 + 1) * rnd()) / 255;
        g = std::floor((c.g * 255 + 1) * rnd()) / 255;
        b = std::floor((c.b * 255 + 1) * rnd()) / 255;
    } else {
        r = c.r, g = c.g, b = c.b;
    }
    a = c.a;
}

} // namespace kldemo
