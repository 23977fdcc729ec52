#include "core/EditingRules.h"
#include "tests/headless/record_checks.h"

#include <gtest/gtest.h>

#include <numbers>

using toolkit::dragFieldText;

using namespace glazery;

TEST(EditingRules, MaterialBoxClampsAndSendsPreviewValues)
{
    EXPECT_EQ(materialBoxValue("300"), 255);
    EXPECT_EQ(materialBoxValue("-4"), 0);
    EXPECT_EQ(materialBoxValue("12abc"), 12);
    EXPECT_EQ(materialBoxValue("abc"), 0);
    EXPECT_EQ(materialBoxValue("99999"), 255);   // beyond 16 bits still clamps
    EXPECT_EQ(materialBoxValue("-99999"), 0);
    EXPECT_EQ(materialBoxValue("2.5"), 2);       // halves to even
    EXPECT_EQ(materialBoxValue("3.5"), 4);
    EXPECT_EQ(materialBoxValue("1E999"), 0);     // beyond a double reads as no number

    EXPECT_EQ(previewComponent(materialBoxValue("300")), 1.0f);
    EXPECT_EQ(previewComponent(materialBoxValue("-4")), 0.00390625f);
    EXPECT_EQ(previewComponent(QStringLiteral("127")), 0.5f);
    EXPECT_FLOAT_EQ(codeComponent(255), 1.0f);
    EXPECT_FLOAT_EQ(codeComponent(0), 0.0f);
}

TEST(EditingRules, ColorToRGBReadsBlueGreenRedDigits)
{
    EXPECT_EQ(ColorToRGB(0x0000FF), (Rgb{255, 0, 0}));
    EXPECT_EQ(ColorToRGB(0x123456), (Rgb{0x56, 0x34, 0x12}));
    EXPECT_EQ(ColorToRGB(0x00FF00), (Rgb{0, 255, 0}));
    EXPECT_EQ(ColorToRGB(0x0000), (Rgb{0, 0, 0}));
    EXPECT_EQ(swatchColour(RgbTexts{"300", "-4", "7"}), (Rgb{255, 0, 7}));
}

TEST(EditingRules, DragStaysWithinEachFieldsLimits)
{
    const auto dragUp = [](const QString& text, const DragLimits& limits) {
        return dragFieldText(text, 0, 100, limits);
    };
    const auto dragDown = [](const QString& text, const DragLimits& limits) {
        return dragFieldText(text, 100, 0, limits);
    };
    EXPECT_EQ(dragUp("253", kColourDrag), "255");
    EXPECT_EQ(dragDown("3", kColourDrag), "0");
    EXPECT_EQ(dragUp("5", kDirectionDrag), "5");
    EXPECT_EQ(dragUp("4", kDirectionDrag), "5");
    EXPECT_EQ(dragDown("-5", kDirectionDrag), "-5");
    EXPECT_EQ(dragUp("995", kPositionDrag), "999");
    EXPECT_EQ(dragDown("-995", kPositionDrag), "-999");
    EXPECT_EQ(dragUp("4990", kRangeDrag), "5000");
    EXPECT_EQ(dragDown("20", kRangeDrag), "0");
    EXPECT_EQ(dragUp("1000", kRangeDrag), "1030");
    EXPECT_EQ(dragDown("2", kPhiDrag), "1");
    EXPECT_EQ(dragUp("178", kPhiDrag), "180");
    EXPECT_EQ(dragUp("12.5", kColourDrag), "17.5");
    // A value typed beyond the limits is pulled back by the next drag event.
    EXPECT_EQ(dragFieldText("2000", 100, 100, kPositionDrag), "999");
}

TEST(EditingRules, ThetaStaysBelowPhi)
{
    // Dragging phi down onto theta pushes theta to phi - 1.
    EXPECT_EQ(thetaAfterPhiChange("80", "80"), "79");
    EXPECT_EQ(thetaAfterPhiChange("70", "80"), "69");
    EXPECT_EQ(thetaAfterPhiChange("90", "80"), "80");
    // Theta can never be dragged to or above phi.
    const DragLimits limits = thetaDragLimits("90");
    EXPECT_EQ(limits.max, 89);
    EXPECT_EQ(limits.min, 1);
    EXPECT_EQ(dragFieldText("88", 0, 100, limits), "89");
    EXPECT_EQ(dragFieldText("89", 0, 100, limits), "89");
}

TEST(EditingRules, FieldsEnabledPerLightType)
{
    EXPECT_EQ(lightFieldsEnabled(kDirectionalRow),
              (LightFieldsEnabled{.position = false, .spotAngles = false, .direction = true, .range = false}));
    EXPECT_EQ(lightFieldsEnabled(kPointRow),
              (LightFieldsEnabled{.position = true, .spotAngles = false, .direction = false, .range = true}));
    EXPECT_EQ(lightFieldsEnabled(kSpotRow),
              (LightFieldsEnabled{.position = true, .spotAngles = true, .direction = true, .range = true}));
    EXPECT_EQ(lightTypeForRow(kDirectionalRow), 3);
    EXPECT_EQ(lightTypeForRow(kPointRow), 1);
    EXPECT_EQ(lightTypeForRow(kSpotRow), 2);
}

TEST(EditingRules, DirectionSliderIsTextPlusFive)
{
    EXPECT_EQ(directionTextFromSlider(6), "1");
    EXPECT_EQ(directionTextFromSlider(0), "-5");
    EXPECT_EQ(directionSliderFromText("-1"), 4);
    EXPECT_EQ(directionSliderFromText("9"), 10);
}

TEST(EditingRules, TestLightFromTheBoxes)
{
    LightTexts texts;
    texts.typeRow = kSpotRow;
    texts.ambient = {"0", "127", "255"};
    texts.position = {"10", "-20", "2.5"};
    texts.direction = {"0", "-1", "0"};
    texts.range = "500";
    texts.phi = "90";
    texts.theta = "45";
    const D3DLIGHT8 light = buildTestLight(texts);
    EXPECT_EQ(light.Type, 2);
    EXPECT_TRUE(sameColour(light.Ambient, {0.00390625f, 0.5f, 1.0f, 1.0f}));
    EXPECT_TRUE(sameColour(light.Diffuse, {1, 1, 1, 1}));
    EXPECT_TRUE(sameVector(light.Position, {10, -20, 2.5f}));
    EXPECT_TRUE(sameVector(light.Direction, {0, -1, 0}));
    EXPECT_EQ(light.Range, 500.0f);
    EXPECT_FLOAT_EQ(light.Phi, std::numbers::pi_v<float> / 2);
    EXPECT_FLOAT_EQ(light.Theta, std::numbers::pi_v<float> / 4);
    EXPECT_EQ(light.Falloff, 0.0f);
    EXPECT_EQ(light.Attenuation0, 0.0f);

    const D3DLIGHT8 start = initialTestLight();
    EXPECT_EQ(start.Type, 3);
    EXPECT_TRUE(sameVector(start.Position, {-100, -100, -100}));
    EXPECT_TRUE(sameVector(start.Direction, {1, -1, 0}));
    EXPECT_TRUE(sameColour(start.Ambient, {0, 0, 0, 0}));
    EXPECT_EQ(start.Range, 1000.0f);
    EXPECT_FLOAT_EQ(start.Theta, degreesToRadians(80));
}
