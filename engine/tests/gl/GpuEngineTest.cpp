// The whole path through the public engine objects: a picture box, the engine
// initialised into it, a lit textured wall, the background picture and the
// frame shown and saved.
#include "PixelTestSupport.h"

#include <korlith3d/KLEngine.h>
#include <korlith3d/KLLightEngine.h>
#include <korlith3d/KLMaterialFactory.h>
#include <korlith3d/KLMesh.h>
#include <korlith3d/KLScene.h>
#include <korlith3d/KLScreen2D.h>
#include <korlith3d/KLTextureFactory.h>

#include <QApplication>
#include <QScreen>
#include <QTemporaryDir>
#include <QWidget>

#include <gtest/gtest.h>

using namespace kl::gpu::test;

namespace {

QString writePicture(const QTemporaryDir& dir, const QString& name, QColor colour)
{
    QImage image(32, 32, QImage::Format_RGB32);
    image.fill(colour);
    const QString path = dir.filePath(name);
    image.save(path, "BMP");
    return path;
}

bool near(glm::vec4 got, float r, float g, float b)
{
    const float t = 4.0f / 255.0f;
    return std::abs(got.r - r) <= t && std::abs(got.g - g) <= t && std::abs(got.b - b) <= t;
}

} // namespace

TEST(EngineEndToEnd, LitTexturedWallOverTheBackgroundPicture)
{
    QTemporaryDir dir;
    QWidget box;
    box.resize(160, 120);
    box.show();
    QApplication::processEvents();

    KLEngine engine;
    ASSERT_TRUE(engine.Init3DWindowedMode(std::uintptr_t(box.winId()), true));
    EXPECT_EQ(engine.GetViewportWidth(), 160);
    EXPECT_EQ(engine.GetViewportHeight(), 120);

    KLTextureFactory textures;
    KLMaterialFactory materials;
    KLLightEngine lights;
    KLScene scene;
    KLScreen2D screen;

    const int wallTexture = textures.LoadTexture(writePicture(dir, "wall.bmp", QColor(255, 128, 0)), "Wall");
    screen.SetBackgroundPicture(writePicture(dir, "back.bmp", QColor(0, 0, 255)));

    // Half-lit by a light straight at it: diffuse 0.5 × the orange texture.
    const int material = materials.CreateMaterial("Half");
    materials.SetAmbient(material, 0, 0, 0, 1);
    materials.SetDiffuse(material, 0.5f, 0.5f, 0.5f, 1);
    materials.SetSpecular(material, 0, 0, 0, 1);
    materials.SetEmissive(material, 0, 0, 0, 1);
    D3DLIGHT8 light;
    light.Type = D3DLIGHT_DIRECTIONAL;
    light.Diffuse = {1, 1, 1, 1};
    light.Direction = {0, 0, 1};
    lights.CreateLight(light, "Front");
    scene.SetAmbientLight(0, 0, 0);

    KLMesh wall = scene.CreateMesh("Wall");
    wall.AddWall(wallTexture, -2, 0, 2, 0, 4, -2, 1, 1, true, false);
    wall.SetMaterial(material);
    scene.SetCamera(0, 0, -10, 0, 0, 0);

    for (int frame = 0; frame < 2; ++frame) {
        engine.Clear();
        screen.BeginDraw();
        screen.DrawBackground();
        screen.EndDraw();
        scene.RenderAll(true);
        engine.RenderToScreen();
        QApplication::processEvents();
    }

    const QString shot = dir.filePath("shot.bmp");
    engine.SaveScreenshot(shot);
    const QImage saved(shot, "BMP");
    ASSERT_EQ(saved.size(), QSize(160, 120));
    EXPECT_TRUE(near(centrePixel(saved), 0.5f, 0.25f, 0.0f)) << qPrintable(QString::number(saved.pixel(80, 60), 16));
    EXPECT_TRUE(near(pixelColour(saved, 2, 2), 0, 0, 1));

    // And the picture box shows the same frame.
    const QImage shown = grabShownPicture(box, [](const QImage& picture) {
        return near(centrePixel(picture), 0.5f, 0.25f, 0.0f);
    });
    EXPECT_TRUE(near(centrePixel(shown), 0.5f, 0.25f, 0.0f));
}

TEST(EngineEndToEnd, InitialisingIntoAnUnknownWindowFails)
{
    KLEngine engine;
    EXPECT_FALSE(engine.Init3DWindowedMode(std::uintptr_t(0x7ffffff0), true));
    EXPECT_FALSE(engine.IsInitialised());
}
