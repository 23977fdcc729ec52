// The landscape on screen: the lightmap darkens exactly the land it maps to,
// the detail texture repeats as its tiling says, and the material is lit by
// the scene's light. Expected colours come from CPU formulas at the world point
// each pixel shows.
#include "PixelTestSupport.h"

#include "core/Context.h"

#include <korlith3d/KLEngine.h>
#include <korlith3d/KLLandscape.h>
#include <korlith3d/KLLightEngine.h>
#include <korlith3d/KLMaterialFactory.h>
#include <korlith3d/KLScene.h>
#include <korlith3d/KLTextureFactory.h>

#include <QApplication>
#include <QTemporaryDir>
#include <QWidget>

#include <gtest/gtest.h>

#include <cmath>

using namespace kl::gpu::test;

namespace {

constexpr float LandSize = 512.0f;   // 2 x 2 chunks

QImage solid(int w, int h, QColor colour)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

class LandscapeDraw : public ::testing::Test {
protected:
    void SetUp() override
    {
        box.resize(160, 120);
        box.show();
        QApplication::processEvents();
        ASSERT_TRUE(engine.Init3DWindowedMode(std::uintptr_t(box.winId()), true));
        textures = std::make_unique<KLTextureFactory>();
        scene = std::make_unique<KLScene>();
        land = std::make_unique<KLLandscape>();
        const QString flat = dir.filePath("flat.bmp");
        ASSERT_TRUE(solid(9, 9, Qt::black).save(flat, "BMP"));
        land->GenerateTerrain(flat, 4, 2, 2);
        land->SpreadTexture(textures->CreateTextureFromImage(solid(4, 4, Qt::white), "White"), 0, 0, 2, 2, false);
        scene->SetColor(0, 0, 1);   // blue where no land is
        scene->SetCamera(256, 300, 60, 256, 0, 300);
    }

    QImage frame()
    {
        engine.Clear();
        land->Render(true, false);
        engine.RenderToScreen();
        const QString shot = dir.filePath("shot.bmp");
        engine.SaveScreenshot(shot);
        if (!qEnvironmentVariableIsEmpty("KL_SHOT_DIR"))
            QImage(shot, "BMP").scaled(640, 480).save(qEnvironmentVariable("KL_SHOT_DIR") + "/landscape.png");
        return QImage(shot, "BMP");
    }

    // Where the centre of pixel (x, y) meets the plane y = 0, by the frame's own matrices.
    glm::vec3 groundUnder(const QImage& image, int x, int y) const
    {
        const kl::gpu::FrameState state = kl::core::Context::current()->frameState();
        const glm::mat4 inverse = glm::inverse(state.projection * state.view);
        const float nx = (float(x) + 0.5f) / float(image.width()) * 2.0f - 1.0f;
        const float ny = 1.0f - (float(y) + 0.5f) / float(image.height()) * 2.0f;
        glm::vec4 nearPoint = inverse * glm::vec4(nx, ny, -1, 1);
        glm::vec4 farPoint = inverse * glm::vec4(nx, ny, 1, 1);
        const glm::vec3 a = glm::vec3(nearPoint) / nearPoint.w;
        const glm::vec3 b = glm::vec3(farPoint) / farPoint.w;
        return a + (b - a) * (a.y / (a.y - b.y));
    }

    // Calls `check` for every fourth pixel showing land away from the edges.
    template <typename Check>
    int forLandPixels(const QImage& image, Check check) const
    {
        int checked = 0;
        for (int y = 0; y < image.height(); y += 4)
            for (int x = 0; x < image.width(); x += 4) {
                const glm::vec3 p = groundUnder(image, x, y);
                if (p.x < 8 || p.z < 8 || p.x > LandSize - 8 || p.z > LandSize - 8)
                    continue;
                check(x, y, p);
                ++checked;
            }
        return checked;
    }

    QTemporaryDir dir;
    QWidget box;
    KLEngine engine;
    std::unique_ptr<KLTextureFactory> textures;
    std::unique_ptr<KLScene> scene;
    std::unique_ptr<KLLandscape> land;
};

float brightness(glm::vec4 c)
{
    return (c.r + c.g + c.b) / 3.0f;
}

} // namespace

TEST_F(LandscapeDraw, LightmapBlackOnItsLeftHalfDarkensTheLandWhereXIsBelowHalfTheWidth)
{
    scene->SetLighting(false);
    QImage lightmap = solid(64, 64, Qt::white);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 32; ++x)
            lightmap.setPixel(x, y, qRgb(0, 0, 0));
    land->SetLightmap(textures->CreateTextureFromImage(lightmap, "Lightmap"));
    const QImage image = frame();
    int dark = 0, bright = 0;
    const int checked = forLandPixels(image, [&](int x, int y, glm::vec3 p) {
        const float b = brightness(pixelColour(image, x, y));
        if (p.x < LandSize / 2 - 10) {
            EXPECT_LT(b, 0.05f) << "x " << p.x << " z " << p.z;
            ++dark;
        } else if (p.x > LandSize / 2 + 10) {
            EXPECT_GT(b, 0.95f) << "x " << p.x << " z " << p.z;
            ++bright;
        }
    });
    EXPECT_GT(checked, 300);
    EXPECT_GT(dark, 100);
    EXPECT_GT(bright, 100);
}

TEST_F(LandscapeDraw, DetailTextureRepeatsByItsTilingOnEveryChunk)
{
    scene->SetLighting(false);
    QImage detail(2, 1, QImage::Format_RGB32);   // dark left half, mid-grey right half of each tile
    detail.setPixel(0, 0, qRgb(64, 64, 64));
    detail.setPixel(1, 0, qRgb(128, 128, 128));
    land->SetDetailTexture(textures->CreateTextureFromImage(detail, "Detail"));
    land->SetDetailTiling(4, 4);
    const QImage image = frame();
    int checked = 0;
    forLandPixels(image, [&](int x, int y, glm::vec3 p) {
        // The two texels' bilinear mix, repeating, then doubled and clamped as a detail stage does.
        const float s = std::fmod(p.x, 256.0f) / 256.0f * 4.0f * 2.0f - 0.5f;
        const float t = s - std::floor(s);
        const bool startsDark = (int(std::floor(s)) & 1) == 0;
        const float dark = 64.0f / 255.0f, light = 128.0f / 255.0f;
        const float texel = startsDark ? dark + (light - dark) * t : light + (dark - light) * t;
        const float expected = std::min(1.0f, 2.0f * texel);
        if (p.z > 200)
            return;   // far rows are minified: the mip levels mix the two
        EXPECT_NEAR(brightness(pixelColour(image, x, y)), expected, 0.04f) << "x " << p.x;
        ++checked;
    });
    EXPECT_GT(checked, 100);
}

TEST_F(LandscapeDraw, MaterialColoursAreLitByTheSceneLight)
{
    KLMaterialFactory materials;
    KLLightEngine lights;
    const int material = materials.CreateMaterial("LandMat");
    materials.SetAmbient(material, 0.2f, 0.2f, 0.2f, 1);
    materials.SetDiffuse(material, 0.5f, 0.25f, 0.0f, 1);
    materials.SetSpecular(material, 0, 0, 0, 1);
    materials.SetEmissive(material, 0, 0, 0, 1);
    land->SetMaterial(material, -1, 0);
    D3DLIGHT8 light;
    light.Type = D3DLIGHT_DIRECTIONAL;
    light.Diffuse = {1, 1, 1, 1};
    light.Direction = {0, -1, 0};   // straight down on flat land
    lights.CreateLight(light, "Sun");
    scene->SetAmbientLight(0.5f, 0.5f, 0.5f);
    const QImage image = frame();
    // Diffuse 1 x (0.5, 0.25, 0) plus scene ambient 0.5 x 0.2.
    const glm::vec4 expected(0.5f + 0.1f, 0.25f + 0.1f, 0.1f, 1);
    const int checked = forLandPixels(image, [&](int x, int y, glm::vec3) {
        const glm::vec4 got = pixelColour(image, x, y);
        EXPECT_NEAR(got.r, expected.r, 0.02f);
        EXPECT_NEAR(got.g, expected.g, 0.02f);
        EXPECT_NEAR(got.b, expected.b, 0.02f);
    });
    EXPECT_GT(checked, 300);
    EXPECT_EQ(pixelColour(image, 2, 2), glm::vec4(0, 0, 1, 1));   // sky colour above the horizon
}
