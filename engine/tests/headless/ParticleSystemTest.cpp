// Particle systems without a window: the NewParticle handler and what the
// particles carry from it, the generator's rate and limit, gravity, bouncing
// and dying on y = 0, frame-rate independence, the emitter, and the billboard
// squares built for a camera.
#include "EngineTestSupport.h"

#include "korlith3d/KLCamera.h"
#include "korlith3d/KLParticleSystem.h"
#include "korlith3d/KLScene.h"
#include "korlith3d/KLTextureFactory.h"

#include "particles/Billboards.h"

#include <glm/gtc/matrix_transform.hpp>

#include <cmath>
#include <vector>

using kltest::EngineTest;

namespace {

// One NewParticle call as the handler saw it.
struct Call {
    D3DVECTOR emitter;
    float velocX, velocY, velocZ, colorR, colorG, colorB, colorA, lifeTime;
    std::int32_t textureIndex;
};

class ParticleSystemTest : public EngineTest {
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        KLTextureFactory textures;
        flake = textures.CreateTextureFromImage(kltest::testPattern(8, 8), "Flake");
        flare = textures.CreateTextureFromImage(kltest::testPattern(4, 4), "Flare");
    }

    // A system as the editor sets one up: generator speed `generator`, speed
    // `speed`, gravity `gravity` with bounce `bounce`.
    void setUp(KLParticleSystem& system, int total, float generator, float speed, float gravity, float bounce,
               D3DVECTOR emitter = {0, 30, 0}, int startParticles = 0)
    {
        system.SetBillboardMode(1);
        system.CreateBillboardSystem(total, startParticles, 5.0f, emitter, 0, flake);
        system.ParticleSize(5.0f);
        system.SetAlphaBlendingMode(KL_CHANGE_ALPHA, D3DBLEND_SRCALPHA, D3DBLEND_ONE);
        system.SetGravity(gravity, bounce);
        system.SetGeneratorSpeed(generator);
        system.SetParticleSpeed(speed);
    }

    // A handler that logs every call and hands out numbered values: velocity
    // (0.1·i, 0.5, −0.2), colour (0.1, 0.2, 0.3, 0.4), life 5 + i, texture Flare.
    void recordCalls(KLParticleSystem& system)
    {
        system.SetNewParticleHandler([this, &system](float& vx, float& vy, float& vz, float& r, float& g, float& b,
                                                     float& a, float& life, std::int32_t& texture) {
            const float i = float(calls.size());
            calls.push_back({system.GetEmittorPosition(), vx, vy, vz, r, g, b, a, life, texture});
            vx = 0.1f * i;
            vy = 0.5f;
            vz = -0.2f;
            r = 0.1f, g = 0.2f, b = 0.3f, a = 0.4f;
            life = 5.0f + i;
            texture = flare;
        });
    }

    // Particles that leave with no velocity.
    static void standStill(KLParticleSystem& system)
    {
        system.SetNewParticleHandler([](float& vx, float& vy, float& vz, float&, float&, float&, float&, float& life,
                                        std::int32_t&) {
            vx = vy = vz = 0.0f;
            life = 100.0f;
        });
    }

    int flake = 0;
    int flare = 0;
    std::vector<Call> calls;
};

TEST_F(ParticleSystemTest, EachBornParticleRaisesNewParticleOnceAndCarriesItsOutValues)
{
    KLParticleSystem system;
    setUp(system, 100, 40.0f, 0.05f, 0.0f, 0.0f, {1, 2, 3});
    recordCalls(system);
    system.UpdateParticles(KL_UPDATE_GENERATOR, 100.0f);   // 40 per second for 0.1 s

    ASSERT_EQ(calls.size(), 4u);
    ASSERT_EQ(system.GetParticleCount(), 4);
    // What the handler is offered before it changes anything.
    EXPECT_FLOAT_EQ(calls[0].velocY, 1.0f);
    EXPECT_FLOAT_EQ(calls[0].colorA, 1.0f);
    EXPECT_FLOAT_EQ(calls[0].lifeTime, 1.0f);
    EXPECT_EQ(calls[0].textureIndex, flake);
    for (int i = 0; i < 4; ++i) {
        const KLParticle p = system.GetParticle(i);
        EXPECT_FLOAT_EQ(p.Velocity.x, 0.1f * float(i));
        EXPECT_FLOAT_EQ(p.Velocity.y, 0.5f);
        EXPECT_FLOAT_EQ(p.Velocity.z, -0.2f);
        EXPECT_FLOAT_EQ(p.Color.r, 0.1f);
        EXPECT_FLOAT_EQ(p.Color.b, 0.3f);
        EXPECT_FLOAT_EQ(p.Color.a, 0.4f);
        EXPECT_FLOAT_EQ(p.LifeTime, 5.0f + float(i));
        EXPECT_EQ(p.TextureIndex, flare);
        // Born at 25, 50, 75 and 100 ms, it has moved for the rest of the 100 ms
        // at 0.05 × 400 = 20 steps per second.
        const float age = 0.1f - 0.025f * float(i + 1);
        EXPECT_NEAR(p.Age, age, 1e-5);
        EXPECT_NEAR(p.Position.x, 1.0f + 0.1f * float(i) * 20.0f * age, 1e-5);
        EXPECT_NEAR(p.Position.y, 2.0f + 0.5f * 20.0f * age, 1e-5);
        EXPECT_NEAR(p.Position.z, 3.0f - 0.2f * 20.0f * age, 1e-5);
    }

    // Without the generator flag nothing is born; the particles still move.
    system.UpdateParticles(KL_UPDATE_BOUNCE_ON_Y0_PLANE, 100.0f);
    EXPECT_EQ(calls.size(), 4u);
    EXPECT_NEAR(system.GetParticle(3).Position.y, 2.0f + 0.5f * 2.0f, 1e-5);
    EXPECT_KLERROR(system.GetParticle(4), KLERR_INVALID_CALL, "GetParticle");
}

TEST_F(ParticleSystemTest, NeverMoreThanTotalAliveAndTheHandlerIsNotAskedForParticlesThatDoNotFit)
{
    KLParticleSystem system;
    setUp(system, 10, 400.0f, 0.03f, 0.0f, 0.0f);
    recordCalls(system);
    int most = 0;
    for (int frame = 0; frame < 50; ++frame) {
        system.UpdateParticles(KL_UPDATE_BOUNCE_ON_Y0_PLANE | KL_UPDATE_GENERATOR, 20.0f);
        most = std::max(most, system.GetParticleCount());
    }
    EXPECT_EQ(most, 10);
    EXPECT_EQ(calls.size(), 10u);   // lives of 5 s and more: none has died yet
    EXPECT_EQ(system.GetTotal(), 10);

    // The start burst is born at the first update, generator or not.
    KLParticleSystem burst;
    setUp(burst, 3, 0.0f, 0.03f, 0.0f, 0.0f, {0, 30, 0}, 3);
    burst.UpdateParticles(0, 10.0f);
    EXPECT_EQ(burst.GetParticleCount(), 3);
}

TEST_F(ParticleSystemTest, GeneratorRateAndPathsDoNotDependOnTheFrameRate)
{
    // Two systems, the same values; one updated every 10 ms, one every 50 ms.
    KLParticleSystem fast, slow;
    std::vector<KLParticleSystem*> systems{&fast, &slow};
    for (KLParticleSystem* system : systems) {
        setUp(*system, 1000, 20.0f, 0.05f, 3.0f, 0.4f, {0, 1, 0});   // 20 per second, fountain-like
        int n = 0;
        system->SetNewParticleHandler([n](float& vx, float& vy, float& vz, float&, float&, float&, float&,
                                          float& life, std::int32_t&) mutable {
            vx = 0.1f * float(n % 5);
            vy = 0.8f + 0.05f * float(n % 7);
            vz = -0.05f * float(n % 3);
            life = 3.0f;
            ++n;
        });
    }
    for (int i = 0; i < 100; ++i)
        fast.UpdateParticles(68, 10.0f);
    for (int i = 0; i < 20; ++i)
        slow.UpdateParticles(68, 50.0f);

    ASSERT_EQ(fast.GetParticleCount(), 20);
    ASSERT_EQ(slow.GetParticleCount(), 20);
    for (int i = 0; i < 20; ++i) {
        const KLParticle a = fast.GetParticle(i);
        const KLParticle b = slow.GetParticle(i);
        EXPECT_NEAR(a.Age, b.Age, 1e-4) << i;
        EXPECT_NEAR(a.Position.x, b.Position.x, 1e-3) << i;
        EXPECT_NEAR(a.Position.y, b.Position.y, 1e-3) << i;   // bounces included
        EXPECT_NEAR(a.Position.z, b.Position.z, 1e-3) << i;
        EXPECT_NEAR(a.Velocity.y, b.Velocity.y, 1e-4) << i;
        EXPECT_GE(a.Position.y, 0.0f) << i;
    }
}

TEST_F(ParticleSystemTest, GravityPullsDownAtGravityTimesAFiftiethPerStep)
{
    KLParticleSystem system;
    setUp(system, 10, 0.0f, 0.05f, 2.0f, 0.0f, {0, 30, 0}, 1);   // 20 steps/s, 0.1 units/step² down
    standStill(system);
    system.UpdateParticles(KL_UPDATE_GENERATOR, 250.0f);
    system.UpdateParticles(KL_UPDATE_GENERATOR, 250.0f);   // 10 steps in all
    ASSERT_EQ(system.GetParticleCount(), 1);
    KLParticle p = system.GetParticle(0);
    EXPECT_NEAR(p.Position.y, 30.0f - 0.5f * 0.1f * 100.0f, 1e-4);
    EXPECT_NEAR(p.Velocity.y, -1.0f, 1e-5);

    // Negative gravity lifts; the pace follows a speed change at once.
    system.SetGravity(-2.0f, 0.0f);
    system.SetParticleSpeed(0.1f);   // 40 steps/s: 4 steps in 100 ms
    system.UpdateParticles(0, 100.0f);
    p = system.GetParticle(0);
    EXPECT_NEAR(p.Velocity.y, -1.0f + 0.4f, 1e-5);
    EXPECT_NEAR(p.Position.y, 25.0f - 4.0f + 0.5f * 0.1f * 16.0f, 1e-4);
}

TEST_F(ParticleSystemTest, OnTheGroundPlaneAParticleBouncesWithItsVerticalSpeedScaledOrDiesOrPassesThrough)
{
    // Dropped from y = 1 with 0.1 units/step² down, it reaches the ground after
    // √20 steps at 0.447 units/step; 6 steps (300 ms at 20 steps/s) in all.
    const float impact = std::sqrt(0.2f);
    const float after = 6.0f - std::sqrt(20.0f);
    const auto drop = [&](KLParticleSystem& system, float bounce, int flags) {
        setUp(system, 10, 0.0f, 0.05f, 2.0f, bounce, {0, 1, 0}, 1);
        standStill(system);
        system.UpdateParticles(flags | KL_UPDATE_GENERATOR, 300.0f);
    };

    KLParticleSystem bouncing;
    drop(bouncing, 0.5f, KL_UPDATE_BOUNCE_ON_Y0_PLANE);
    KLParticle p = bouncing.GetParticle(0);
    EXPECT_NEAR(p.Velocity.y, 0.5f * impact - 0.1f * after, 1e-4);
    EXPECT_NEAR(p.Position.y, 0.5f * impact * after - 0.05f * after * after, 1e-4);
    // It climbs back to bounce² of the height it fell from.
    float highest = 0.0f;
    for (int i = 0; i < 200; ++i) {
        bouncing.UpdateParticles(KL_UPDATE_BOUNCE_ON_Y0_PLANE, 5.0f);
        highest = std::max(highest, bouncing.GetParticle(0).Position.y);
        ASSERT_GE(bouncing.GetParticle(0).Position.y, 0.0f);
    }
    EXPECT_NEAR(highest, 0.25f, 0.005f);

    KLParticleSystem resting;   // bounce 0: it stays on the ground
    drop(resting, 0.0f, KL_UPDATE_BOUNCE_ON_Y0_PLANE);
    resting.UpdateParticles(KL_UPDATE_BOUNCE_ON_Y0_PLANE, 100.0f);
    EXPECT_EQ(resting.GetParticle(0).Position.y, 0.0f);
    EXPECT_EQ(resting.GetParticle(0).Velocity.y, 0.0f);

    KLParticleSystem passing;   // no ground flag: it falls on through
    drop(passing, 0.5f, 0);
    EXPECT_NEAR(passing.GetParticle(0).Position.y, 1.0f - 0.05f * 36.0f, 1e-4);

    KLParticleSystem dying;   // the kill flag wins over bouncing
    drop(dying, 0.5f, KL_UPDATE_KILL_ON_Y0_PLANE | KL_UPDATE_BOUNCE_ON_Y0_PLANE);
    EXPECT_EQ(dying.GetParticleCount(), 0);
}

TEST_F(ParticleSystemTest, ParticlesDieAtTheEndOfTheirLife)
{
    KLParticleSystem system;
    setUp(system, 10, 0.0f, 0.03f, 0.0f, 0.0f, {0, 30, 0}, 5);
    system.SetNewParticleHandler([](float&, float&, float&, float&, float&, float&, float&, float& life,
                                    std::int32_t&) { life = 0.2f; });
    system.UpdateParticles(KL_UPDATE_GENERATOR, 150.0f);
    EXPECT_EQ(system.GetParticleCount(), 5);
    EXPECT_NEAR(system.GetParticle(0).Age, 0.15f, 1e-6);
    system.UpdateParticles(KL_UPDATE_GENERATOR, 100.0f);
    EXPECT_EQ(system.GetParticleCount(), 0);
}

TEST_F(ParticleSystemTest, TheEmitterIsWhereTheNextParticleIsBornAndTheHandlerMayMoveIt)
{
    KLParticleSystem system;
    setUp(system, 100, 40.0f, 0.0f, 0.0f, 0.0f, {2, 30, -1});   // speed 0: born particles stay put
    EXPECT_FLOAT_EQ(system.GetEmittorPosition().x, 2.0f);
    system.MoveEmittor({5, 6, 7});
    const D3DVECTOR moved = system.GetEmittorPosition();
    EXPECT_FLOAT_EQ(moved.x, 5.0f);
    EXPECT_FLOAT_EQ(moved.y, 6.0f);
    EXPECT_FLOAT_EQ(moved.z, 7.0f);

    system.SetNewParticleHandler([&system](float&, float&, float&, float&, float&, float&, float&, float& life,
                                           std::int32_t&) {
        const D3DVECTOR at = system.GetEmittorPosition();
        system.MoveEmittor({at.x + 1, at.y, at.z});
        life = 10.0f;
    });
    system.UpdateParticles(KL_UPDATE_GENERATOR, 100.0f);
    ASSERT_EQ(system.GetParticleCount(), 4);
    for (int i = 0; i < 4; ++i)
        EXPECT_FLOAT_EQ(system.GetParticle(i).Position.x, 5.0f + float(i));   // where the emitter was when it was raised
    EXPECT_FLOAT_EQ(system.GetEmittorPosition().x, 9.0f);
}

TEST_F(ParticleSystemTest, ValuesOutOfRangeAreRefused)
{
    KLParticleSystem system;
    system.UpdateParticles(68, 10.0f);   // nothing to do before it is made
    EXPECT_FALSE(system.IsCreated());
    EXPECT_KLERROR(system.CreateBillboardSystem(0, 0, 3, {0, 0, 0}, 0, flake), KLERR_INVALID_CALL, "total");
    EXPECT_KLERROR(system.CreateBillboardSystem(10, 11, 3, {0, 0, 0}, 0, flake), KLERR_INVALID_CALL, "start");
    EXPECT_KLERROR(system.CreateBillboardSystem(10, 0, 0, {0, 0, 0}, 0, flake), KLERR_INVALID_CALL, "size");
    EXPECT_KLERROR(system.CreateBillboardSystem(10, 0, 3, {0, 0, 0}, 0, 77), KLERR_UNKNOWN_ID, "77");
    EXPECT_KLERROR(system.SetBillboardMode(0), KLERR_INVALID_CALL, "SetBillboardMode");
    EXPECT_KLERROR(system.SetAlphaBlendingMode(4, 5, 2), KLERR_INVALID_CALL, "mode 4");
    EXPECT_KLERROR(system.SetAlphaBlendingMode(1, 0, 2), KLERR_INVALID_CALL, "blend 0");
    EXPECT_KLERROR(system.SetAlphaBlendingMode(1, 5, 14), KLERR_INVALID_CALL, "blend 14");
    EXPECT_KLERROR(system.SetGravity(1, -0.1f), KLERR_INVALID_CALL, "bounce");
    EXPECT_KLERROR(system.SetGeneratorSpeed(-1), KLERR_INVALID_CALL, "SetGeneratorSpeed");
    EXPECT_KLERROR(system.SetParticleSpeed(-0.01f), KLERR_INVALID_CALL, "SetParticleSpeed");
    EXPECT_KLERROR(system.ParticleSize(-2), KLERR_INVALID_CALL, "ParticleSize");
    EXPECT_KLERROR(system.RenderParticles(), KLERR_NOT_INITIALISED, "RenderParticles");

    // Every blend factor of the enumeration is taken, and kept.
    for (int blend = D3DBLEND_ZERO; blend <= D3DBLEND_BOTHINVSRCALPHA; ++blend)
        system.SetAlphaBlendingMode(KL_CHANGE_COLOR, blend, D3DBLEND_INVSRCALPHA);
    EXPECT_EQ(system.GetAlphaBlendingMode(), KL_CHANGE_COLOR);
    EXPECT_EQ(system.GetSourceBlend(), D3DBLEND_BOTHINVSRCALPHA);
    EXPECT_EQ(system.GetDestinationBlend(), D3DBLEND_INVSRCALPHA);
}

TEST_F(ParticleSystemTest, AnUpdateFromInsideTheHandlerIsRefusedAndTheSystemGoesOn)
{
    KLParticleSystem system;
    setUp(system, 10, 40.0f, 0.03f, 0.0f, 0.0f);
    bool nested = true;
    system.SetNewParticleHandler([&](float&, float&, float&, float&, float&, float&, float&, float&, std::int32_t&) {
        if (nested)
            system.UpdateParticles(68, 10.0f);
    });
    EXPECT_KLERROR(system.UpdateParticles(68, 100.0f), KLERR_INVALID_CALL, "inside NewParticle");
    nested = false;
    system.UpdateParticles(68, 100.0f);
    EXPECT_GE(system.GetParticleCount(), 4);
}

// --- Billboard squares ---

kl::particles::Particle particleAt(glm::vec3 position, float age = 0.0f, float life = 2.0f, int texture = 1)
{
    kl::particles::Particle p;
    p.position = position;
    p.colour = glm::vec4(0.8f, 0.6f, 0.4f, 1.0f);
    p.age = age;
    p.life = life;
    p.texture = texture;
    return p;
}

TEST(BillboardTest, SquaresFaceTheCameraAroundTheirParticleAtTheGivenSize)
{
    const glm::vec3 eye(20, 35, -40);
    const glm::mat4 view = glm::lookAtLH(eye, glm::vec3(0, 30, 0), glm::vec3(0, 1, 0));
    const std::vector<kl::particles::Particle> particles{particleAt({1, 31, 2}), particleAt({-3, 30, 0})};
    kl::particles::BillboardStyle style;
    style.size = 4.0f;
    kl::gpu::MeshGeometry mesh;
    std::vector<std::int32_t> textures;
    const glm::vec3 centre = kl::particles::buildBillboards(particles, style, view, mesh, textures);
    EXPECT_NEAR(glm::distance(centre, glm::vec3(-1, 30.5f, 1)), 0.0f, 1e-5);
    ASSERT_EQ(mesh.vertices.size(), 8u);
    ASSERT_EQ(mesh.indices.size(), 12u);
    ASSERT_EQ(textures, std::vector<std::int32_t>{1});

    const glm::vec3 toCamera = glm::normalize(eye - glm::vec3(0, 30, 0));
    for (int q = 0; q < 2; ++q) {
        const kl::gpu::Vertex* v = &mesh.vertices[std::size_t(q) * 4];
        const glm::vec3 mid = (v[0].position + v[1].position + v[2].position + v[3].position) / 4.0f;
        EXPECT_NEAR(glm::distance(mid, particles[std::size_t(q)].position), 0.0f, 1e-5);
        EXPECT_NEAR(glm::distance(v[0].position, v[1].position), 4.0f, 1e-5);   // top edge
        EXPECT_NEAR(glm::distance(v[1].position, v[2].position), 4.0f, 1e-5);   // right edge
        EXPECT_NEAR(glm::dot(v[1].position - v[0].position, toCamera), 0.0f, 1e-5);
        EXPECT_NEAR(glm::dot(v[2].position - v[1].position, toCamera), 0.0f, 1e-5);
        // The texture's top-left corner is at the square's top left as seen.
        const glm::vec4 topLeft = view * glm::vec4(v[0].position, 1.0f);
        const glm::vec4 bottomRight = view * glm::vec4(v[2].position, 1.0f);
        EXPECT_LT(topLeft.x, bottomRight.x);
        EXPECT_GT(topLeft.y, bottomRight.y);
        EXPECT_EQ(v[0].uv, glm::vec2(0, 0));
        EXPECT_EQ(v[2].uv, glm::vec2(1, 1));
    }
    for (std::size_t i = 0; i < mesh.indices.size(); ++i)
        EXPECT_LT(mesh.indices[i], 8u);

    // Upright squares keep world up however the camera looks down on them.
    style.facing = kl::particles::Facing::Upright;
    kl::particles::buildBillboards(particles, style, view, mesh, textures);
    const glm::vec3 edge = mesh.vertices[0].position - mesh.vertices[3].position;   // left edge, bottom to top
    EXPECT_NEAR(glm::distance(edge, glm::vec3(0, 4, 0)), 0.0f, 1e-5);
}

TEST(BillboardTest, GroupsByTextureAndOrdersFarToNearWhenAsked)
{
    const glm::mat4 view = glm::lookAtLH(glm::vec3(0, 0, -10), glm::vec3(0, 0, 0), glm::vec3(0, 1, 0));
    const std::vector<kl::particles::Particle> particles{particleAt({0, 0, -5}, 0, 2, 7), particleAt({0, 0, 5}, 0, 2, 3),
                                                        particleAt({0, 0, 9}, 0, 2, 7)};
    kl::particles::BillboardStyle style;
    kl::gpu::MeshGeometry mesh;
    std::vector<std::int32_t> textures;
    kl::particles::buildBillboards(particles, style, view, mesh, textures);
    ASSERT_EQ(textures, (std::vector<std::int32_t>{7, 3}));
    ASSERT_EQ(mesh.groups.size(), 2u);
    EXPECT_EQ(mesh.groups[0].firstIndex, 0u);
    EXPECT_EQ(mesh.groups[0].indexCount, 12u);
    EXPECT_EQ(mesh.groups[1].firstIndex, 12u);
    EXPECT_EQ(mesh.groups[1].indexCount, 6u);
    EXPECT_FLOAT_EQ(mesh.vertices[0].position.z, -5.0f);   // birth order within a texture

    style.farToNear = true;
    kl::particles::buildBillboards(particles, style, view, mesh, textures);
    EXPECT_FLOAT_EQ(mesh.vertices[0].position.z, 9.0f);
    EXPECT_FLOAT_EQ(mesh.vertices[4].position.z, -5.0f);
    EXPECT_FLOAT_EQ(mesh.vertices[8].position.z, 5.0f);
}

TEST(BillboardTest, ParticlesFadeWithTheLifeLeftAsTheModeSays)
{
    const kl::particles::Particle young = particleAt({0, 0, 0}, 0.0f, 2.0f);
    const kl::particles::Particle half = particleAt({0, 0, 0}, 1.0f, 2.0f);
    const kl::particles::Particle old = particleAt({0, 0, 0}, 1.5f, 2.0f);
    using kl::particles::Fade;
    EXPECT_EQ(kl::particles::fadedColour(young, Fade::Alpha), young.colour);
    EXPECT_EQ(kl::particles::fadedColour(half, Fade::Alpha), glm::vec4(0.8f, 0.6f, 0.4f, 0.5f));
    EXPECT_FLOAT_EQ(kl::particles::fadedColour(old, Fade::Alpha).a, 0.25f);
    const glm::vec4 dimmed = kl::particles::fadedColour(half, Fade::Colour);
    EXPECT_FLOAT_EQ(dimmed.r, 0.4f);
    EXPECT_FLOAT_EQ(dimmed.b, 0.2f);
    EXPECT_FLOAT_EQ(dimmed.a, 1.0f);
    EXPECT_EQ(kl::particles::fadedColour(old, Fade::None), old.colour);

    // Shrinking squares: half the size at half the life.
    kl::particles::BillboardStyle style;
    style.size = 4.0f;
    style.shrinkWithAge = true;
    kl::gpu::MeshGeometry mesh;
    std::vector<std::int32_t> textures;
    const std::vector<kl::particles::Particle> one{half};
    kl::particles::buildBillboards(one, style, glm::lookAtLH(glm::vec3(0, 0, -10), glm::vec3(0), glm::vec3(0, 1, 0)),
                                   mesh, textures);
    EXPECT_NEAR(glm::distance(mesh.vertices[0].position, mesh.vertices[1].position), 2.0f, 1e-5);
}

// --- Camera orbit as the particle editor moves it ---

TEST_F(EngineTest, OrbitTurnsKeepTheDistanceAndAMoveTowardsShortensItByTheAmount)
{
    KLScene scene;
    KLCamera camera;
    scene.SetCamera(12, 40, -25, 0, 30, 0);   // about the pole's top
    const D3DVECTOR target = camera.GetLookAt();
    const auto distance = [&] {
        const D3DVECTOR e = camera.GetPosition();
        return std::sqrt((e.x - target.x) * (e.x - target.x) + (e.y - target.y) * (e.y - target.y) +
                         (e.z - target.z) * (e.z - target.z));
    };
    const float start = distance();
    const std::pair<float, float> turns[] = {{0.0f, 7.5f}, {12.0f, -3.0f}, {-20.0f, 40.0f}, {3.0f, 0.0f}};
    for (const auto& [vertical, horizontal] : turns) {
        camera.Orbit(0.0f, vertical, horizontal, true);
        EXPECT_NEAR(distance(), start, 1e-3);
        EXPECT_FLOAT_EQ(camera.GetLookAt().y, 30.0f);
    }
    camera.Orbit(2.5f, 0.0f, 0.0f, true);
    EXPECT_NEAR(distance(), start - 2.5f, 1e-3);

    // The directions of the turns: up, and clockwise seen from above.
    scene.SetCamera(0, 30, -20, 0, 30, 0);
    camera.Orbit(0.0f, 10.0f, 0.0f, true);
    EXPECT_GT(camera.GetPosition().y, 30.0f);
    camera.Orbit(0.0f, 0.0f, 10.0f, true);
    EXPECT_LT(camera.GetPosition().x, 0.0f);
    scene.SetCamera(12, 40, -25, 0, 30, 0);
    camera.Orbit(2.5f, 0.0f, 0.0f, true);
    camera.Orbit(-4.0f, 0.0f, 0.0f, true);   // negative: away
    EXPECT_NEAR(distance(), start + 1.5f, 1e-3);

    // Without keeping the target, the target moves by as much as the camera.
    const D3DVECTOR before = camera.GetPosition();
    camera.Orbit(0.0f, 0.0f, 30.0f, false);
    const D3DVECTOR after = camera.GetPosition();
    EXPECT_NEAR(camera.GetLookAt().x - target.x, after.x - before.x, 1e-3);
    EXPECT_NEAR(camera.GetLookAt().z - target.z, after.z - before.z, 1e-3);
}

} // namespace
