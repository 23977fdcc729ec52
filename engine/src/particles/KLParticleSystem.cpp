#include "korlith3d/KLParticleSystem.h"

#include "core/Context.h"
#include "gpu/Renderer.h"
#include "particles/Billboards.h"
#include "particles/ParticleSimulation.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <unordered_map>
#include <vector>

using kl::particles::Birth;
using Clock = std::chrono::steady_clock;

struct KLParticleSystem::State {
    kl::particles::ParticleSimulation simulation;
    kl::particles::BillboardStyle style;
    bool created = false;
    int texture = 0;
    int alphaMode = KL_CHANGE_ALPHA;
    int sourceBlend = D3DBLEND_SRCALPHA;
    int destinationBlend = D3DBLEND_ONE;
    NewParticleHandler handler;
    bool updating = false;   // inside UpdateParticles (the handler runs then)
    NewParticleHandler waitingHandler;   // installed from inside the handler
    bool handlerWaits = false;
    Clock::time_point lastUpdate;
    kl::gpu::MeshGeometry geometry;   // the squares, rewritten at every render
    std::vector<std::int32_t> groupTextures;
    // The visible part of each sprite under the blend mode it was last drawn with.
    struct Footprint {
        kl::gpu::ResourceId resource = 0;
        std::uint32_t revision = 0;
        kl::particles::SpriteCoverage coverage = kl::particles::SpriteCoverage::Everything;
        kl::particles::SpriteFootprint footprint;
    };
    std::unordered_map<std::int32_t, Footprint> footprints;
};

namespace {

constexpr int MaxTotal = 65535;

D3DVECTOR toD3D(const glm::vec3& v)
{
    return {v.x, v.y, v.z};
}

// Runs the owner's handler on a birth's values, as the nine out-values.
void raiseNewParticle(const KLParticleSystem::NewParticleHandler& handler, Birth& birth)
{
    handler(birth.velocity.x, birth.velocity.y, birth.velocity.z, birth.colour.r, birth.colour.g, birth.colour.b,
            birth.colour.a, birth.life, birth.texture);
}

// Clears a flag when the scope ends, also by an exception from the handler.
class ScopedFlag {
public:
    explicit ScopedFlag(bool& flag) : flag_(flag) { flag_ = true; }
    ~ScopedFlag() { flag_ = false; }
    ScopedFlag(const ScopedFlag&) = delete;
    ScopedFlag& operator=(const ScopedFlag&) = delete;

private:
    bool& flag_;
};

} // namespace

KLParticleSystem::KLParticleSystem()
    : context_(kl::core::Context::current()), state_(std::make_unique<State>())
{
    state_->geometry.id = context_->resources().newResourceId();
    state_->geometry.streamed = true;
    state_->lastUpdate = Clock::now();
}

KLParticleSystem::~KLParticleSystem()
{
    // Items of this frame may still point at the squares: the renderer draws
    // them before the geometry goes.
    if (state_)
        context_->rendering().release(state_->geometry.id);
}

KLParticleSystem::KLParticleSystem(KLParticleSystem&&) noexcept = default;

KLParticleSystem& KLParticleSystem::operator=(KLParticleSystem&& other) noexcept
{
    if (this != &other) {
        if (state_)
            context_->rendering().release(state_->geometry.id);
        context_ = std::move(other.context_);
        state_ = std::move(other.state_);
    }
    return *this;
}

void KLParticleSystem::SetBillboardMode(int mode)
{
    if (mode != 1 && mode != 2)
        context_->fail(KLERR_INVALID_CALL, QStringLiteral("SetBillboardMode: mode %1 is not 1 or 2").arg(mode));
    state_->style.facing = kl::particles::Facing(mode);
}

int KLParticleSystem::GetBillboardMode() const
{
    return int(state_->style.facing);
}

void KLParticleSystem::CreateBillboardSystem(int total, int startParticles, float size, const D3DVECTOR& emitter,
                                             int farToNear, int textureId)
{
    if (total < 1 || total > MaxTotal)
        context_->fail(KLERR_INVALID_CALL,
                       QStringLiteral("CreateBillboardSystem: total %1 is not within 1..%2").arg(total).arg(MaxTotal));
    if (startParticles < 0 || startParticles > total)
        context_->fail(KLERR_INVALID_CALL, QStringLiteral("CreateBillboardSystem: %1 start particles for a total of %2")
                                               .arg(startParticles)
                                               .arg(total));
    if (!(size > 0.0f) || !std::isfinite(size))
        context_->fail(KLERR_INVALID_CALL, QStringLiteral("CreateBillboardSystem: size %1 is not positive").arg(size));
    if (textureId != 0 && !context_->resources().textures.find(textureId))
        context_->fail(KLERR_UNKNOWN_ID, QStringLiteral("CreateBillboardSystem: no texture with id %1").arg(textureId));
    State& s = *state_;
    s.simulation.reset(total, {emitter.x, emitter.y, emitter.z});
    s.simulation.pendingBurst = startParticles;
    s.simulation.defaults.texture = textureId;
    s.style.size = size;
    s.style.farToNear = farToNear != 0;
    s.texture = textureId;
    s.created = true;
    s.lastUpdate = Clock::now();
}

bool KLParticleSystem::IsCreated() const
{
    return state_->created;
}

int KLParticleSystem::GetTotal() const
{
    return state_->simulation.capacity();
}

int KLParticleSystem::GetTexture() const
{
    return state_->texture;
}

void KLParticleSystem::ParticleSize(float size)
{
    if (!(size > 0.0f) || !std::isfinite(size))
        context_->fail(KLERR_INVALID_CALL, QStringLiteral("ParticleSize: size %1 is not positive").arg(size));
    state_->style.size = size;
}

float KLParticleSystem::ParticleSize() const
{
    return state_->style.size;
}

void KLParticleSystem::SetAlphaBlendingMode(int mode, int sourceBlend, int destinationBlend)
{
    if (mode < KL_CHANGE_ALPHA || mode > KL_CHANGE_NO)
        context_->fail(KLERR_INVALID_CALL, QStringLiteral("SetAlphaBlendingMode: mode %1 is not 1, 2 or 3").arg(mode));
    for (const int blend : {sourceBlend, destinationBlend})
        if (blend < D3DBLEND_ZERO || blend > D3DBLEND_BOTHINVSRCALPHA)
            context_->fail(KLERR_INVALID_CALL,
                           QStringLiteral("SetAlphaBlendingMode: blend %1 is not a D3DBLEND value (1..13)").arg(blend));
    state_->alphaMode = mode;
    state_->sourceBlend = sourceBlend;
    state_->destinationBlend = destinationBlend;
    state_->style.fade = kl::particles::Fade(mode);
}

int KLParticleSystem::GetAlphaBlendingMode() const
{
    return state_->alphaMode;
}

int KLParticleSystem::GetSourceBlend() const
{
    return state_->sourceBlend;
}

int KLParticleSystem::GetDestinationBlend() const
{
    return state_->destinationBlend;
}

void KLParticleSystem::SetGravity(float gravity, float bounce)
{
    if (!std::isfinite(gravity) || !(bounce >= 0.0f) || !std::isfinite(bounce))
        context_->fail(KLERR_INVALID_CALL,
                       QStringLiteral("SetGravity: gravity %1 with bounce %2 (bounce must not be negative)")
                           .arg(gravity)
                           .arg(bounce));
    state_->simulation.motion.gravity = gravity;
    state_->simulation.motion.bounce = bounce;
}

float KLParticleSystem::GetGravity() const
{
    return float(state_->simulation.motion.gravity);
}

float KLParticleSystem::GetBounce() const
{
    return float(state_->simulation.motion.bounce);
}

void KLParticleSystem::SetGeneratorSpeed(float speed)
{
    if (!(speed >= 0.0f) || !std::isfinite(speed))
        context_->fail(KLERR_INVALID_CALL, QStringLiteral("SetGeneratorSpeed: %1 is negative").arg(speed));
    state_->simulation.generatorSpeed = speed;
}

float KLParticleSystem::GetGeneratorSpeed() const
{
    return float(state_->simulation.generatorSpeed);
}

void KLParticleSystem::SetParticleSpeed(float speed)
{
    if (!(speed >= 0.0f) || !std::isfinite(speed))
        context_->fail(KLERR_INVALID_CALL, QStringLiteral("SetParticleSpeed: %1 is negative").arg(speed));
    state_->simulation.motion.speed = speed;
}

float KLParticleSystem::GetParticleSpeed() const
{
    return float(state_->simulation.motion.speed);
}

void KLParticleSystem::UpdateParticles(int flags)
{
    const Clock::time_point now = Clock::now();
    const double seconds = std::chrono::duration<double>(now - state_->lastUpdate).count();
    state_->lastUpdate = now;
    UpdateParticles(flags, float(std::min(seconds, kl::particles::MaxUpdateSeconds) * 1000.0));
}

void KLParticleSystem::UpdateParticles(int flags, float milliseconds)
{
    State& s = *state_;
    if (s.updating)
        context_->fail(KLERR_INVALID_CALL, QStringLiteral("UpdateParticles: called from inside NewParticle"));
    if (!(milliseconds >= 0.0f) || !std::isfinite(milliseconds))
        context_->fail(KLERR_INVALID_CALL, QStringLiteral("UpdateParticles: %1 ms is not a time").arg(milliseconds));
    if (!s.created)
        return;
    {
        const ScopedFlag updating(s.updating);
        kl::particles::ParticleSimulation::BirthHandler onBirth;
        if (s.handler)
            onBirth = [&s](Birth& birth) { raiseNewParticle(s.handler, birth); };
        s.simulation.advance(double(milliseconds) / 1000.0, unsigned(flags), onBirth);
        s.style.shrinkWithAge = (flags & KL_UPDATE_SHRINK) != 0;
    }
    if (s.handlerWaits) {
        s.handler = std::move(s.waitingHandler);
        s.waitingHandler = nullptr;
        s.handlerWaits = false;
    }
}

void KLParticleSystem::RenderParticles()
{
    kl::gpu::Renderer& renderer = context_->requireRenderer(QStringLiteral("RenderParticles"));
    State& s = *state_;
    const std::vector<kl::particles::Particle>& particles = s.simulation.particles();
    if (particles.empty())
        return;
    const kl::gpu::FrameState frame = context_->frameState();
    // Squares are cut to the part of their sprite the blend mode lets show.
    const QSize viewport = context_->rendering().viewportSize();
    kl::particles::SpriteTrimming trimming;
    trimming.pixelsPerUnit = std::min(frame.projection[0][0] * 0.5f * float(viewport.width()),
                                      frame.projection[1][1] * 0.5f * float(viewport.height()));
    const auto coverage = kl::particles::spriteCoverage(kl::gpu::BlendFactor(s.sourceBlend),
                                                        kl::gpu::BlendFactor(s.destinationBlend));
    trimming.footprint = [&](std::int32_t texture) -> const kl::particles::SpriteFootprint* {
        const kl::gpu::TextureData* data = context_->resources().textures.drawData(texture);
        // Pictures the upload would scale down are not trimmed.
        if (!data || data->isBumpMap || data->image.width() > 4096 || data->image.height() > 4096)
            return nullptr;
        State::Footprint& known = s.footprints[texture];
        if (known.resource != data->id || known.revision != data->revision || known.coverage != coverage ||
            known.footprint.width == 0) {
            known = {data->id, data->revision, coverage, kl::particles::spriteFootprint(data->image, coverage)};
        }
        return &known.footprint;
    };
    const glm::vec3 centre =
        kl::particles::buildBillboards(particles, s.style, frame.view, s.geometry, s.groupTextures, &trimming);
    std::vector<kl::gpu::DrawItem> items(s.groupTextures.size());
    for (std::size_t g = 0; g < items.size(); ++g) {
        kl::gpu::DrawItem& item = items[g];
        item.mesh = &s.geometry;
        item.group = int(g);
        item.baseTexture = context_->resources().textures.drawData(s.groupTextures[g]);
        item.lit = false;
        item.useVertexColours = true;
        item.spriteSampling = true;
        item.spriteLevelInVertices =
            kl::particles::trimsSquares(s.style, &trimming, trimming.footprint(s.groupTextures[g]));
        item.blend = kl::gpu::BlendMode::Factors;
        item.sourceFactor = kl::gpu::BlendFactor(s.sourceBlend);
        item.destinationFactor = kl::gpu::BlendFactor(s.destinationBlend);
        item.depthTest = true;
        item.depthWrite = false;
        item.cull = kl::gpu::CullMode::None;
        item.layer = kl::gpu::DrawLayer::Blended;
        item.depthCentre = centre;
    }
    renderer.drawItems(frame, items);
}

void KLParticleSystem::MoveEmittor(const D3DVECTOR& position)
{
    state_->simulation.emitter = {position.x, position.y, position.z};
}

D3DVECTOR KLParticleSystem::GetEmittorPosition() const
{
    return toD3D(state_->simulation.emitter);
}

int KLParticleSystem::GetParticleCount() const
{
    return int(state_->simulation.particles().size());
}

KLParticle KLParticleSystem::GetParticle(int index) const
{
    const auto& particles = state_->simulation.particles();
    if (index < 0 || index >= int(particles.size()))
        context_->fail(KLERR_INVALID_CALL, QStringLiteral("GetParticle: no particle %1 of %2 alive")
                                               .arg(index)
                                               .arg(particles.size()));
    const kl::particles::Particle& p = particles[std::size_t(index)];
    KLParticle particle;
    particle.Position = toD3D(p.position);
    particle.Velocity = toD3D(p.velocity);
    particle.Color = {p.colour.r, p.colour.g, p.colour.b, p.colour.a};
    particle.Age = p.age;
    particle.LifeTime = p.life;
    particle.TextureIndex = p.texture;
    return particle;
}

void KLParticleSystem::SetNewParticleHandler(NewParticleHandler handler)
{
    // Replacing the handler while it runs would destroy it mid-call: the new
    // one takes over when the update ends.
    if (state_->updating) {
        state_->waitingHandler = std::move(handler);
        state_->handlerWaits = true;
        return;
    }
    state_->handler = std::move(handler);
}
