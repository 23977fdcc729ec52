// File types of "Load object", the object panel's texts, and the alignment
// and light marker rotations.
#include "core/Alignment.h"
#include "core/PlacedObjects.h"
#include "core/Vectors.h"

#include <gtest/gtest.h>

#include <cmath>

namespace landlume {
namespace {

TEST(ObjectFiles, TypeIsTheTextAfterTheLastDotInAnyCase)
{
    EXPECT_EQ(modelKind(objectFileType("C:\\models\\tree.X")), ModelKind::X);
    EXPECT_EQ(modelKind(objectFileType("/data/tree.3DS")), ModelKind::ThreeDS);
    EXPECT_EQ(modelKind(objectFileType("/data/my.models/tree.x")), ModelKind::X);
    EXPECT_EQ(modelKind(objectFileType("/data/tree.obj")), ModelKind::None);
    EXPECT_EQ(objectFileType("/data/tree"), "/data/tree");
    EXPECT_EQ(modelKind(objectFileType("/data/tree")), ModelKind::None);
    // A folder with a dot and a file without: the folder's tail is no type.
    EXPECT_EQ(modelKind(objectFileType("/data/my.x/tree")), ModelKind::None);
    EXPECT_EQ(objectName(12), "O12");
}

TEST(ObjectFiles, PanelTextsRoundToTwoDecimalsHalvesToEven)
{
    PlacedObject o;
    o.meshPosition = {1.125f, -0.005f, 100.0f};
    o.meshRotation = {0.375f, 2.0f / 3.0f, 45.0f};
    o.meshScale = {1.0f, 0.5f, 10.0f};
    const auto texts = placementTexts(o);
    EXPECT_EQ(texts[0], "1.12");   // exactly halfway: to even
    EXPECT_EQ(texts[2], "100");
    EXPECT_EQ(texts[3], "0.38");   // 0.375: to even 0.38
    EXPECT_EQ(texts[4], "0.67");
    EXPECT_EQ(texts[7], "0.5");
}

float angleBetween(const D3DVECTOR& a, const D3DVECTOR& b)
{
    const float c = (a.x * b.x + a.y * b.y + a.z * b.z) / (length(a) * length(b));
    return std::acos(std::clamp(c, -1.0f, 1.0f));
}

D3DVECTOR row(const D3DMATRIX& m, int r) { return {m.m[r][0], m.m[r][1], m.m[r][2]}; }

TEST(Alignment, UpAxisTurnsInFixedStepsUntilWithinTolerance)
{
    // A slope whose up direction leans 0.5 rad towards +x; normals point down.
    const D3DVECTOR up = normalize({std::sin(0.5f), std::cos(0.5f), 0.0f});
    const D3DVECTOR normal = scale(up, -1.0f);
    D3DMATRIX m;   // upright
    int steps = 0;
    float previous = angleBetween(row(m, 1), up);
    for (; steps < 1000; ++steps) {
        float lag = 0.0f;
        const D3DMATRIX before = m;
        if (!alignStep(m, normal, lag))
            break;
        EXPECT_FLOAT_EQ(lag, 0.01f);
        // Each step moves the up axis by 0.01.
        EXPECT_NEAR(length(subtract(row(m, 1), row(before, 1))), 0.01f, 1e-5f);
        const float angle = angleBetween(row(m, 1), up);
        EXPECT_LE(angle, previous + 1e-6f);
        previous = angle;
    }
    EXPECT_GT(steps, 40);
    EXPECT_LT(steps, 60);   // about 0.49 / 0.01 steps
    EXPECT_LT(length(subtract(up, row(m, 1))), kAlignTolerance);
    // Right and forward stay unit length and square to the up axis.
    EXPECT_NEAR(length(row(m, 0)), 1.0f, 1e-5f);
    EXPECT_NEAR(length(row(m, 2)), 1.0f, 1e-5f);
    EXPECT_NEAR(angleBetween(row(m, 0), row(m, 1)), float(M_PI / 2), 1e-3f);
    // Once there, nothing more changes.
    float lag = 0.0f;
    const D3DMATRIX settled = m;
    EXPECT_FALSE(alignStep(m, normal, lag));
    EXPECT_EQ(std::memcmp(&settled, &m, sizeof m), 0);
}

TEST(Alignment, LagOfOneCountsAs0999)
{
    D3DMATRIX m;
    float lag = 1.0f;
    ASSERT_TRUE(alignStep(m, {1.0f, 0.0f, 0.0f}, lag));
    EXPECT_FLOAT_EQ(lag, (1.0f - 0.999f) / 100.0f);
}

TEST(LightMarker, OwnYAxisPointsAlongTheLight)
{
    const D3DMATRIX m = markerRotation({2.0f, -1.0f, 2.0f});
    const D3DVECTOR f = row(m, 1);
    EXPECT_NEAR(f.x, 2.0f / 3.0f, 1e-6f);
    EXPECT_NEAR(f.y, -1.0f / 3.0f, 1e-6f);
    EXPECT_NEAR(length(row(m, 0)), 1.0f, 1e-6f);
    EXPECT_NEAR(length(row(m, 2)), 1.0f, 1e-6f);
    EXPECT_NEAR(angleBetween(row(m, 0), f), float(M_PI / 2), 1e-5f);
    EXPECT_FLOAT_EQ(m.m[3][3], 1.0f);
    // Straight down: the cross products vanish, the rows stay finite zeros.
    const D3DMATRIX down = markerRotation({0.0f, -1.0f, 0.0f});
    EXPECT_EQ(length(row(down, 0)), 0.0f);
    EXPECT_FALSE(std::isnan(down.m[2][0]));
}

} // namespace
} // namespace landlume
