// The engine objects driving the renderer: a lit mesh, the scene colour, the
// background picture and a screenshot, in a real picture box.
#include "EngineTestSupport.h"

#include "korlith3d/KLLightEngine.h"
#include "korlith3d/KLMaterialFactory.h"
#include "korlith3d/KLMesh.h"
#include "korlith3d/KLScene.h"
#include "korlith3d/KLScreen2D.h"
#include "korlith3d/KLTextureFactory.h"

#include <QTest>
#include <QWidget>

using kltest::EngineTest;

namespace {

class RenderingTest : public EngineTest {
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        pictureBox.resize(200, 150);
        pictureBox.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&pictureBox));
        engine->SetDebugFile(path("debugfile.txt"));
        ASSERT_TRUE(engine->Init3DWindowedMode(static_cast<std::uintptr_t>(pictureBox.winId()), true));
    }
    QImage frame(KLScene& scene)
    {
        for (int i = 0; i < 3; ++i) {
            engine->Clear(false);
            scene.RenderAll(true);
            engine->RenderToScreen();
            QCoreApplication::processEvents();
        }
        engine->SaveScreenshot(path("shot.bmp"));
        return QImage(path("shot.bmp"));
    }
    QWidget pictureBox;
};

TEST_F(RenderingTest, LitMaterialMeshOverTheSceneColour)
{
    EXPECT_EQ(engine->GetViewportWidth(), 200);
    EXPECT_EQ(engine->GetViewportHeight(), 150);
    // 3DS: the loader computes its normals (the X exporter writes mirrored ones).
    writeFile("box.3ds", kltest::exportBox("3ds", -5, -5, -5, 5, 5, 5));
    KLScene scene;
    scene.SetCamera(0, 50, -30, 0, 50, 0);
    scene.SetColor(0, 0, 1);
    KLLightEngine lights;
    D3DLIGHT8 light;
    light.Type = D3DLIGHT_DIRECTIONAL;
    light.Diffuse = {1, 1, 1, 1};
    light.Direction = {0, 0, 1};
    lights.CreateLight(light, "Lys", false);
    KLMaterialFactory materials;
    const int red = materials.CreateMaterial("Red");
    materials.SetDiffuse(red, 1, 0, 0, 1);
    materials.SetAmbient(red, 1, 0, 0, 1);
    KLMesh mesh = scene.CreateMesh("Box");
    mesh.Load3DS("box.3ds", true, true, false, true, true);
    mesh.SetMaterial(red);
    mesh.SetPosition(0, 50, 0);

    const QImage image = frame(scene);
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.size(), QSize(200, 150));
    const QRgb centre = image.pixel(100, 75);
    EXPECT_GT(qRed(centre), 150);
    EXPECT_LT(qBlue(centre), 80);
    const QRgb corner = image.pixel(3, 3);
    EXPECT_GT(qBlue(corner), 200);
    EXPECT_LT(qRed(corner), 50);

    // Hidden, the mesh leaves the scene colour behind.
    mesh.SetVisible(false);
    EXPECT_GT(qBlue(frame(scene).pixel(100, 75)), 200);
    QFile log(path("debugfile.txt"));
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    const QByteArray text = log.readAll();
    EXPECT_TRUE(text.contains("OpenGL version")) << text.toStdString();
    EXPECT_TRUE(text.contains("200 x 150")) << text.toStdString();
}

TEST_F(RenderingTest, BackgroundPictureFillsTheView)
{
    QImage green(8, 8, QImage::Format_ARGB32);
    green.fill(qRgb(0, 255, 0));
    ASSERT_TRUE(green.save(path("Floors017.jpg")));
    KLScene scene;
    KLScreen2D screen;
    screen.SetBackgroundPicture("floors017.jpg", -1);
    engine->Clear(false);
    screen.BeginDraw();
    screen.DrawBackground();
    screen.EndDraw();
    scene.RenderAll(true);
    engine->RenderToScreen();
    engine->SaveScreenshot(path("bg.bmp"));
    const QImage image(path("bg.bmp"));
    ASSERT_FALSE(image.isNull());
    EXPECT_GT(qGreen(image.pixel(10, 140)), 200);
    EXPECT_GT(qGreen(image.pixel(190, 10)), 200);
}

} // namespace
