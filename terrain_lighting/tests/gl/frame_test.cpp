// The frame window under a display: start-up, the landscape settings, "New
// scene", picking, map files and shutdown.
#include "support/landlume_fixture.h"

#include "core/MapFile.h"

#include <platform/SaveFaults.h>

#include <korlith3d/KLEngine.h>
#include <korlith3d/KLLandscape.h>
#include <korlith3d/KLMesh.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QFrame>
#include <QImage>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QTest>

namespace landlume::test {
namespace {

class Frame : public LandlumeWindowTest {};

TEST_F(Frame, StartUpBuildsTheDefaultLandAndDrawsIt)
{
    startWindow();
    EXPECT_TRUE(frame->isVisible());
    EXPECT_EQ(frame->windowTitle(), "Landlume - Lightmap generation tool");
    EXPECT_TRUE(frame->mainView()->isVisible());
    EXPECT_EQ(frame->mainView()->windowTitle(), "Main");
    EXPECT_EQ(frame->lightmapWindow()->windowTitle(), "Lightmap");
    EXPECT_FLOAT_EQ(settings().landWidth, 2048.0f);
    EXPECT_FLOAT_EQ(settings().landHeight, 2048.0f);
    const D3DVECTOR marker = engine().lightMarker().GetPosition();
    EXPECT_FLOAT_EQ(marker.x, 1024.0f);
    EXPECT_FLOAT_EQ(marker.z, 1024.0f);
    EXPECT_FLOAT_EQ(marker.y, engine().heightAt(1024, 1024) + 200.0f);
    // The marker's own y axis lies along the light.
    EXPECT_NEAR(engine().lightMarker().GetRotationMatrix().m[1][0], 2.0f / 3.0f, 1e-5f);
    EXPECT_EQ(frame->lightmapWindow()->picture()->image().size(), QSize(512, 512));
    EXPECT_FALSE(control<QAction>("mnuCamera")->isChecked());
    EXPECT_EQ(control<QAction>("mnuSave")->shortcut(), QKeySequence("Ctrl+S"));
    EXPECT_EQ(control<QAction>("mnuExit")->shortcut(), QKeySequence("Ctrl+X"));
    EXPECT_EQ(control<QAction>("mnuAbout")->shortcut(), QKeySequence("F1"));

    // The first frames: the camera rides the ground along +x; the picture
    // shows land below the sky.
    frames(3);
    const D3DVECTOR eye = settings().camera.position;
    EXPECT_FLOAT_EQ(eye.y, engine().heightAt(0, 0) + 30.0f);
    // F12 writes the screenshot also while the camera is off.
    ASSERT_FALSE(settings().cameraActive);
    QKeyEvent f12(QEvent::KeyPress, Qt::Key_F12, Qt::NoModifier);
    QApplication::sendEvent(frame->mainView(), &f12);
    frames(2);
    QKeyEvent f12up(QEvent::KeyRelease, Qt::Key_F12, Qt::NoModifier);
    QApplication::sendEvent(frame->mainView(), &f12up);
    EXPECT_FALSE(QImage(file("Screenshots/Shot.bmp")).isNull());

    const QString shot = file("frame.bmp");
    engine().engine()->SaveScreenshot(shot);
    const QImage picture(shot);
    ASSERT_FALSE(picture.isNull());
    const QColor sky(picture.pixel(picture.width() - 5, 40));
    EXPECT_NEAR(sky.red(), 201, 3);   // scene colour 0.79, 0.89, 1.0
    EXPECT_NEAR(sky.blue(), 255, 3);
    const QColor ground(picture.pixel(picture.width() / 8, picture.height() - 5));
    EXPECT_GT(std::abs(ground.blue() - 255) + std::abs(ground.red() - 201), 40);
}

TEST_F(Frame, PanelButtonsDarkenWhilePressedAndTheKeyFilterSwallowsLetters)
{
    startWindow();
    auto* shape = control<ShapeButton>("ShpApplyLand");
    auto* label = control<QLabel>("LblApplyLand");
    EXPECT_EQ(label->text(), "Apply");
    EXPECT_EQ(label->toolTip(), "Apply changes");
    QTest::mousePress(label, Qt::LeftButton);
    EXPECT_EQ(shape->fillGrey(), 64);
    QTest::mouseRelease(label, Qt::LeftButton);
    EXPECT_EQ(shape->fillGrey(), 128);
    EXPECT_EQ(control<QLabel>("LblSaveCoords")->text(), "Save shadow coordinates");

    auto* width = control<QLineEdit>("TxtLandSet_0");
    width->clear();
    QTest::keyClicks(width, "a1b.-2 ,e");
    EXPECT_EQ(width->text(), "1.-2");
    QTest::keyClick(width, Qt::Key_Backspace);
    EXPECT_EQ(width->text(), "1.-");
    auto* light = control<QLineEdit>("TxtLightDir_0");
    light->clear();
    QTest::keyClicks(light, "1e2");
    EXPECT_EQ(light->text(), "1e2");
}

TEST_F(Frame, ApplyWithFourByFourChunksAndRefusedValues)
{
    startWindow();
    setText("TxtLandSet_0", "4");
    setText("TxtLandSet_1", "4");
    setText("TxtLandSet_2", "0.5");
    click("LblApplyLand");
    EXPECT_FLOAT_EQ(settings().landWidth, 1024.0f);
    EXPECT_FLOAT_EQ(settings().landHeight, 1024.0f);
    EXPECT_FLOAT_EQ(settings().factorY, 0.5f);
    ASSERT_NE(engine().landscape(), nullptr);
    EXPECT_EQ(engine().landscape()->GetChunksX(), 4);
    const D3DVECTOR marker = engine().lightMarker().GetPosition();
    EXPECT_FLOAT_EQ(marker.x, 512.0f);
    EXPECT_FLOAT_EQ(marker.z, 512.0f);
    EXPECT_FLOAT_EQ(marker.y, engine().heightAt(512, 512) + 200.0f);

    // Boxes holding no usable number: a message naming the box, and the
    // landscape stays as it is.
    const KLLandscape* before = engine().landscape();
    const std::pair<const char*, const char*> refused[] = {
        {"TxtLandSet_0", "abc"}, {"TxtLandSet_1", "40000"}, {"TxtLandSet_0", ""}, {"TxtLandSet_2", "1.2.3"}};
    for (const auto& [box, value] : refused) {
        setText("TxtLandSet_0", "4");
        setText("TxtLandSet_1", "4");
        setText("TxtLandSet_2", "1");
        setText(box, value);
        dialogs->expectMsgBox(platform::vbOK, QString::fromLatin1(box) == "TxtLandSet_1" ? "Height" : "Landscape");
        click("LblApplyLand");
        EXPECT_EQ(engine().landscape(), before) << box << " = " << value;
        EXPECT_FLOAT_EQ(settings().landWidth, 1024.0f);
    }
    ASSERT_GE(dialogs->calls().size(), 2u);
    EXPECT_TRUE(dialogs->calls()[1].prompt.contains("Height"));
    EXPECT_TRUE(dialogs->calls()[1].prompt.contains("32767"));
    EXPECT_EQ(dialogs->calls()[1].title, "Invalid settings");

    dialogs->expectMsgBox(platform::vbOK, "Light direction Y");
    setText("TxtLightDir_1", "down");
    click("LblApplyLight");
    EXPECT_FLOAT_EQ(settings().lightDirection.y, -1.0f);
}

TEST_F(Frame, NewSceneResetsEveryBoxAndForgetsTheObjects)
{
    startWindow();
    PlacedObject tree;
    tree.fileName = "Models\\tree.x";
    tree.meshPosition = {300, 0, 400};
    ASSERT_TRUE(engine().placeObject("x", tree));
    EXPECT_EQ(text("LblPlacement_0"), "300");
    EXPECT_EQ(text("TxtObjectPos_2"), "400");
    for (const char* box : {"TxtLandSet_0", "TxtLandSet_1", "TxtLandSet_2", "TxtShadowSet_0", "TxtShadowSet_1",
                            "TxtShadowSet_2", "TxtLightDir_0", "TxtLightDir_1", "TxtLightDir_2", "TxtObjectScale_1"})
        setText(box, "7");
    control<QAction>("mnuCamera")->trigger();
    EXPECT_TRUE(settings().cameraActive);
    control<QCheckBox>("ChkLShadows")->setChecked(false);
    frame->lightmapWindow()->picture()->image().fill(Qt::black);

    control<QAction>("mnuNew")->trigger();
    const QStringList expected{"8", "8", "1", "512", "512", "0.4", "2", "-1", "2", "1"};
    const QStringList boxes{"TxtLandSet_0",   "TxtLandSet_1",  "TxtLandSet_2",  "TxtShadowSet_0", "TxtShadowSet_1",
                            "TxtShadowSet_2", "TxtLightDir_0", "TxtLightDir_1", "TxtLightDir_2",  "TxtObjectScale_1"};
    for (int i = 0; i < boxes.size(); ++i)
        EXPECT_EQ(text(boxes[i]), expected[i]) << boxes[i].toStdString();
    EXPECT_EQ(text("LblPlacement_0"), "-");
    EXPECT_TRUE(control<QCheckBox>("ChkLShadows")->isChecked());
    EXPECT_FALSE(control<QAction>("mnuCamera")->isChecked());
    EXPECT_FALSE(settings().cameraActive);
    EXPECT_EQ(engine().objectCount(), 0);
    EXPECT_EQ(QColor(frame->lightmapWindow()->picture()->image().pixel(10, 10)), QColor(Qt::white));

    // The selection index still names slot 1, which holds no object now:
    // "Apply" does nothing.
    EXPECT_FLOAT_EQ(settings().selectedObject, 1.0f);
    EXPECT_EQ(engine().selectedSlot(), 0);
    setText("TxtObjectPos_0", "50");
    click("LblApplyObject");
    EXPECT_EQ(text("LblPlacement_0"), "-");
}

TEST_F(Frame, APressOnAnObjectSelectsItOncePerPress)
{
    startWindow();
    settings().camera.position = {0, 0, 600};
    settings().camera.yaw = 0;
    settings().camera.pitch = 0;
    frames(2);
    const float eyeY = settings().camera.position.y;
    PlacedObject house;
    house.fileName = "Models\\house.3ds";
    house.onLand = false;
    house.meshPosition = {120, eyeY - 6, 600};
    house.meshScale = {2, 2, 2};
    ASSERT_TRUE(engine().placeObject("3ds", house));
    PlacedObject rock;
    rock.fileName = "Models\\rock.x";
    rock.meshPosition = {1500, 0, 1500};
    ASSERT_TRUE(engine().placeObject("x", rock));
    EXPECT_EQ(engine().selectedSlot(), 2);

    QWidget* view = frame->mainView();
    const QPointF centre(view->width() / 2.0, view->height() / 2.0);
    const auto mouse = [&](QEvent::Type type, Qt::MouseButtons buttons) {
        QMouseEvent event(type, centre, view->mapToGlobal(centre), Qt::LeftButton, buttons, Qt::NoModifier);
        QApplication::sendEvent(view, &event);
    };
    // Camera off: a click does nothing.
    mouse(QEvent::MouseButtonPress, Qt::LeftButton);
    frames(1);
    mouse(QEvent::MouseButtonRelease, Qt::NoButton);
    frames(1);
    EXPECT_EQ(engine().selectedSlot(), 2);

    control<QAction>("mnuCamera")->trigger();
    mouse(QEvent::MouseButtonPress, Qt::LeftButton);
    frames(1);
    EXPECT_EQ(engine().selectedSlot(), 1);
    EXPECT_EQ(text("LblPlacement_0"), "120");
    // Still held: no new selection.
    settings().selectedObject = 2;
    frames(2);
    EXPECT_EQ(engine().selectedSlot(), 2);
    mouse(QEvent::MouseButtonRelease, Qt::NoButton);
    frames(1);
    mouse(QEvent::MouseButtonPress, Qt::LeftButton);
    frames(1);
    EXPECT_EQ(engine().selectedSlot(), 1);
    mouse(QEvent::MouseButtonRelease, Qt::NoButton);
}

TEST_F(Frame, MapFilesPlaceTheExampleObjectsOnTheGroundAndSaveThemBack)
{
    startWindow();
    const QString map = file("Maps/example.ldm");
    ASSERT_TRUE(QFileInfo::exists(map));
    ASSERT_TRUE(writeMapKey("OBJECTS", "Position1", "700;999;820", map));
    dialogs->expectOpenFile(map);
    control<QAction>("mnuOpen")->trigger();
    EXPECT_EQ(dialogs->calls().at(0).title, "Open LDM:");
    EXPECT_TRUE(dialogs->calls().at(0).file.initialFolder.endsWith("/Maps"));
    ASSERT_EQ(engine().objectCount(), 3);
    // "Positioned" True: on the ground whatever y the file holds; the record keeps 999.
    const D3DVECTOR tree = engine().objectMesh(1).GetPosition();
    EXPECT_FLOAT_EQ(tree.y, engine().heightAt(700, 820));
    EXPECT_FLOAT_EQ(engine().record(1).meshPosition.y, 999.0f);
    EXPECT_EQ(engine().objectMesh(3).GetName(), "O3");
    // The last object read is selected and shown.
    EXPECT_EQ(engine().selectedSlot(), 3);
    EXPECT_EQ(text("LblPlacement_0"), "1240");

    // An aligned object leans with the ground over the next frames.
    const D3DMATRIX before = engine().objectMesh(2).GetRotationMatrix();
    frames(5);
    const D3DMATRIX after = engine().objectMesh(2).GetRotationMatrix();
    EXPECT_NE(std::memcmp(&before, &after, sizeof before), 0);

    // Apply on another land puts every object back on the ground at its x and z.
    setText("TxtLandSet_2", "2");
    click("LblApplyLand");
    EXPECT_FLOAT_EQ(engine().objectMesh(1).GetPosition().y, engine().heightAt(700, 820));
    EXPECT_FLOAT_EQ(engine().record(1).meshPosition.y, 999.0f);

    dialogs->expectSaveFile(file("saved"));
    control<QAction>("mnuSave")->trigger();
    const QString saved = file("saved.ldm");
    ASSERT_TRUE(QFileInfo::exists(saved));
    EXPECT_EQ(readMapKey("OBJECTS", "Count", saved), "3");
    EXPECT_EQ(readMapKey("OBJECTS", "Object3", saved), "Models\\house.3ds");
    EXPECT_EQ(readMapKey("LANDSCAPE", "FactorY", saved), "2");
    EXPECT_EQ(readMapKey("OBJECTS", "Aligned2", saved), "True");

    // A save that cannot replace the map keeps the saved file and says so.
    {
        QFile before(saved);
        ASSERT_TRUE(before.open(QIODevice::ReadOnly));
        const QByteArray bytes = before.readAll();
        before.close();
        setText("TxtLandSet_2", "3");
        click("LblApplyLand");
        const platform::ScopedSaveFault injected(platform::SaveFault::Rename);
        dialogs->expectSaveFile(saved);
        dialogs->expectMsgBox(platform::vbOK, "The map could not be saved to " + saved);
        control<QAction>("mnuSave")->trigger();
        EXPECT_EQ(dialogs->pending(), 0u);
        EXPECT_EQ(dialogs->calls().back().style, platform::vbExclamation);
        ASSERT_TRUE(before.open(QIODevice::ReadOnly));
        EXPECT_EQ(before.readAll(), bytes);
    }

    // A map that fails half-way keeps what it loaded and names the key.
    ASSERT_TRUE(writeMapKey("OBJECTS", "Object2", "Models\\missing.x", saved));
    dialogs->expectMsgBox(platform::vbOK, "Object2");
    frame->mapFiles().openMapFile(saved);
    EXPECT_EQ(engine().objectCount(), 1);
    EXPECT_FLOAT_EQ(settings().factorY, 2.0f);
    EXPECT_EQ(text("TxtLandSet_2"), "2");
}

TEST_F(Frame, ClosingTheFrameEndsTheLoopAndShutsDownInOrder)
{
    startWindow();
    frames(1);
    EXPECT_FALSE(frame->close());   // refused
    EXPECT_TRUE(frame->isVisible());
    EXPECT_FALSE(settings().running);
    EXPECT_FALSE(frame->frame());
    frame->shutdown();
    EXPECT_FALSE(engine().started());
    EXPECT_EQ(engine().shutdownSteps(),
              (QStringList{"Kill_Textures", "Kill_Scene", "Kill_Materials", "Kill_Land", "Kill_Objects",
                           "Kill_LightSpot", "Kill_Light", "Kill_Screen2D", "Kill_Font", "Kill_Camera", "Kill_Input",
                           "ShowMouseCursor", "Release engine"}));
}

TEST_F(Frame, AMissingMarkerModelEndsStartUpWithAMessageNamingIt)
{
    ASSERT_TRUE(QFile::remove(file("Models/spot.x")));
    dialogs->expectMsgBox(platform::vbOK, "spot.x");
    frame = std::make_unique<MDIMain>(folder.path());
    EXPECT_FALSE(frame->load(false));
    EXPECT_FALSE(engine().started());
}

TEST_F(Frame, AMapGivenAtStartUpOpensOnceTheEngineRunsAndAMissingOneIsNamed)
{
    startWindow(file("Maps/example.ldm"));
    EXPECT_TRUE(dialogs->calls().empty());   // opened without the file dialog
    ASSERT_EQ(engine().objectCount(), 3);
    EXPECT_FLOAT_EQ(engine().objectMesh(1).GetPosition().y,
                    engine().heightAt(engine().record(1).meshPosition.x, engine().record(1).meshPosition.z));
    frame.reset();

    dialogs->expectMsgBox(platform::vbOK, "none.ldm");
    startWindow(file("Maps/none.ldm"));
    ASSERT_EQ(dialogs->calls().size(), 1u);
    EXPECT_EQ(engine().objectCount(), 0);
    EXPECT_EQ(text("TxtLandSet_0"), "8");   // the default scene stays
}

} // namespace
} // namespace landlume::test
