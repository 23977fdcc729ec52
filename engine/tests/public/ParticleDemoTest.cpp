// The particle demo's preset reading and emitter rules, through the public
// library as a tool uses it: the shipped presets come in as the editor scales
// them, and the handler's velocities and emitter positions follow its styles
// and motion paths.
#include "demo/Emitter.h"
#include "demo/Presets.h"

#include <korlith3d/KLEngine.h>
#include <korlith3d/KLMath.h>

#include <gtest/gtest.h>

#include <cmath>

namespace {

const QString ShippedPresets = QStringLiteral(KL_SHIPPED_PRESETS);

TEST(ParticleDemo, ShippedPresetsReadWithTheEditorsScales)
{
    EXPECT_EQ(kldemo::presetNames(ShippedPresets),
              (QStringList{"Fire", "Smoke", "Snow", "Fountain", "Bubbles"}));
    const auto fire = kldemo::loadPreset(ShippedPresets, QStringLiteral("fire"));   // names without regard to case
    ASSERT_TRUE(fire);
    const kldemo::EmitterSettings& flames = (*fire)[0];
    EXPECT_EQ(flames.Size, 10);
    EXPECT_EQ(flames.TextureID, 3);
    EXPECT_FLOAT_EQ(flames.Life, 1.0f);          // stored × 100
    EXPECT_FLOAT_EQ(flames.Speed, 0.05f);        // stored × 100
    EXPECT_FLOAT_EQ(flames.Power, 0.4f);         // stored × 100
    EXPECT_FLOAT_EQ(flames.Color.g, 110.0f / 255.0f);
    EXPECT_FLOAT_EQ(flames.Velocity.y, -2.0f);
    EXPECT_FLOAT_EQ(flames.EmittorSpeed, 20.0f);
    EXPECT_EQ(flames.Motion, 3);
    EXPECT_TRUE((*fire)[1].ColorRnd);
    const auto snow = kldemo::loadPreset(ShippedPresets, QStringLiteral("Snow"));
    ASSERT_TRUE(snow);
    EXPECT_FALSE((*snow)[2].Enabled);
    EXPECT_FLOAT_EQ((*snow)[0].Bounce, 0.0f);
    EXPECT_FALSE(kldemo::loadPreset(ShippedPresets, QStringLiteral("Rain")));
}

TEST(ParticleDemo, VelocitiesFollowTheStyleAndTheEmitterItsPath)
{
    KLEngine engine;
    kldemo::EmitterSettings settings;
    settings.TextureID = 0;
    settings.Power = 2.5f;
    settings.Position = {0, 30, 0};
    settings.Distance = {10, 2, 10};
    settings.Motion = 5;   // random sphere
    kldemo::Emitter spray(settings, KL_CHANGE_ALPHA, 7);
    const KLMath math;
    for (int i = 0; i < 200; ++i) {
        const D3DVECTOR v = spray.nextVelocity();
        EXPECT_NEAR(math.VLength(v), 2.5f, 1e-4);
        // Spray: y of the unnormalised direction in [2, 6), x and z in [-1, 1).
        EXPECT_GT(v.y, 2.5f * 2.0f / std::sqrt(2.0f + 36.0f));
        const D3DVECTOR p = spray.nextPosition();
        EXPECT_LE(std::abs(p.x), 10.0f + 1e-4f);
        EXPECT_LE(std::abs(p.y - 30.0f), 2.0f + 1e-4f);
    }

    settings.Style = 3;   // implode: towards the centre of the path
    settings.Motion = 0;
    kldemo::Emitter implode(settings, KL_CHANGE_ALPHA, 7);
    implode.system().MoveEmittor({10, 30, 0});
    const D3DVECTOR in = implode.nextVelocity();
    EXPECT_NEAR(in.x, -2.5f, 1e-4);
    EXPECT_NEAR(in.y, 0.0f, 1e-4);
    EXPECT_FLOAT_EQ(implode.nextPosition().x, 0.0f);   // stationary: the centre itself

    // The handler raised from the update: the particle carries the settings.
    implode.system().SetGeneratorSpeed(10.0f);
    implode.system().UpdateParticles(KL_UPDATE_GENERATOR, 100.0f);
    ASSERT_EQ(implode.system().GetParticleCount(), 1);
    EXPECT_FLOAT_EQ(implode.system().GetParticle(0).LifeTime, settings.Life);
    EXPECT_FLOAT_EQ(implode.system().GetEmittorPosition().x, 0.0f);
}

} // namespace
