// The rules the particle factory answers each new particle with: its start
// velocity by style, the emitter's next position by motion, and the random
// colour. All arithmetic in single precision, as the engine's.
#pragma once

#include <korlith3d/types.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <random>

namespace emberly {

// Uniform draws in [0, 1).
class RandomSource {
public:
    virtual ~RandomSource() = default;
    virtual float next() = 0;
};

// A Mersenne twister seeded from the clock when made (or from `seed`).
class ClockSeededRandom final : public RandomSource {
public:
    ClockSeededRandom();
    explicit ClockSeededRandom(std::uint32_t seed);
    float next() override;

private:
    std::mt19937 engine_;
};

// Whole number nearest to x, halves to the even neighbour.
std::int64_t nearest(double x);
// Remainder that keeps the sign of the dividend (-500 mod 360 = -140).
std::int64_t modKeepingSign(std::int64_t dividend, std::int64_t divisor);
float deg2Rad(float degrees);

// Velocity styles: 0 beam, 1 spray, 2 burst, 3 implode, others any direction.
// The unnormalised vector; `emitterNow` is the system's emitter position
// before this particle moves it (style 3 only).
D3DVECTOR rawVelocity(int style, const D3DVECTOR& velocity, const D3DVECTOR& position,
                      const D3DVECTOR& emitterNow, RandomSource& rnd);
// rawVelocity normalised and scaled to `power`.
D3DVECTOR startVelocity(int style, const D3DVECTOR& velocity, const D3DVECTOR& position,
                        const D3DVECTOR& emitterNow, float power, RandomSource& rnd);

// Motion paths 0..6 about `position`; nothing for any other motion (the
// emitter stays). `tick` is the engine's millisecond tick count.
struct MotionInput {
    D3DVECTOR position;
    D3DVECTOR distance;
    float motionSpeed = 0;
    std::int32_t tick = 0;
};
std::optional<D3DVECTOR> motionPosition(int motion, const MotionInput& input, RandomSource& rnd);

// The angle in whole degrees motions 1 and 2 use at `tick`.
std::int64_t cycleDegrees(float motionSpeed, std::int32_t tick, bool reverse);

// Each of R, G, B a random multiple of 1/255 from 0 to the channel; A kept.
D3DCOLORVALUE randomColour(const D3DCOLORVALUE& colour, RandomSource& rnd);

} // namespace emberly
