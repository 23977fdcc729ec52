// The factory's engine calls and its NewParticle answers, through a recording
// stand-in for the engine system.
#include "core/clsParticleFactory.h"
#include "recording_system.h"

#include <gtest/gtest.h>

namespace emberly {
namespace {

struct FactoryFixture : ::testing::Test {
    FactoryEnvironment environment()
    {
        FactoryEnvironment env;
        env.createSystem = [this] {
            auto system = std::make_unique<test::RecordingSystem>(calls);
            last = system.get();
            ++created;
            return system;
        };
        env.alphaMode = [this] { return alpha; };
        env.tickCount = [this] { return tick; };
        env.createRandom = [] { return std::make_unique<ClockSeededRandom>(5u); };
        return env;
    }

    QStringList calls;
    test::RecordingSystem* last = nullptr;
    int created = 0;
    int alpha = 2;
    std::int32_t tick = 1000;
};

TEST_F(FactoryFixture, SetupFactoryMakesItsEngineCallsInOrder)
{
    clsParticleFactory factory(environment());
    EXPECT_EQ(factory.Particle(), nullptr);
    ParticleSettings p;
    p.Total = 700;
    p.Size = 6;
    p.TextureID = 4;
    EmitterSettings e;
    e.Gravity = 2;
    e.Bounce = 0.5f;
    e.EmittorSpeed = 7;
    setupFactoryFrom(factory, p, e);
    EXPECT_EQ(calls, (QStringList{"SetBillboardMode 1", "CreateBillboardSystem 700 0 6 (0,30,0) 0 4",
                                  "ParticleSize 6", "SetAlphaBlendingMode 2 5 2", "SetGravity 2 0.5",
                                  "SetGeneratorSpeed 7", "SetParticleSpeed 0.03"}));
    // The copies hold every field, in the record's meaning.
    const ParticleSettings copy = factory.particleCopy();
    EXPECT_EQ(copy.Total, 700);
    EXPECT_EQ(copy.TextureID, 4);
    EXPECT_FLOAT_EQ(factory.emitterCopy().Bounce, 0.5f);
    EXPECT_FLOAT_EQ(factory.emitterCopy().MotionSpeed, 0.5f);

    // A second set-up replaces the system.
    setupFactoryFrom(factory, p, e);
    EXPECT_EQ(created, 2);
    EXPECT_EQ(factory.Particle(), last);
}

TEST_F(FactoryFixture, UpdatesReplaceOnlyTheGivenCopiesAndKeepTheTotalOutOfTheEngine)
{
    clsParticleFactory factory(environment());
    setupFactoryFrom(factory, {}, {});
    calls.clear();
    factory.Update_Particles({.iTotal = 50, .iSize = 9});
    EXPECT_EQ(calls, (QStringList{"ParticleSize 9", "SetParticleSpeed 0.03"}));
    EXPECT_EQ(factory.particleCopy().Total, 50);
    EXPECT_EQ(last->GetTotal(), 1000);
    EXPECT_FLOAT_EQ(factory.particleCopy().Life, 2.0f);
    calls.clear();
    factory.Update_Emittor({.sEmitSpeed = 12, .iEmitGravity = -3});
    EXPECT_EQ(calls, (QStringList{"SetGravity -3 0.3", "SetGeneratorSpeed 12"}));
    // The emitter does not move on an update.
    EXPECT_FLOAT_EQ(last->emitter.y, 0.0f);
    calls.clear();
    factory.Update();
    factory.Render();
    EXPECT_EQ(calls, (QStringList{"UpdateParticles 68", "RenderParticles"}));
}

TEST_F(FactoryFixture, NewParticleAnswersWithRecordValuesAndMovesTheEmitter)
{
    clsParticleFactory factory(environment());
    ParticleSettings p;
    p.Life = 3.5f;
    p.TextureID = 3;
    p.Color = {0.2f, 0.4f, 0.6f, 0.8f};
    p.Velocity = {0, 3, 4};
    EmitterSettings e;
    e.Style = 0;
    e.Power = 2;
    e.Motion = 1;
    e.Position = {0, 30, 0};
    e.Distance = {5, 5, 5};
    setupFactoryFrom(factory, p, e);
    float vx = 9, vy = 9, vz = 9, r = 9, g = 9, b = 9, a = 9, life = 9;
    std::int32_t tex = 99;
    last->raise(vx, vy, vz, r, g, b, a, life, tex);
    EXPECT_FLOAT_EQ(life, 3.5f);
    EXPECT_EQ(tex, 3);
    EXPECT_FLOAT_EQ(vy, 1.2f);
    EXPECT_FLOAT_EQ(vz, 1.6f);
    EXPECT_FLOAT_EQ(r, 0.2f);
    EXPECT_FLOAT_EQ(a, 0.8f);
    // Motion 1 at tick 1000 with speed 0.5: 140 degrees.
    EXPECT_NEAR(last->emitter.x, std::sin(140.0f * 3.14159265f / 180.0f) * 5, 1e-4f);

    // Style 3 aims from the emitter where it was before this particle moved it.
    factory.Update_Emittor({.iStyle = 3, .iMotion = 0});
    last->emitter = {0, 30, 10};
    factory.Update_Particles({.sVelX = 0, .sVelY = 0, .sVelZ = 0});
    last->raise(vx, vy, vz, r, g, b, a, life, tex);
    EXPECT_FLOAT_EQ(vz, -2.0f);
    EXPECT_FLOAT_EQ(last->emitter.z, 0.0f);   // then moved back to the position

    // A motion beyond the table leaves the emitter where it is.
    factory.Update_Emittor({.iMotion = 7});
    last->emitter = {4, 5, 6};
    last->raise(vx, vy, vz, r, g, b, a, life, tex);
    EXPECT_FLOAT_EQ(last->emitter.x, 4.0f);
}

TEST_F(FactoryFixture, ApplyEmitterPushesBothRecords)
{
    clsParticleFactory factory(environment());
    setupFactoryFrom(factory, {}, {});
    ParticleSettings p;
    p.Size = 12;
    p.Speed = 0.07f;
    p.ColorRnd = 1;
    EmitterSettings e;
    e.Gravity = -4;
    e.Style = 2;
    e.Distance = {1, 2, 3};
    calls.clear();
    applyEmitter(factory, p, e);
    EXPECT_EQ(calls, (QStringList{"SetGravity -4 0.3", "SetGeneratorSpeed 5", "ParticleSize 12",
                                  "SetParticleSpeed 0.07"}));
    EXPECT_EQ(factory.emitterCopy().Style, 2);
    EXPECT_FLOAT_EQ(factory.emitterCopy().Distance.z, 3.0f);
    EXPECT_FLOAT_EQ(factory.particleCopy().ColorRnd, 1.0f);
}

TEST(EmitterRecordsTest, ResetValuesAndIndexBounds)
{
    EXPECT_EQ(resetParticleSettings().TextureID, 3);
    EXPECT_FLOAT_EQ(resetEmitterSettings(0).Power, 0.25f);
    EXPECT_FLOAT_EQ(resetEmitterSettings(2).Power, 0.75f);
    EXPECT_THROW(resetEmitterSettings(3), std::out_of_range);
    EXPECT_THROW(checkEmitterIndex(-1), std::out_of_range);
}

} // namespace
} // namespace emberly
