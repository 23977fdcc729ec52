// The particle simulation on the CPU: particles moving on exact ballistic
// paths, bouncing on or dying at the plane y = 0, and a generator that makes
// particles at a steady rate. Frame-rate independent: advancing by 50 ms once
// or by 10 ms five times gives the same particles (up to rounding).
//
// Units, as documented for KLParticleSystem:
//   velocity   world units per step; a particle makes speed × StepsPerSpeed
//              steps per second
//   gravity    takes gravity × GravityPerStep off the vertical velocity each step
//   life, age  seconds
//   generator  generatorSpeed particles per second
#pragma once

#include <glm/glm.hpp>

#include <cstdint>
#include <functional>
#include <vector>

namespace kl::particles {

inline constexpr double StepsPerSpeed = 400.0;            // steps per second at speed 1
inline constexpr double GravityPerStep = 0.05;            // units per step, per step and unit of gravity
inline constexpr double MaxUpdateSeconds = 0.1;           // longest time one measured update advances

// The update flags (KL_UPDATE_* of KLParticleSystem.h).
enum UpdateFlag : unsigned {
    KillOnGround = 1u,     // a particle reaching y = 0 from above dies there
    Generate = 4u,         // the generator makes new particles
    ShrinkWithAge = 8u,    // billboards shrink to nothing as they age
    BounceOnGround = 64u,  // a particle reaching y = 0 from above bounces
};

struct Particle {
    glm::vec3 position{0.0f};
    glm::vec3 velocity{0.0f};   // units per step
    glm::vec4 colour{1.0f};     // at birth, RGBA 0..1
    float age = 0.0f;           // seconds since birth
    float life = 1.0f;          // seconds it lives
    std::int32_t texture = 0;   // engine texture id
};

// What a particle about to be born gets; the birth handler may change all of it.
struct Birth {
    glm::vec3 velocity{0.0f, 1.0f, 0.0f};
    glm::vec4 colour{1.0f};
    float life = 1.0f;
    std::int32_t texture = 0;
};

struct Motion {
    double speed = 0.03;          // pace: steps per second / StepsPerSpeed
    double gravity = 0.0;         // positive pulls towards -y
    double bounce = 0.0;          // share of the vertical speed kept at a bounce
};

class ParticleSimulation {
public:
    // Called once per particle about to be born, with the values it would get.
    using BirthHandler = std::function<void(Birth&)>;

    void reset(int capacity, glm::vec3 emitter);
    int capacity() const { return capacity_; }

    Motion motion;
    double generatorSpeed = 0.0;   // particles per second
    Birth defaults;           // what a particle gets before the handler has its say
    glm::vec3 emitter{0.0f};  // where the next particle is born
    int pendingBurst = 0;     // particles born at the start of the next update

    // Advances every particle by `seconds`, removes the dead ones (keeping the
    // others in birth order) and, with UpdateFlag::Generate, makes the
    // generator's particles of that time, each at its own moment inside the
    // interval, so it has already moved for the rest of it. Never more than
    // capacity() particles live; births that do not fit are dropped.
    void advance(double seconds, unsigned flags, const BirthHandler& onBirth);

    const std::vector<Particle>& particles() const { return particles_; }

private:
    void moveAll(double seconds, unsigned flags);
    void bear(double remainingSeconds, unsigned flags, const BirthHandler& onBirth);
    int generatorBirths(double seconds);

    int capacity_ = 0;
    double generatorCarry_ = 0.0;   // part of a particle owed by the generator
    std::vector<Particle> particles_;
};

// Moves one particle along its path for `steps` steps with the vertical
// pull `pull` (units per step per step). Returns false when it died on the
// ground (UpdateFlag::KillOnGround).
bool moveParticle(Particle& particle, double steps, double pull, double bounce, unsigned flags);

} // namespace kl::particles
