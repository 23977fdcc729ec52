// Start-up, render loop, settings column, resize and shutdown of the main window.
#include "support/window_test_support.h"

#include <korlith3d/KLEngine.h>
#include <korlith3d/KLGlobals.h>
#include <korlith3d/KLLightEngine.h>
#include <korlith3d/KLMaterialFactory.h>
#include <korlith3d/KLTextureFactory.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QMouseEvent>
#include <QTest>
#include <QWheelEvent>
#include <QWindow>

#include <cmath>

namespace glazery::test {
namespace {

using StartUp = GlazeryWindowTest;

TEST_F(StartUp, BuildsTheSceneTheLightAndTheMaterials)
{
    startWindow();
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(form->windowTitle(), "Glazery V1.0");
    EXPECT_TRUE(scene().engineInitialised());

    // Nine meshes named and captioned from the list; only the first on show.
    const QList<PreviewObject> defaults = defaultPreviewObjects();
    for (int i = 0; i < kPreviewSlotCount; ++i) {
        const KLMesh& mesh = scene().previewMesh(i);
        ASSERT_FALSE(mesh.IsNull()) << i;
        EXPECT_EQ(mesh.GetName(), defaults[i].description);
        EXPECT_EQ(mesh.IsVisible(), i == 0) << i;
        EXPECT_EQ(mesh.GetMaterial(), scene().materialId());
        EXPECT_EQ(mesh.GetTexture(), KLGlobals().GetTex("Fabric"));
        EXPECT_EQ(control<QRadioButton>(QString("optObjects_%1").arg(i))->text(), defaults[i].description);
    }
    EXPECT_TRUE(control<QRadioButton>("optObjects_0")->isChecked());

    // The light "Lys": directional, white diffuse and specular, theta/phi from 80/90 degrees.
    KLLightEngine lights;
    const int index = lights.GetLightIndex("Lys");
    EXPECT_EQ(index, scene().lightIndex());
    const D3DLIGHT8 light = lights.GetLight(index);
    EXPECT_EQ(light.Type, 3);
    EXPECT_FLOAT_EQ(light.Diffuse.r, 1.0f);
    EXPECT_FLOAT_EQ(light.Specular.g, 1.0f);
    EXPECT_FLOAT_EQ(light.Ambient.a, 1.0f);
    EXPECT_FLOAT_EQ(light.Ambient.r, 1.0f / 256);
    EXPECT_FLOAT_EQ(light.Direction.x, 1.0f);
    EXPECT_FLOAT_EQ(light.Direction.y, -1.0f);
    EXPECT_FLOAT_EQ(light.Direction.z, 1.0f);
    EXPECT_FLOAT_EQ(light.Range, 1000.0f);
    EXPECT_NEAR(light.Theta, 80 * M_PI / 180, 1e-5);
    EXPECT_NEAR(light.Phi, 90 * M_PI / 180, 1e-5);
    EXPECT_TRUE(lights.IsEnabled(index));

    // "Mat1" holds the default material (ambient 255 0 0 0 as (c + 1) / 256);
    // "BgMat" is white.
    KLMaterialFactory materials;
    EXPECT_EQ(materials.GetMaterialId("Mat1"), scene().materialId());
    EXPECT_EQ(materials.GetMaterialId("BgMat"), scene().backgroundMaterialId());
    const D3DCOLORVALUE ambient = materials.GetAmbient(scene().materialId());
    EXPECT_FLOAT_EQ(ambient.r, 1.0f);
    EXPECT_FLOAT_EQ(ambient.g, 1.0f / 256);
    EXPECT_FLOAT_EQ(materials.GetDiffuse(scene().materialId()).a, 1.0f);
    EXPECT_FLOAT_EQ(materials.GetPower(scene().materialId()), 0.0f);
    const D3DCOLORVALUE white = materials.GetEmissive(scene().backgroundMaterialId());
    EXPECT_FLOAT_EQ(white.r, 1.0f);
    EXPECT_FLOAT_EQ(white.a, 1.0f);

    // Textures by name, the bump texture among them.
    KLTextureFactory textures;
    EXPECT_GT(textures.GetTextureId("Back"), 0);
    EXPECT_EQ(textures.GetTextureId("Bump"), scene().bumpTextureId());

    // Frames run; the shown mesh sits at the centre.
    for (int frame = 0; frame < 3; ++frame)
        EXPECT_TRUE(form->runFrame());
    const D3DVECTOR position = scene().previewMesh(0).GetPosition();
    EXPECT_FLOAT_EQ(position.y, 50.0f);
}

TEST_F(StartUp, DamagedObjectsListIsReportedAndDefaultsAreUsed)
{
    QFile list(file("glazeryobjects.ini"));
    ASSERT_TRUE(list.open(QIODevice::WriteOnly));
    list.write("data\\models\\Sphere.X\r\nSphere\r\nnot a number\r\n");
    list.close();
    dialogs->expectMsgBox(platform::vbOK, "glazeryobjects.ini");
    startWindow();
    EXPECT_EQ(control<QRadioButton>("optObjects_8")->text(), "Skull");
    EXPECT_FALSE(scene().previewMesh(8).IsNull());
}

TEST_F(StartUp, MissingModelIsReportedAndTheRestLoads)
{
    ASSERT_TRUE(QFile::remove(file("data/models/Teapot.X")));
    dialogs->expectMsgBox(platform::vbOK, "Teapot");
    startWindow();
    EXPECT_GT(scene().previewMesh(0).GetVertexCount(), 0);
    EXPECT_GT(scene().previewMesh(2).GetVertexCount(), 0);
}

TEST_F(StartUp, AFileGivenAtStartUpLoadsAndAMissingOneIsNamed)
{
    startWindow();
    typeInto("Sg", "77");
    const MaterialSettings edited = form->currentSettings();
    const QString path = file("edited.mkl");
    dialogs->expectSaveFile(path);
    control<QAction>("mnuSave")->trigger();
    form.reset();

    startWindow(path);
    EXPECT_EQ(form->currentSettings(), edited);
    EXPECT_EQ(control<QLineEdit>("Sg")->text(), "77");
    form.reset();

    dialogs->expectMsgBox(platform::vbOK, "none.mkl was not found");
    startWindow(file("none.mkl"));
    EXPECT_NE(control<QLineEdit>("Sg")->text(), "77");
    EXPECT_EQ(dialogs->pending(), 0u);
}

using Column = GlazeryWindowTest;

TEST_F(Column, PanelsStartCollapsedExceptLightAndToggleBack)
{
    startWindow();
    for (int i = 0; i < SettingsColumn::PanelCount - 1; ++i)
        EXPECT_EQ(form->column().panelHeight(i), kCollapsedPanelHeight) << i;
    EXPECT_EQ(form->column().panelHeight(6), form->column().panelFullHeight(6));
    for (int i = 1; i < SettingsColumn::PanelCount; ++i)
        EXPECT_EQ(form->column().panelTop(i), form->column().panelTop(i - 1) + form->column().panelHeight(i - 1) + 4) << i;

    std::array<int, SettingsColumn::PanelCount> tops{};
    for (int i = 0; i < SettingsColumn::PanelCount; ++i)
        tops[static_cast<size_t>(i)] = form->column().panelTop(i);
    const double ratio = form->column().scrollRatio();

    // A click on the Specular header opens it and pushes the panels below down.
    auto* header = control<QWidget>("lblFrame_2");
    QTest::mousePress(header, Qt::LeftButton, {}, QPoint(10, 5));
    EXPECT_EQ(form->column().panelHeight(2), form->column().panelFullHeight(2));
    EXPECT_EQ(form->column().panelTop(3), form->column().panelTop(2) + form->column().panelFullHeight(2) + 4);
    EXPECT_GT(form->column().scrollRatio(), ratio);
    EXPECT_EQ(control<QWidget>("picFrame_3")->y(), toPixels(form->column().panelTop(3)));

    // A second click restores the former layout.
    QTest::mousePress(header, Qt::LeftButton, {}, QPoint(10, 5));
    for (int i = 0; i < SettingsColumn::PanelCount; ++i)
        EXPECT_EQ(form->column().panelTop(i), tops[static_cast<size_t>(i)]) << i;
    EXPECT_DOUBLE_EQ(form->column().scrollRatio(), ratio);
}

TEST_F(Column, ArrowsScrollWithinTheRestingTop)
{
    startWindow();
    QTest::mousePress(control<QWidget>("lblFrame_0"), Qt::LeftButton, {}, QPoint(10, 5));
    ASSERT_GT(form->column().scrollRatio(), 0);
    form->column().setScrollingDown(true);
    form->column().scrollStep(20);
    EXPECT_EQ(form->column().columnTop(), 120 - 100);
    EXPECT_GT(control<QWidget>("picScroller")->y(), 0);
    form->column().setScrollingDown(false);
    form->column().setScrollingUp(true);
    for (int i = 0; i < 5; ++i)
        form->column().scrollStep(20);
    EXPECT_EQ(form->column().columnTop(), 120);
    form->column().setScrollingUp(false);
}

TEST_F(Column, RightButtonDragMovesTheColumnButNotBelowItsRestingTop)
{
    startWindow();
    form->column().headerMouseDown(6, Qt::RightButton, 150);
    form->column().headerMouseMove(6, Qt::RightButton, 150 - 600);
    EXPECT_EQ(form->column().columnTop(), 120 - 600);
    form->column().headerMouseDown(6, Qt::RightButton, 150);
    form->column().headerMouseMove(6, Qt::RightButton, 150 + 3000);
    EXPECT_EQ(form->column().columnTop(), 120);
}

TEST_F(Column, DraggingTheScrollerMovesTheColumn)
{
    startWindow();
    for (int i = 0; i < 4; ++i)
        QTest::mousePress(control<QWidget>(QString("lblFrame_%1").arg(i)), Qt::LeftButton, {}, QPoint(10, 5));
    ASSERT_GT(form->column().scrollRatio(), 0);
    auto* scroller = control<QWidget>("picScroller");
    QTest::mousePress(scroller, Qt::LeftButton, {}, QPoint(5, 5));
    QMouseEvent move(QEvent::MouseMove, QPointF(5, 45), scroller->mapToGlobal(QPointF(5, 45)), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(scroller, &move);
    EXPECT_EQ(scroller->y(), 40);
    EXPECT_NEAR(form->column().columnTop(), 120 - toTwips(40) * form->column().scrollRatio(), 1.0);
    // The scroller stays inside its bar.
    QMouseEvent far(QEvent::MouseMove, QPointF(5, 5000), scroller->mapToGlobal(QPointF(5, 5000)), Qt::NoButton,
                    Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(scroller, &far);
    auto* bar = control<QWidget>("picScrollbar");
    EXPECT_EQ(scroller->y() + scroller->height(), bar->height());
}

TEST_F(Column, ClientAreaSnapsBackTo640By480)
{
    startWindow();
    form->resize(400, 300);
    QApplication::processEvents();
    QWidget* client = form->centralWidget();
    EXPECT_GE(client->width(), 640);
    EXPECT_GE(client->height(), 480);
    // The preview fills the rest, the quit button stays at the right edge.
    form->resize(1000, 700 + (form->height() - client->height()));
    QApplication::processEvents();
    auto* picture = control<QWidget>("Picture1");
    EXPECT_EQ(picture->x() + picture->width(), client->width() - 10);
    auto* quit = control<QWidget>("picButtonQuit");
    EXPECT_EQ(quit->x() + quit->width(), client->width() - 10);
}

using Loop = GlazeryWindowTest;

TEST_F(Loop, EscapeInThePreviewEndsTheLoop)
{
    startWindow();
    ASSERT_TRUE(form->runFrame());
    auto* picture = control<QWidget>("Picture1");
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier, 1, 0, 0);
    QApplication::sendEvent(picture, &press);
    EXPECT_FALSE(form->runFrame());
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_Escape, Qt::NoModifier, 1, 0, 0);
    QApplication::sendEvent(picture, &release);
}

TEST_F(Loop, ExitReleasesTheEngineAndEndsTheLoop)
{
    startWindow();
    control<QAction>("mnuExit")->trigger();
    EXPECT_TRUE(form->isShutDown());
    EXPECT_TRUE(scene().released());
    EXPECT_FALSE(form->isVisible());
    EXPECT_FALSE(form->runFrame());
    // A new engine can start after the old one is gone.
    KLEngine again;
    EXPECT_FALSE(again.IsInitialised());
}

TEST_F(Loop, ClosingTheWindowShutsDown)
{
    startWindow();
    form->close();
    EXPECT_TRUE(form->isShutDown());
    EXPECT_FALSE(form->runFrame());
}

TEST_F(Loop, DraggingInThePreviewTurnsAndTheWheelMovesTheObject)
{
    startWindow();
    control<QAction>("mnuAutoSpin")->trigger();
    form->runFrame();
    form->runFrame();
    const D3DVECTOR still = scene().previewMesh(0).GetRotation();
    auto* picture = control<QWidget>("Picture1");
    QTest::mousePress(picture, Qt::LeftButton, {}, QPoint(100, 100));
    for (int step = 1; step <= 5; ++step) {
        const QPointF at(100 + 10 * step, 100 + 10 * step);
        QMouseEvent move(QEvent::MouseMove, at, picture->mapToGlobal(at), Qt::NoButton, Qt::LeftButton,
                         Qt::NoModifier);
        QApplication::sendEvent(picture, &move);
        form->runFrame();
    }
    QTest::mouseRelease(picture, Qt::LeftButton, {}, QPoint(150, 150));
    const D3DVECTOR turned = scene().previewMesh(0).GetRotation();
    EXPECT_LT(turned.y, still.y);
    EXPECT_LT(turned.x, still.x);

    const float z = scene().previewMesh(0).GetPosition().z;
    QWheelEvent wheel(QPointF(100, 100), picture->mapToGlobal(QPointF(100, 100)), QPoint(), QPoint(0, 120),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    // Wheel events reach the native window first, as from the window system.
    ASSERT_NE(picture->windowHandle(), nullptr);
    QApplication::sendEvent(picture->windowHandle(), &wheel);
    form->runFrame();
    EXPECT_FLOAT_EQ(scene().previewMesh(0).GetPosition().z, z - 1.2f);
}

TEST_F(Loop, AutoSpinTurnsTheShownObjectOnlyWhileChecked)
{
    startWindow();
    for (int i = 0; i < 4; ++i)
        form->runFrame();
    const D3DVECTOR spun = scene().previewMesh(0).GetRotation();
    control<QAction>("mnuAutoSpin")->trigger();
    EXPECT_FALSE(control<QAction>("mnuAutoSpin")->isChecked());
    form->runFrame();
    const D3DVECTOR before = scene().previewMesh(0).GetRotation();
    for (int i = 0; i < 3; ++i)
        form->runFrame();
    const D3DVECTOR after = scene().previewMesh(0).GetRotation();
    EXPECT_FLOAT_EQ(after.y, before.y);
    EXPECT_GE(spun.y, 0.0f);
}

} // namespace
} // namespace glazery::test
