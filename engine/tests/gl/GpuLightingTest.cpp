// Centre pixel of a lit sphere against the Direct3D 8 lighting formula.
#include "PixelTestSupport.h"

#include <gtest/gtest.h>

#include <glm/gtc/constants.hpp>

using namespace kl::gpu;
using namespace kl::gpu::test;

namespace {

constexpr float Tolerance = 3.0f / 255.0f;
const glm::vec3 FrontPoint(0, 0, -1);   // point of the unit sphere under the centre pixel
const glm::vec3 FrontNormal(0, 0, -1);

class LightingTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(fixture.attached()) << fixture.attachError().toStdString(); }

    // Renders the unit sphere and checks the centre pixel against the formula.
    void expectCentre(const FrameState& frame, const MaterialColors& material, const char* what)
    {
        DrawItem item;
        item.mesh = &sphere;
        item.material = material;
        const QImage image = fixture.render(frame, {&item, 1});
        ASSERT_FALSE(image.isNull()) << fixture.renderer().lastError().toStdString();
        // The reference is taken at the exact point under the pixel's centre.
        glm::vec3 point;
        ASSERT_TRUE(spherePointUnderPixel(frame, fixture.size(), image.width() / 2, image.height() / 2,
                                          1.0f, point));
        const glm::vec4 expected = referenceColour(frame, material, point, point);
        const glm::vec4 got = centrePixel(image);
        for (int c = 0; c < 3; ++c)
            EXPECT_NEAR(got[c], expected[c], Tolerance) << what << " channel " << c;
    }

    FrameState camera() const { return frontCamera(3.0f, fixture.size()); }

    static LightState directional(glm::vec3 direction)
    {
        LightState light;
        light.type = LightType::Directional;
        light.direction = direction;
        light.diffuse = glm::vec4(0);
        light.specular = glm::vec4(0);
        light.ambient = glm::vec4(0);
        return light;
    }

    RenderFixture fixture;
    MeshGeometry sphere = makeSphere(1, 1.0f);
};

MaterialColors blackMaterial()
{
    MaterialColors m;
    m.ambient = m.diffuse = m.specular = m.emissive = glm::vec4(0, 0, 0, 1);
    return m;
}

} // namespace

TEST_F(LightingTest, AmbientFromSceneAndLightsTimesMaterialAmbient)
{
    FrameState frame = camera();
    frame.ambient = glm::vec4(0.2f, 0.3f, 0.1f, 1);
    LightState light = directional({0, 0, 1});
    light.ambient = glm::vec4(0.3f, 0.1f, 0.4f, 1);
    frame.lights = {light};
    MaterialColors m = blackMaterial();
    m.ambient = glm::vec4(1.0f, 0.5f, 0.8f, 1);
    expectCentre(frame, m, "ambient");
    const glm::vec4 expected = referenceColour(frame, m, FrontPoint, FrontNormal);
    EXPECT_NEAR(expected.r, 0.5f, 1e-5f);   // the reference itself: (0.2 + 0.3) · 1
}

TEST_F(LightingTest, DiffuseFollowsTheCosineOfTheLightAngle)
{
    FrameState frame = camera();
    MaterialColors m = blackMaterial();
    m.diffuse = glm::vec4(0.9f, 0.6f, 0.3f, 1);
    // 60° off the normal: N·L = 0.5.
    LightState light = directional({std::sin(glm::radians(60.0f)), 0, std::cos(glm::radians(60.0f))});
    light.diffuse = glm::vec4(1, 1, 1, 1);
    frame.lights = {light};
    expectCentre(frame, m, "diffuse at 60 degrees");

    // Lit from behind: nothing.
    frame.lights[0].direction = glm::vec3(0, 0, -1);
    expectCentre(frame, m, "diffuse from behind");
}

TEST_F(LightingTest, SpecularUsesTheHalfwayVectorAndPower)
{
    FrameState frame = camera();
    MaterialColors m = blackMaterial();
    m.specular = glm::vec4(1, 0.8f, 0.6f, 1);
    m.power = 8;
    LightState light = directional({std::sin(glm::radians(30.0f)), 0, std::cos(glm::radians(30.0f))});
    light.specular = glm::vec4(1, 1, 1, 1);
    frame.lights = {light};
    expectCentre(frame, m, "specular power 8");
    const glm::vec4 expected = referenceColour(frame, m, FrontPoint, FrontNormal);
    EXPECT_NEAR(expected.r, std::pow(std::cos(glm::radians(15.0f)), 8.0f), 1e-3f);

    // Power 0 turns the highlight off.
    m.power = 0;
    expectCentre(frame, m, "specular power 0");
    // No highlight where the light does not reach (N·L <= 0).
    m.power = 8;
    frame.lights[0].direction = glm::vec3(0, 0, -1);
    expectCentre(frame, m, "specular from behind");
}

TEST_F(LightingTest, EmissiveAddsWithoutLight)
{
    FrameState frame = camera();
    MaterialColors m = blackMaterial();
    m.emissive = glm::vec4(0.25f, 0.5f, 0.75f, 1);
    expectCentre(frame, m, "emissive without lights");
    LightState light = directional({0, 0, 1});
    light.diffuse = glm::vec4(0.5f, 0.5f, 0.5f, 1);
    frame.lights = {light};
    m.diffuse = glm::vec4(0.5f, 0.2f, 0.1f, 1);
    expectCentre(frame, m, "emissive plus diffuse");
}

TEST_F(LightingTest, PointLightAttenuatesAndStopsAtItsRange)
{
    FrameState frame = camera();
    MaterialColors m = blackMaterial();
    m.diffuse = glm::vec4(1, 1, 1, 1);
    LightState light = directional({0, 0, 1});
    light.type = LightType::Point;
    light.position = glm::vec3(0, 0, -3);   // 2 units in front of the lit point
    light.diffuse = glm::vec4(1, 0.8f, 0.6f, 1);
    light.attenuation0 = 0.5f;
    light.attenuation1 = 0.25f;
    light.attenuation2 = 0.0f;
    light.range = 10;
    frame.lights = {light};
    expectCentre(frame, m, "point inside range");   // 1 / (0.5 + 0.5) = 1

    light.attenuation0 = 1.0f;
    light.attenuation2 = 0.25f;
    frame.lights = {light};
    expectCentre(frame, m, "point with quadratic term");   // 1 / (1 + 0.5 + 1) = 0.4

    frame.lights[0].range = 1.5f;   // the point is 2 units away
    expectCentre(frame, m, "point beyond range");
    EXPECT_EQ(referenceColour(frame, m, FrontPoint, FrontNormal), glm::vec4(0, 0, 0, 1));
}

TEST_F(LightingTest, ZeroAttenuationMeansUnattenuatedNotDivideByZero)
{
    FrameState frame = camera();
    MaterialColors m = blackMaterial();
    m.diffuse = glm::vec4(0.6f, 0.6f, 0.6f, 1);
    for (LightType type : {LightType::Point, LightType::Spot}) {
        LightState light = directional({0, 0, 1});
        light.type = type;
        light.position = glm::vec3(0, 0, -3);
        light.diffuse = glm::vec4(1, 1, 1, 1);
        light.attenuation0 = light.attenuation1 = light.attenuation2 = 0;
        light.theta = glm::radians(80.0f);
        light.phi = glm::radians(90.0f);
        light.range = 1000;
        frame.lights = {light};
        DrawItem item;
        item.mesh = &sphere;
        item.material = m;
        const glm::vec4 got = centrePixel(fixture.render(frame, {&item, 1}));
        EXPECT_NEAR(got.r, 0.6f, Tolerance) << "light type " << int(type);
    }
}

TEST_F(LightingTest, SpotConeFullInsideThetaFadingToPhiDarkOutside)
{
    FrameState frame = camera();
    MaterialColors m = blackMaterial();
    m.diffuse = glm::vec4(1, 1, 1, 1);
    LightState light = directional({0, 0, 1});
    light.type = LightType::Spot;
    light.position = glm::vec3(0, 0, -3);
    light.diffuse = glm::vec4(1, 1, 1, 1);
    light.range = 100;
    light.falloff = 1;
    light.theta = glm::radians(20.0f);
    light.phi = glm::radians(40.0f);
    // Aim the spot so the lit point is 0°, 15° (between the half angles 10° and 20°)
    // and 30° off its axis; the point stays lit head-on.
    for (float offAxis : {0.0f, 15.0f, 30.0f}) {
        const float a = glm::radians(offAxis);
        light.direction = glm::vec3(std::sin(a), 0, std::cos(a));
        frame.lights = {light};
        expectCentre(frame, m, offAxis == 0 ? "spot on axis" : offAxis == 15 ? "spot penumbra" : "spot outside");
    }
    const float outside = referenceColour(frame, m, FrontPoint, FrontNormal).r;
    EXPECT_EQ(outside, 0.0f);

    // Falloff 0: full light anywhere inside the outer cone.
    light.falloff = 0;
    light.direction = glm::vec3(std::sin(glm::radians(15.0f)), 0, std::cos(glm::radians(15.0f)));
    frame.lights = {light};
    DrawItem item;
    item.mesh = &sphere;
    item.material = m;
    EXPECT_NEAR(centrePixel(fixture.render(frame, {&item, 1})).r, 1.0f, Tolerance);
}

TEST_F(LightingTest, DisabledLightAddsNothing)
{
    FrameState frame = camera();
    MaterialColors m = blackMaterial();
    m.diffuse = m.ambient = glm::vec4(1, 1, 1, 1);
    LightState light = directional({0, 0, 1});
    light.diffuse = light.ambient = glm::vec4(1, 1, 1, 1);
    light.enabled = false;
    frame.lights = {light};
    DrawItem item;
    item.mesh = &sphere;
    item.material = m;
    EXPECT_NEAR(centrePixel(fixture.render(frame, {&item, 1})).r, 0.0f, Tolerance);
}
