// The factory's rules: velocity styles, motion paths, random colour, the
// rounding they use, and the DirectX verdict.
#include "core/DirectXCheck.h"
#include "core/ParticleRules.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <vector>

namespace emberly {
namespace {

// Plays back fixed draws, then repeats the last one.
class FixedDraws final : public RandomSource {
public:
    explicit FixedDraws(std::vector<float> draws) : draws_(std::move(draws)) {}
    float next() override { return draws_.at(std::min(index_++, draws_.size() - 1)); }
    std::size_t used() const { return index_; }

private:
    std::vector<float> draws_;
    std::size_t index_ = 0;
};

float length(const D3DVECTOR& v)
{
    return std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
}

TEST(VelocityStyles, SprayAndBurstStayInTheirBoxes)
{
    ClockSeededRandom rnd(7);
    const D3DVECTOR zero{0, 0, 0};
    float minY1 = 10, maxY1 = -10, minY2 = 10, maxY2 = -10;
    for (int i = 0; i < 20000; ++i) {
        const D3DVECTOR spray = rawVelocity(1, zero, {}, {}, rnd);
        ASSERT_GE(spray.x, -1.0f);
        ASSERT_LT(spray.x, 1.0f);
        ASSERT_GE(spray.z, -1.0f);
        ASSERT_LT(spray.z, 1.0f);
        minY1 = std::min(minY1, spray.y), maxY1 = std::max(maxY1, spray.y);
        const D3DVECTOR burst = rawVelocity(2, zero, {}, {}, rnd);
        minY2 = std::min(minY2, burst.y), maxY2 = std::max(maxY2, burst.y);
    }
    EXPECT_GE(minY1, 2.0f);
    EXPECT_LT(maxY1, 6.0f);
    EXPECT_LT(minY1, 2.01f);   // the whole range is used
    EXPECT_GT(maxY1, 5.99f);
    EXPECT_GT(minY2, -2.0f);
    EXPECT_LE(maxY2, 2.0f);
    EXPECT_LT(minY2, -1.99f);
}

TEST(VelocityStyles, DrawsAreTakenXThenYThenZ)
{
    FixedDraws rnd({0.0f, 0.5f, 0.75f});
    const D3DVECTOR v = rawVelocity(1, {0, 0, 0}, {}, {}, rnd);
    EXPECT_FLOAT_EQ(v.x, -1.0f);
    EXPECT_FLOAT_EQ(v.y, 4.0f);
    EXPECT_FLOAT_EQ(v.z, 0.5f);
}

TEST(VelocityStyles, BeamIsTheVelocityScaledToThePower)
{
    FixedDraws rnd({0.3f});
    const D3DVECTOR v = startVelocity(0, {0, 3, 4}, {}, {}, 2.0f, rnd);
    EXPECT_FLOAT_EQ(v.x, 0.0f);
    EXPECT_FLOAT_EQ(v.y, 1.2f);
    EXPECT_FLOAT_EQ(v.z, 1.6f);
    EXPECT_EQ(rnd.used(), 0u);
    // A zero velocity stays zero (the engine's normalising of a zero vector).
    const D3DVECTOR none = startVelocity(0, {0, 0, 0}, {}, {}, 2.0f, rnd);
    EXPECT_EQ(length(none), 0.0f);
}

TEST(VelocityStyles, ImplodeAimsFromTheEmitterToThePosition)
{
    FixedDraws rnd({0.3f});
    const D3DVECTOR v = rawVelocity(3, {1, 0, 0}, {0, 30, 0}, {0, 30, 5}, rnd);
    EXPECT_FLOAT_EQ(v.x, 1.0f);
    EXPECT_FLOAT_EQ(v.y, 0.0f);
    EXPECT_FLOAT_EQ(v.z, -5.0f);
}

TEST(VelocityStyles, AnyOtherStyleUsesTheLastRow)
{
    for (int style : {4, 9, -1}) {
        FixedDraws rnd({0.5f, 0.25f, 0.0f});
        const D3DVECTOR v = rawVelocity(style, {1, 2, 3}, {}, {}, rnd);
        EXPECT_NEAR(v.x, 180.5f * 3.14159265f / 180.0f + 1.0f, 1e-5f) << style;
        EXPECT_NEAR(v.y, 90.25f * 3.14159265f / 180.0f + 2.0f, 1e-5f);
        EXPECT_FLOAT_EQ(v.z, 3.0f);
        FixedDraws again({0.5f, 0.25f, 0.0f});
        EXPECT_NEAR(length(startVelocity(style, {1, 2, 3}, {}, {}, 0.5f, again)), 0.5f, 1e-6f);
    }
}

TEST(Rounding, NearestGoesToEvenAndModKeepsTheSign)
{
    EXPECT_EQ(nearest(2.5), 2);
    EXPECT_EQ(nearest(3.5), 4);
    EXPECT_EQ(nearest(-2.5), -2);
    EXPECT_EQ(nearest(359.6), 360);
    EXPECT_EQ(modKeepingSign(-500, 360), -140);
    EXPECT_EQ(modKeepingSign(500, 360), 140);
    EXPECT_EQ(cycleDegrees(0.5f, 1000, false), 140);
    EXPECT_EQ(cycleDegrees(0.5f, 1000, true), -140);
    // A tick count far beyond 16 bits still gives an angle in range.
    EXPECT_EQ(cycleDegrees(1.0f, 2000000000, false), 2000000000 % 360);
}

TEST(MotionPaths, CycleAndReverseAtTheirAngles)
{
    FixedDraws rnd({0.5f});
    const MotionInput in{{0, 30, 0}, {5, 4, 3}, 0.5f, 1000};
    const float a = 140.0f * 3.14159265f / 180.0f;
    const D3DVECTOR cycle = *motionPosition(1, in, rnd);
    EXPECT_NEAR(cycle.x, std::sin(a) * 5, 1e-5f);
    EXPECT_NEAR(cycle.y, std::sin(a) * 4 + 30, 1e-5f);
    EXPECT_NEAR(cycle.z, std::cos(a) * 3, 1e-5f);
    const D3DVECTOR reverse = *motionPosition(2, in, rnd);
    EXPECT_NEAR(reverse.x, -std::sin(a) * 5, 1e-5f);
    EXPECT_NEAR(reverse.z, std::cos(a) * 3, 1e-5f);
    EXPECT_EQ(rnd.used(), 0u);
}

TEST(MotionPaths, RandomPathsStayWithinTheirDistance)
{
    ClockSeededRandom rnd(3);
    const MotionInput in{{1, 30, -2}, {5, 4, 3}, 0.5f, 0};
    for (int motion = 3; motion <= 6; ++motion)
        for (int i = 0; i < 2000; ++i) {
            const D3DVECTOR p = *motionPosition(motion, in, rnd);
            ASSERT_LE(std::abs(p.x - 1), 5.0001f) << motion;
            ASSERT_LE(std::abs(p.y - 30), 4.0001f) << motion;
            ASSERT_LE(std::abs(p.z + 2), 3.0001f) << motion;
        }
    // The line: every axis follows the same sine, so the points lie on one line.
    FixedDraws one({0.1f});
    const D3DVECTOR line = *motionPosition(6, {{0, 0, 0}, {5, 5, 5}, 0, 0}, one);
    EXPECT_FLOAT_EQ(line.x, line.z);
    FixedDraws two({0.1f});
    const D3DVECTOR circle = *motionPosition(3, {{0, 0, 0}, {5, 5, 5}, 0, 0}, two);
    EXPECT_NEAR(circle.x * circle.x + circle.z * circle.z, 25.0f, 1e-4f);
}

TEST(MotionPaths, StationaryStaysAndUnknownMotionsLeaveTheEmitter)
{
    FixedDraws rnd({0.5f});
    const MotionInput in{{1, 2, 3}, {5, 5, 5}, 0.5f, 1234};
    const D3DVECTOR still = *motionPosition(0, in, rnd);
    EXPECT_EQ(still.x, 1.0f);
    EXPECT_EQ(still.z, 3.0f);
    EXPECT_FALSE(motionPosition(7, in, rnd).has_value());
    EXPECT_FALSE(motionPosition(-1, in, rnd).has_value());
}

TEST(RandomColour, WhiteGivesOnlyWholeStepsAndKeepsAlpha)
{
    ClockSeededRandom rnd(11);
    std::set<int> seen;
    for (int i = 0; i < 40000; ++i) {
        const D3DCOLORVALUE c = randomColour({1, 1, 1, 0.4f}, rnd);
        ASSERT_EQ(c.a, 0.4f);
        for (float channel : {c.r, c.g, c.b}) {
            const float k = channel * 255.0f;
            ASSERT_NEAR(k, std::round(k), 1e-3f);
            ASSERT_GE(k, -0.001f);
            ASSERT_LE(k, 255.001f);
            seen.insert(int(std::lround(k)));
        }
    }
    EXPECT_EQ(seen.size(), 256u);
    // A channel of 0 stays 0.
    EXPECT_EQ(randomColour({0, 1, 1, 1}, rnd).r, 0.0f);
}

TEST(DirectXCheck, VersionNumberAndWarningText)
{
    EXPECT_FLOAT_EQ(directXVersionNumber("4.08.01.0881"), 4.081f);
    EXPECT_FALSE(directXWarning("4.08.01.0881").has_value());
    EXPECT_FALSE(directXWarning("4.09.00.0904").has_value());
    EXPECT_EQ(directXWarning("4.08.00.0400").value_or(""),
              "DirectX 8 Ver. 4.08.00.0400 detected.\r\n \r\nYou must have DirectX 8.1 or later.\r"
              "Try to continue anyway?");
    EXPECT_TRUE(directXWarning("0").has_value());
    EXPECT_TRUE(directXWarning("").has_value());
}

} // namespace
} // namespace emberly
