// The slider table: every slider shows a record field at its scale and
// moving it stores the field back, velocity and gravity excepted.
#include "core/SliderTable.h"

#include <platform/TextRules.h>

#include <gtest/gtest.h>

#include <set>

namespace emberly {
namespace {

bool same(const D3DVECTOR& a, const D3DVECTOR& b)
{
    return a.x == b.x && a.y == b.y && a.z == b.z;
}
bool sameRecords(const ParticleSettings& a, const ParticleSettings& b)
{
    return a.Total == b.Total && a.Size == b.Size && a.TextureID == b.TextureID && a.Color.r == b.Color.r &&
           a.Color.g == b.Color.g && a.Color.b == b.Color.b && a.Color.a == b.Color.a && a.ColorRnd == b.ColorRnd &&
           a.Life == b.Life && same(a.Velocity, b.Velocity) && a.Speed == b.Speed;
}
bool sameRecords(const EmitterSettings& a, const EmitterSettings& b)
{
    return same(a.Position, b.Position) && a.Gravity == b.Gravity && a.Bounce == b.Bounce && a.Power == b.Power &&
           a.EmittorSpeed == b.EmittorSpeed && a.Style == b.Style && a.Motion == b.Motion &&
           same(a.Distance, b.Distance) && a.MotionSpeed == b.MotionSpeed;
}

TEST(SliderTable, NamesAreUniqueAndFound)
{
    std::set<QString> names;
    for (const SliderRow& row : kSliderRows) {
        EXPECT_TRUE(names.insert(QString::fromLatin1(row.name)).second) << row.name;
        EXPECT_EQ(findSliderRow(QString::fromLatin1(row.name)), &row);
    }
    EXPECT_EQ(findSliderRow(QStringLiteral("sldNothing")), nullptr);
}

// Showing a record and writing the shown position back leaves the record as
// it was, for the start-up and the reset values alike.
TEST(SliderTable, ShownPositionsWriteBackTheSameRecords)
{
    for (int reset = 0; reset < 2; ++reset) {
        const ParticleSettings p0 = reset ? resetParticleSettings() : ParticleSettings{};
        const EmitterSettings e0 = reset ? resetEmitterSettings(1) : EmitterSettings{};
        for (const SliderRow& row : kSliderRows) {
            ParticleSettings p = p0;
            EmitterSettings e = e0;
            const int position = platform::cint(sliderPosition(row, p, e));
            writeSlider(QString::fromLatin1(row.name), position, p, e);
            EXPECT_TRUE(sameRecords(p, p0)) << row.name << " reset " << reset;
            EXPECT_TRUE(sameRecords(e, e0)) << row.name << " reset " << reset;
        }
    }
}

TEST(SliderTable, WritesScaleDownAndReportTheStoredValue)
{
    ParticleSettings p;
    EmitterSettings e;
    EXPECT_EQ(writeSlider(QStringLiteral("sldPartLife"), 35, p, e).tip, "3.500");
    EXPECT_FLOAT_EQ(p.Life, 3.5f);
    writeSlider(QStringLiteral("sldPartSpeed"), 7, p, e);
    EXPECT_FLOAT_EQ(p.Speed, 0.07f);
    writeSlider(QStringLiteral("sldMotionSpeed"), 33, p, e);
    EXPECT_FLOAT_EQ(e.MotionSpeed, 0.33f);
    writeSlider(QStringLiteral("sldPartPower"), 15, p, e);
    EXPECT_FLOAT_EQ(e.Power, 1.5f);
    EXPECT_EQ(writeSlider(QStringLiteral("sldPartSize"), 17, p, e).tip, "17.000");
    EXPECT_EQ(p.Size, 17);
    const SliderWrite distance = writeSlider(QStringLiteral("sldMotionZ"), 12, p, e);
    EXPECT_EQ(distance.tip, "12");
    EXPECT_EQ(e.Distance.z, 12.0f);
    EXPECT_EQ(e.Distance.x, 5.0f);
}

TEST(SliderTable, VelocityGravityAndUnknownSlidersLeaveTheRecords)
{
    ParticleSettings p;
    EmitterSettings e;
    const SliderWrite velocity = writeSlider(QStringLiteral("sldRotY"), -25, p, e);
    EXPECT_EQ(velocity.velocityAxis, 1);
    EXPECT_FLOAT_EQ(velocity.velocity, -2.5f);
    EXPECT_EQ(velocity.tip, "-2.500");
    const SliderWrite gravity = writeSlider(QStringLiteral("sldGravity"), -7, p, e);
    EXPECT_EQ(gravity.tip, "-7.000");
    EXPECT_EQ(gravity.velocityAxis, -1);
    const SliderWrite unknown = writeSlider(QStringLiteral("sldNothing"), 9, p, e);
    EXPECT_TRUE(unknown.tip.isEmpty());
    EXPECT_TRUE(sameRecords(p, ParticleSettings{}));
    EXPECT_TRUE(sameRecords(e, EmitterSettings{}));
}

} // namespace
} // namespace emberly
