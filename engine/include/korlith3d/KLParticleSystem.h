// A billboard particle system: up to `total` particles born at an emitter,
// flying on ballistic paths, bouncing on the ground plane y = 0, fading as they
// age, drawn as camera-facing squares blended over the scene.
//
// What the values mean (all motion is frame-rate independent):
//   ParticleSize       edge length of each square, world units.
//   SetParticleSpeed   the pace of the motion. A particle makes speed × 400
//                      steps per second; its velocity is in world units per
//                      step and gravity acts per step, so doubling the speed
//                      runs the same path in half the time. 0.03 (the editor's
//                      default) is 12 steps per second: a velocity of length 1
//                      covers 12 units per second.
//   SetGravity         gravity takes gravity × 0.05 off the vertical velocity
//                      each step (positive pulls down, negative lifts);
//                      bounce is the share of the vertical speed a particle
//                      keeps when it bounces on y = 0 (0 = it comes to rest
//                      there, 1 = it bounces back as high as it fell).
//   SetGeneratorSpeed  particles per second, born evenly spread in time
//                      while fewer than `total` are alive.
//   LifeTime           seconds a particle lives (the NewParticle out-value).
//   Fading             with KL_CHANGE_ALPHA the alpha, with KL_CHANGE_COLOR red,
//                      green and blue fall in proportion to the life left
//                      (full at birth, nothing at the end); KL_CHANGE_NO keeps
//                      the birth colour.
// So with the editor's defaults (speed 0.03, gravity 2, power 1, life 2 s,
// generator 5) particles leave at 12 units/s, fall back under 14.4 units/s²
// and the generator makes 5 a second; a fountain preset (speed 0.05,
// gravity 3, power 2.5) throws them up about 20 units before they fall and
// bounce; snow (speed 0.02, gravity 1, power 0.2) drifts down at under 2 units/s
// at first and settles on the ground.
//
// The calls as the particle editor passes them, right after creating one:
//   SetBillboardMode(1);
//   CreateBillboardSystem(total, 0, size, Vector3(x, y, z), 0, textureId);
//   ParticleSize(size); SetAlphaBlendingMode(alphaMode, 5, 2);
//   SetGravity(gravity, bounce); SetGeneratorSpeed(speed); SetParticleSpeed(speed)
// and each frame UpdateParticles(68) and RenderParticles().
#pragma once

#include "korlith3d/Export.h"

#include "korlith3d/types.h"

#include <cstdint>
#include <functional>
#include <memory>

namespace kl::core {
class Context;
}

// How a particle fades as it ages (SetAlphaBlendingMode's first argument).
enum KLAlphaChange : int {
    KL_CHANGE_ALPHA = 1,   // alpha falls from the birth alpha to 0
    KL_CHANGE_COLOR = 2,   // red, green and blue fall to 0 (to black)
    KL_CHANGE_NO = 3,      // no change
};

// Direct3D 8 blend factors (D3DBLEND), for SetAlphaBlendingMode. The drawn
// colour is source × sourceBlend + frame × destinationBlend.
enum D3DBLEND : int {
    D3DBLEND_ZERO = 1,
    D3DBLEND_ONE = 2,
    D3DBLEND_SRCCOLOR = 3,
    D3DBLEND_INVSRCCOLOR = 4,
    D3DBLEND_SRCALPHA = 5,
    D3DBLEND_INVSRCALPHA = 6,
    D3DBLEND_DESTALPHA = 7,
    D3DBLEND_INVDESTALPHA = 8,
    D3DBLEND_DESTCOLOR = 9,
    D3DBLEND_INVDESTCOLOR = 10,
    D3DBLEND_SRCALPHASAT = 11,
    D3DBLEND_BOTHSRCALPHA = 12,      // as source: source alpha, and 1 − source alpha for the frame
    D3DBLEND_BOTHINVSRCALPHA = 13,   // as source: 1 − source alpha, and source alpha for the frame
};

// UpdateParticles flags (may be combined; other bits are ignored). Moving and
// ageing always happen.
enum KLUpdateFlags : int {
    KL_UPDATE_KILL_ON_Y0_PLANE = 1,     // a particle reaching y = 0 from above dies (wins over bouncing)
    KL_UPDATE_GENERATOR = 4,            // the generator makes new particles
    KL_UPDATE_SHRINK = 8,               // squares shrink with the life left (full at birth, nothing at the end)
    KL_UPDATE_BOUNCE_ON_Y0_PLANE = 64,  // a particle reaching y = 0 from above bounces (see SetGravity)
};

// One live particle as it is now.
struct KLParticle {
    D3DVECTOR Position;       // world units
    D3DVECTOR Velocity;       // world units per step
    D3DCOLORVALUE Color;      // as born (before fading)
    float Age = 0.0f;         // seconds since birth
    float LifeTime = 0.0f;    // seconds it lives in all
    std::int32_t TextureIndex = 0;
};

class KL_API KLParticleSystem {
public:
    // The NewParticle event: called from inside UpdateParticles once for each
    // particle about to be born, at the emitter's position at that moment. The
    // nine values come in preset — velocity (0, 1, 0), white, life 1 s, the
    // system's texture — and the particle takes whatever the handler leaves
    // in them. The handler may move the emitter (MoveEmittor: the next
    // particle is born there) and read it; it must not call UpdateParticles.
    using NewParticleHandler =
        std::function<void(float& VelocX, float& VelocY, float& VelocZ, float& ColorR, float& ColorG, float& ColorB,
                           float& ColorA, float& LifeTime, std::int32_t& TextureIndex)>;

    KLParticleSystem();   // throws KLERR_NOT_INITIALISED when no KLEngine exists
    ~KLParticleSystem();
    KLParticleSystem(KLParticleSystem&&) noexcept;
    KLParticleSystem& operator=(KLParticleSystem&&) noexcept;
    KLParticleSystem(const KLParticleSystem&) = delete;
    KLParticleSystem& operator=(const KLParticleSystem&) = delete;

    // How the squares turn: 1 face the camera (default), 2 stay upright and
    // turn about the vertical axis only. Others: KLERR_INVALID_CALL.
    void SetBillboardMode(int mode);
    int GetBillboardMode() const;

    // Makes the system anew (no particle alive): at most `total` (1..65535)
    // particles at once, `startParticles` of them (at most total) born at the
    // start of the next UpdateParticles as one burst; squares `size` units
    // across; the emitter at `emitter`; `farToNear` non-zero draws the
    // particles farthest first every frame (what alpha blending needs; 0 keeps
    // birth order, enough for additive blending); the particles' texture
    // (0 = untextured). Out-of-range values: KLERR_INVALID_CALL; an unknown
    // texture: KLERR_UNKNOWN_ID.
    void CreateBillboardSystem(int total, int startParticles, float size, const D3DVECTOR& emitter, int farToNear,
                               int textureId);
    bool IsCreated() const;
    int GetTotal() const;   // 0 before CreateBillboardSystem
    int GetTexture() const;

    // Edge length of the squares in world units (> 0), for live particles too.
    void ParticleSize(float size);
    float ParticleSize() const;

    // The fading (KL_CHANGE_*) and the blend factors (D3DBLEND_*, 1..13).
    // Default: KL_CHANGE_ALPHA with D3DBLEND_SRCALPHA, D3DBLEND_ONE (additive
    // by alpha). Out of range: KLERR_INVALID_CALL.
    void SetAlphaBlendingMode(int mode, int sourceBlend, int destinationBlend);
    int GetAlphaBlendingMode() const;
    int GetSourceBlend() const;
    int GetDestinationBlend() const;

    // Gravity: each step takes gravity × 0.05 units per step off the vertical
    // velocity (positive pulls down); bounce: share of the vertical speed kept
    // at a bounce on y = 0 (>= 0). A negative bounce: KLERR_INVALID_CALL.
    void SetGravity(float gravity, float bounce);
    float GetGravity() const;
    float GetBounce() const;
    // Particles per second (>= 0). Negative: KLERR_INVALID_CALL.
    void SetGeneratorSpeed(float speed);
    float GetGeneratorSpeed() const;
    // The pace: speed × 400 steps per second (>= 0); live particles take it up
    // at once. Negative: KLERR_INVALID_CALL.
    void SetParticleSpeed(float speed);
    float GetParticleSpeed() const;

    // Advances the particles by the time since the previous update (or since
    // CreateBillboardSystem), at most 100 ms, so a pause — an inactive window —
    // does not make them jump: they move and age, the dead ones go, and with
    // KL_UPDATE_GENERATOR new ones are born (raising NewParticle for each).
    // The editor passes 68 = KL_UPDATE_BOUNCE_ON_Y0_PLANE | KL_UPDATE_GENERATOR.
    // Before CreateBillboardSystem it does nothing.
    void UpdateParticles(int flags);
    // The same by exactly `milliseconds` (>= 0), whatever the clock says.
    void UpdateParticles(int flags, float milliseconds);

    // Draws the live particles (between KLEngine::Clear and RenderToScreen),
    // after the opaque scene, blended as SetAlphaBlendingMode says and without
    // writing depth. Throws KLERR_NOT_INITIALISED without Init3DWindowedMode.
    // A particle whose texture has been deleted is drawn untextured.
    void RenderParticles();

    // Where the next particle is born.
    void MoveEmittor(const D3DVECTOR& position);
    D3DVECTOR GetEmittorPosition() const;

    // Particles alive now, and one of them (0 .. count − 1, oldest first;
    // others: KLERR_INVALID_CALL).
    int GetParticleCount() const;
    KLParticle GetParticle(int index) const;

    // Installs (or, with an empty handler, removes) the NewParticle handler;
    // from inside the handler, the new one takes over after this update.
    void SetNewParticleHandler(NewParticleHandler handler);

private:
    struct State;
    std::shared_ptr<kl::core::Context> context_;
    std::unique_ptr<State> state_;
};
