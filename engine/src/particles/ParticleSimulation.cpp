#include "particles/ParticleSimulation.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <utility>

namespace kl::particles {
namespace {

// Bounces on one update beyond which a particle is taken as lying on the ground.
constexpr int MaxBouncesPerMove = 16;
// Vertical speed (units per step) below which a bounce ends in rest.
constexpr double RestingSpeed = 1e-4;
// Rounding allowance of the generator's count, so 100 steps of 10 ms owe
// exactly what one step of a second does.
constexpr double CountSlack = 1e-6;

bool resting(double y, double vy, double pull)
{
    return y == 0.0 && vy <= 0.0 && pull >= 0.0;
}

// Steps until the path y(s) = y + vy·s − pull·s²/2, starting at y ≥ 0, first
// reaches the ground going down; none within `limit` steps.
std::optional<double> groundContact(double y, double vy, double pull, double limit)
{
    std::optional<double> steps;
    if (pull > 0.0) {
        steps = (vy + std::sqrt(vy * vy + 2.0 * pull * y)) / pull;
        if (*steps == 0.0 && vy >= 0.0)
            steps.reset();
    } else if (pull == 0.0) {
        if (vy < 0.0)
            steps = -y / vy;
    } else if (vy < 0.0) {
        const double rise = -pull;   // pulled upwards: it may turn before the ground
        const double discriminant = vy * vy - 2.0 * rise * y;
        if (discriminant >= 0.0)
            steps = (-vy - std::sqrt(discriminant)) / rise;
    }
    if (steps && *steps > limit)
        steps.reset();
    return steps;
}

} // namespace

bool moveParticle(Particle& particle, double steps, double pull, double bounce, unsigned flags)
{
    particle.position.x += float(double(particle.velocity.x) * steps);
    particle.position.z += float(double(particle.velocity.z) * steps);
    double y = particle.position.y;
    double vy = particle.velocity.y;
    const bool ground = (flags & (KillOnGround | BounceOnGround)) != 0;
    double left = steps;
    for (int bounces = 0;; ++bounces) {
        if (ground && resting(y, vy, pull)) {
            vy = 0.0;
            break;
        }
        const std::optional<double> contact = ground && y >= 0.0 ? groundContact(y, vy, pull, left) : std::nullopt;
        if (!contact) {
            y += vy * left - 0.5 * pull * left * left;
            vy -= pull * left;
            break;
        }
        const double impact = vy - pull * *contact;   // vertical speed on arrival, downwards
        y = 0.0;
        if (flags & KillOnGround) {
            particle.position.y = 0.0f;
            return false;
        }
        left -= *contact;
        vy = -impact * bounce;
        if (vy < RestingSpeed || bounces + 1 >= MaxBouncesPerMove)
            vy = 0.0;
    }
    particle.position.y = float(y);
    particle.velocity.y = float(vy);
    return true;
}

void ParticleSimulation::reset(int capacity, glm::vec3 emitterPosition)
{
    capacity_ = std::max(0, capacity);
    emitter = emitterPosition;
    generatorCarry_ = 0.0;
    particles_.clear();
    particles_.reserve(std::size_t(capacity_));
}

void ParticleSimulation::advance(double seconds, unsigned flags, const BirthHandler& onBirth)
{
    seconds = std::max(0.0, seconds);
    moveAll(seconds, flags);

    const int burst = std::exchange(pendingBurst, 0);
    for (int i = 0; i < burst; ++i)
        bear(seconds, flags, onBirth);
    if (!(flags & Generate) || seconds == 0.0)
        return;
    const double rate = generatorSpeed;
    const double carried = generatorCarry_;
    const int births = generatorBirths(seconds);
    for (int i = 0; i < births; ++i) {
        // The moment inside the interval at which the generator owed this particle.
        const double bornAt = rate > 0.0 ? std::clamp((double(i + 1) - carried) / rate, 0.0, seconds) : seconds;
        bear(seconds - bornAt, flags, onBirth);
    }
}

int ParticleSimulation::generatorBirths(double seconds)
{
    const double owed = generatorCarry_ + std::max(0.0, generatorSpeed) * seconds;
    const double births = std::floor(owed + CountSlack);
    generatorCarry_ = std::max(0.0, owed - births);
    return int(births);
}

void ParticleSimulation::moveAll(double seconds, unsigned flags)
{
    const double steps = std::max(0.0, motion.speed) * StepsPerSpeed * seconds;
    const double pull = motion.gravity * GravityPerStep;
    const auto dies = [&](Particle& particle) {
        particle.age += float(seconds);
        if (particle.age >= particle.life)
            return true;
        return !moveParticle(particle, steps, pull, motion.bounce, flags);
    };
    std::erase_if(particles_, dies);
}

void ParticleSimulation::bear(double remainingSeconds, unsigned flags, const BirthHandler& onBirth)
{
    // A particle that would not fit is not made, and the handler not asked.
    if (int(particles_.size()) >= capacity_)
        return;
    Birth birth = defaults;
    const glm::vec3 birthPlace = emitter;   // the handler may move the emitter for the next one
    if (onBirth)
        onBirth(birth);
    Particle particle;
    particle.position = birthPlace;
    particle.velocity = birth.velocity;
    particle.colour = birth.colour;
    particle.life = birth.life;
    particle.texture = birth.texture;
    if (remainingSeconds > 0.0) {
        particle.age = float(remainingSeconds);
        if (particle.age >= particle.life)
            return;
        const double steps = std::max(0.0, motion.speed) * StepsPerSpeed * remainingSeconds;
        if (!moveParticle(particle, steps, motion.gravity * GravityPerStep, motion.bounce, flags))
            return;
    }
    if (!(particle.life > 0.0f))
        return;
    particles_.push_back(particle);
}

} // namespace kl::particles
