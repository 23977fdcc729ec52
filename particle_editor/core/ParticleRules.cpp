#include "core/ParticleRules.h"

#include <korlith3d/KLMath.h>

#include <chrono>
#include <cmath>

namespace emberly {

ClockSeededRandom::ClockSeededRandom()
    : engine_(static_cast<std::uint32_t>(std::chrono::high_resolution_clock::now().time_since_epoch().count()))
{
}

ClockSeededRandom::ClockSeededRandom(std::uint32_t seed) : engine_(seed) {}

float ClockSeededRandom::next()
{
    // 24 random bits: every value is an exact float below 1.
    return float(engine_() >> 8) * (1.0f / 16777216.0f);
}

std::int64_t nearest(double x)
{
    return static_cast<std::int64_t>(std::nearbyint(x));   // default rounding: halves to even
}

std::int64_t modKeepingSign(std::int64_t dividend, std::int64_t divisor)
{
    return dividend % divisor;   // C++ truncates, so the sign follows the dividend
}

float deg2Rad(float degrees)
{
    return KLMath().Deg2Rad(degrees);
}

D3DVECTOR rawVelocity(int style, const D3DVECTOR& velocity, const D3DVECTOR& position,
                      const D3DVECTOR& emitterNow, RandomSource& rnd)
{
    const KLMath math;
    switch (style) {
    case 0:
        return velocity;
    case 1:
    case 2: {
        D3DVECTOR v;
        v.x = rnd.next() * (velocity.x + 2.0f) - 1.0f;
        v.y = rnd.next() * (style == 1 ? velocity.y + 4.0f : velocity.y - 4.0f) + 2.0f;
        v.z = rnd.next() * (velocity.z + 2.0f) - 1.0f;
        return v;
    }
    case 3:
        return math.VAdd(math.VSubtract(position, emitterNow), velocity);
    default: {
        D3DVECTOR v;
        v.x = deg2Rad(rnd.next() * 361.0f) + velocity.x;
        v.y = deg2Rad(rnd.next() * 361.0f) + velocity.y;
        v.z = deg2Rad(rnd.next() * 361.0f) + velocity.z;
        return v;
    }
    }
}

D3DVECTOR startVelocity(int style, const D3DVECTOR& velocity, const D3DVECTOR& position,
                        const D3DVECTOR& emitterNow, float power, RandomSource& rnd)
{
    const KLMath math;
    return math.VScale(math.VNormalize(rawVelocity(style, velocity, position, emitterNow, rnd)), power);
}

std::int64_t cycleDegrees(float motionSpeed, std::int32_t tick, bool reverse)
{
    const float product = motionSpeed * float(tick);
    return modKeepingSign(nearest(reverse ? -product : product), 360);
}

namespace {

D3DVECTOR onPath(float angle, const MotionInput& in, bool sineForZ)
{
    const float s = std::sin(angle);
    const float z = sineForZ ? s : std::cos(angle);
    return {s * in.distance.x + in.position.x, s * in.distance.y + in.position.y,
            z * in.distance.z + in.position.z};
}

float randomAngle(RandomSource& rnd)
{
    return deg2Rad(rnd.next() * 360.0f);
}

} // namespace

std::optional<D3DVECTOR> motionPosition(int motion, const MotionInput& in, RandomSource& rnd)
{
    const D3DVECTOR& p = in.position;
    const D3DVECTOR& d = in.distance;
    switch (motion) {
    case 0:
        return p;
    case 1:
    case 2:
        return onPath(deg2Rad(float(cycleDegrees(in.motionSpeed, in.tick, motion == 2))), in, false);
    case 3:
    case 6:
        return onPath(deg2Rad(float(nearest(double(rnd.next() * 360.0f)))), in, motion == 6);
    case 4: {
        const float x = std::sin(randomAngle(rnd)) * d.x + p.x;
        const float y = std::sin(randomAngle(rnd)) * d.y + p.y;
        const float z = std::cos(randomAngle(rnd)) * d.z + p.z;
        return D3DVECTOR{x, y, z};
    }
    case 5: {
        const float a1 = randomAngle(rnd);
        const float a2 = randomAngle(rnd);
        return D3DVECTOR{d.x * std::cos(a1) * std::cos(a2) + p.x, d.y * std::sin(a2) + p.y,
                         d.z * std::sin(a1) * std::cos(a2) + p.z};
    }
    default:
        return std::nullopt;
    }
}

D3DCOLORVALUE randomColour(const D3DCOLORVALUE& colour, RandomSource& rnd)
{
    const auto channel = [&rnd](float c) { return std::floor((c * 255.0f + 1.0f) * rnd.next()) / 255.0f; };
    D3DCOLORVALUE out;
    out.r = channel(colour.r);
    out.g = channel(colour.g);
    out.b = channel(colour.b);
    out.a = colour.a;
    return out;
}

} // namespace emberly
