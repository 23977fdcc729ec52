// Material and light editing controls, material files and the code window.
#include "support/window_test_support.h"

#include "core/MaterialFile.h"
#include "ui/Form2.h"

#include <korlith3d/KLLightEngine.h>
#include <korlith3d/KLMaterialFactory.h>
#include <korlith3d/KLTextureFactory.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>

namespace glazery::test {
namespace {

class Editing : public GlazeryWindowTest {
protected:
    void SetUp() override
    {
        GlazeryWindowTest::SetUp();
        startWindow();
    }

    D3DCOLORVALUE ambient() { return KLMaterialFactory().GetAmbient(scene().materialId()); }
    D3DLIGHT8 light() { return KLLightEngine().GetLight(scene().lightIndex()); }

    // A mouse move over a box at y pixels, with or without the left button.
    void moveOver(const QString& name, int y, bool leftButton)
    {
        auto* box = control<QWidget>(name);
        const Qt::MouseButtons buttons = leftButton ? Qt::LeftButton : Qt::NoButton;
        QMouseEvent move(QEvent::MouseMove, QPointF(5, y), box->mapToGlobal(QPointF(5, y)), Qt::NoButton,
                         buttons, Qt::NoModifier);
        QApplication::sendEvent(box, &move);
    }
    // A left-button drag 8 px (120 twips) upward over a box: one large step up.
    void dragUp(const QString& name)
    {
        moveOver(name, 10, false);
        moveOver(name, 2, true);
    }
    QString text(const QString& name) { return control<QLineEdit>(name)->text(); }
    // The user picks a row of the light type list.
    void chooseLightType(int row)
    {
        auto* type = control<QComboBox>("cboTypeOfLight");
        type->setCurrentIndex(row);
        emit type->activated(row);
    }
};

TEST_F(Editing, MaterialBoxClampsMovesItsSliderAndSendsTheColour)
{
    typeInto("Ar", "300");
    EXPECT_EQ(text("Ar"), "255");
    EXPECT_EQ(control<QSlider>("VAr")->value(), 255);
    EXPECT_FLOAT_EQ(ambient().r, 1.0f);

    typeInto("Ar", "-4");
    EXPECT_EQ(text("Ar"), "0");
    EXPECT_EQ(control<QSlider>("VAr")->value(), 0);
    EXPECT_FLOAT_EQ(ambient().r, 0.00390625f);

    // The power belongs to the specular group.
    typeInto("Pow", "12.6");
    EXPECT_EQ(text("Pow"), "13");
    EXPECT_FLOAT_EQ(KLMaterialFactory().GetPower(scene().materialId()), 13.0f);
}

TEST_F(Editing, SliderWritesItsBoxAndAppliesTheGroup)
{
    control<QSlider>("VEg")->setValue(127);
    EXPECT_EQ(text("Eg"), "127");
    EXPECT_FLOAT_EQ(KLMaterialFactory().GetEmissive(scene().materialId()).g, 0.5f);
}

TEST_F(Editing, DraggingUpwardRaisesByTheDistanceStep)
{
    control<QLineEdit>("Ab")->setText("100");
    // Twips: 15 per pixel. 3 px = 45 twips (> 30): large step 5.
    moveOver("Ab", 10, false);
    moveOver("Ab", 7, true);
    EXPECT_EQ(text("Ab"), "105");
    // 1 px = 15 twips (11..30): small step 1.
    moveOver("Ab", 6, true);
    EXPECT_EQ(text("Ab"), "106");
    // Downward lowers; no movement changes nothing.
    moveOver("Ab", 9, true);
    EXPECT_EQ(text("Ab"), "101");
    moveOver("Ab", 9, true);
    EXPECT_EQ(text("Ab"), "101");
    EXPECT_FLOAT_EQ(ambient().b, 102.0f / 256);
    // The alpha box of the ambient group has no drag-to-adjust.
    control<QLineEdit>("Aa")->setText("7");
    dragUp("Aa");
    EXPECT_EQ(text("Aa"), "7");
}

TEST_F(Editing, SpotAnglesStayCoupledAndWithinLimits)
{
    chooseLightType(2);
    control<QLineEdit>("tPhi")->setText("81");
    control<QLineEdit>("tTheta")->setText("80");
    moveOver("tPhi", 10, false);
    moveOver("tPhi", 13, true); // down by 45 twips: phi - 5
    EXPECT_EQ(text("tPhi"), "76");
    EXPECT_EQ(text("tTheta"), "75");
    EXPECT_NEAR(light().Phi, 76 * M_PI / 180, 1e-5);
    // Theta cannot be dragged to phi.
    dragUp("tTheta");
    EXPECT_EQ(text("tTheta"), "75");

    control<QLineEdit>("pX")->setText("995");
    dragUp("pX");
    EXPECT_EQ(text("pX"), "999");
    EXPECT_FLOAT_EQ(light().Position.x, 999.0f);
    control<QLineEdit>("tX")->setText("5");
    dragUp("tX");
    EXPECT_EQ(text("tX"), "5");
}

TEST_F(Editing, LightTypeEnablesItsFieldsAndReachesTheLight)
{
    auto* type = control<QComboBox>("cboTypeOfLight");
    EXPECT_EQ(type->currentIndex(), 0);
    EXPECT_FALSE(control<QWidget>("pX")->isEnabled());
    EXPECT_FALSE(control<QWidget>("tTheta")->isEnabled());
    EXPECT_FALSE(control<QWidget>("lRange")->isEnabled());
    EXPECT_TRUE(control<QWidget>("tX")->isEnabled());

    chooseLightType(1);
    EXPECT_EQ(light().Type, 1);
    EXPECT_TRUE(control<QWidget>("pZ")->isEnabled());
    EXPECT_TRUE(control<QWidget>("lRange")->isEnabled());
    EXPECT_FALSE(control<QWidget>("tY")->isEnabled());
    EXPECT_FALSE(control<QWidget>("tPhi")->isEnabled());

    control<QRadioButton>("Option6")->click();
    EXPECT_FALSE(KLLightEngine().IsEnabled(scene().lightIndex()));
    control<QRadioButton>("Option5")->click();
    EXPECT_TRUE(KLLightEngine().IsEnabled(scene().lightIndex()));
}

TEST_F(Editing, LightColourMoveResendsTheLightAndPaintsTheSwatch)
{
    control<QLineEdit>("laR")->setText("127");
    moveOver("laR", 5, false);
    EXPECT_FLOAT_EQ(light().Ambient.r, 0.5f);
    EXPECT_FLOAT_EQ(light().Ambient.a, 1.0f);
    EXPECT_EQ(control<PictureBox>("picLightAmb")->backColor(), QColor(127, 0, 0));
    EXPECT_EQ(text("laR"), "127");
}

TEST_F(Editing, DirectionSliderSetsItsBoxAndTheDirection)
{
    control<QSlider>("vsY")->setValue(9);
    EXPECT_EQ(text("tY"), "4");
    EXPECT_FLOAT_EQ(light().Direction.y, 4.0f);
}

TEST_F(Editing, SwatchTakesTheChosenColourAndCancelChangesNothing)
{
    dialogs->expectColor(QColor(10, 20, 30));
    emit control<PictureBox>("PicDif")->clicked();
    EXPECT_EQ(text("Dr"), "10");
    EXPECT_EQ(text("Dg"), "20");
    EXPECT_EQ(text("Db"), "30");
    EXPECT_FLOAT_EQ(KLMaterialFactory().GetDiffuse(scene().materialId()).b, 31.0f / 256);
    dialogs->expectColor(std::nullopt);
    emit control<PictureBox>("PicDif")->clicked();
    EXPECT_EQ(text("Dr"), "10");

    // A light swatch fills its trio, resends the light and shows the colour.
    dialogs->expectColor(QColor(255, 127, 0));
    emit control<PictureBox>("picLightSpq")->clicked();
    EXPECT_EQ(text("lsR"), "255");
    EXPECT_EQ(text("lsG"), "127");
    EXPECT_EQ(text("lsB"), "0");
    EXPECT_FLOAT_EQ(light().Specular.g, 0.5f);
    EXPECT_EQ(control<PictureBox>("picLightSpq")->backColor(), QColor(255, 127, 0));
    dialogs->expectColor(std::nullopt);
    emit control<PictureBox>("picLightSpq")->clicked();
    EXPECT_EQ(text("lsG"), "127");
}

TEST_F(Editing, SavedStartUpStateLoadsBackIntoEveryControl)
{
    const QString path = file("saved.mkl");
    const MaterialSettings startUp = form->currentSettings();
    dialogs->expectSaveFile(path);
    control<QAction>("mnuSave")->trigger();
    QFile saved(path);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    const QByteArray content = saved.readAll();
    EXPECT_EQ(content.count("\r\n"), 43);
    EXPECT_EQ(content.split('\n').size(), 44);

    // Change a bit of everything, then load the file back.
    typeInto("Sg", "77");
    control<QCheckBox>("Check2")->click();
    control<QRadioButton>("optObjects_4")->click();
    control<QRadioButton>("Option6")->click();
    control<QComboBox>("cboTypeOfLight")->setCurrentIndex(2);
    control<QLineEdit>("lRange")->setText("5");
    ASSERT_NE(form->currentSettings(), startUp);
    dialogs->expectOpenFile(path);
    control<QAction>("mnuLoad")->trigger();
    EXPECT_EQ(form->currentSettings(), startUp);
    EXPECT_TRUE(scene().previewMesh(0).IsVisible());
    EXPECT_FALSE(scene().previewMesh(4).IsVisible());
    EXPECT_TRUE(KLLightEngine().IsEnabled(scene().lightIndex()));
    EXPECT_FALSE(scene().previewMesh(0).GetSphereMapping());
}

TEST_F(Editing, LoadedFileSetsSwitchesTexturesAndLight)
{
    MaterialSettings settings;
    settings.material.ambient.green = "128";
    settings.texturePath = file("Data/textures/Floors017.jpg");
    settings.backgroundPath = file("gone.jpg");
    settings.sphereMapping = true;
    settings.shownObject = 3;
    settings.light.typeRow = kSpotRow;
    settings.light.diffuse = {"0", "127", "255"};
    ASSERT_TRUE(writeMaterialFile(file("m.mkl"), settings).ok);
    ASSERT_TRUE(form->loadMaterialFile(file("m.mkl")));
    EXPECT_EQ(text("txtTexture"), settings.texturePath);
    EXPECT_EQ(text("txtBackGround"), "<none>");
    EXPECT_TRUE(control<QCheckBox>("Check2")->isChecked());
    EXPECT_TRUE(scene().previewMesh(3).GetSphereMapping());
    EXPECT_TRUE(scene().previewMesh(3).IsVisible());
    EXPECT_FALSE(scene().previewMesh(0).IsVisible());
    EXPECT_TRUE(control<QRadioButton>("optObjects_3")->isChecked());
    EXPECT_EQ(light().Type, 2);
    EXPECT_FLOAT_EQ(light().Diffuse.g, 0.5f);
    EXPECT_TRUE(control<QWidget>("tPhi")->isEnabled());
    EXPECT_EQ(control<QSlider>("VAg")->value(), 128);
    EXPECT_FLOAT_EQ(ambient().g, 129.0f / 256);
}

TEST_F(Editing, DamagedFileIsReportedAndChangesNothing)
{
    QFile bad(file("bad.mkl"));
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write("12\r\n\xff\xfe\r\n");
    bad.close();
    const MaterialSettings before = form->currentSettings();
    dialogs->expectMsgBox(platform::vbOK, "bad.mkl");
    EXPECT_FALSE(form->loadMaterialFile(file("bad.mkl")));
    EXPECT_EQ(form->currentSettings(), before);
}

TEST_F(Editing, FailedSaveShowsTheMessage)
{
    dialogs->expectSaveFile(file("no/such/folder/x.mkl"));
    dialogs->expectMsgBox(platform::vbOK, "Some error occured and the material may not be saved. Try to save again.");
    control<QAction>("mnuSave")->trigger();
    EXPECT_FALSE(QFile::exists(file("no/such/folder/x.mkl")));
}

TEST_F(Editing, DefaultRestoresTheLightOnly)
{
    typeInto("Ar", "10");
    control<QComboBox>("cboTypeOfLight")->setCurrentIndex(1);
    control<QLineEdit>("ldG")->setText("3");
    control<QRadioButton>("Option6")->click();
    control<QPushButton>("Command8")->click();
    EXPECT_EQ(text("Ar"), "10");
    EXPECT_EQ(text("ldG"), "255");
    EXPECT_EQ(control<QComboBox>("cboTypeOfLight")->currentIndex(), 0);
    EXPECT_TRUE(KLLightEngine().IsEnabled(scene().lightIndex()));
    EXPECT_FLOAT_EQ(light().Diffuse.g, 1.0f);

    // Without a default file the light stays as it is.
    QFile::remove(file("default.mkl"));
    control<QLineEdit>("ldG")->setText("3");
    control<QPushButton>("Command8")->click();
    EXPECT_EQ(text("ldG"), "3");
}

TEST_F(Editing, TextureButtonsLoadAndClear)
{
    const QString picture = file("Data/textures/Floors017.jpg");
    dialogs->expectOpenFile(picture);
    control<QPushButton>("Command3")->click();
    EXPECT_EQ(text("txtTexture"), picture);
    EXPECT_EQ(dialogs->calls().back().title, "Open texture for Sphere");

    dialogs->expectOpenFile(picture);
    control<QPushButton>("Command7")->click();
    EXPECT_EQ(text("txtBumpMap"), picture);
    EXPECT_TRUE(control<QRadioButton>("Option4")->isChecked());
    EXPECT_TRUE(scene().previewMesh(0).GetBumpMapping());

    control<QPushButton>("Command6")->click();
    EXPECT_EQ(text("txtBumpMap"), "<none>");
    EXPECT_TRUE(control<QRadioButton>("Option3")->isChecked());
    EXPECT_FALSE(scene().previewMesh(0).GetBumpMapping());
    EXPECT_FALSE(KLTextureFactory().TextureExists(scene().bumpTextureId()));

    // A file the engine cannot read is reported and the box keeps its text.
    QFile junk(file("junk.jpg"));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write("not a picture");
    junk.close();
    dialogs->expectOpenFile(file("junk.jpg"));
    dialogs->expectMsgBox(platform::vbOK, "junk.jpg");
    control<QPushButton>("Command4")->click();
    EXPECT_EQ(text("txtBackGround"), "<none>");
}

TEST_F(Editing, CodeWindowUsesTheControlsAndKeepsItsNames)
{
    {
        Form2 code(*form);
        code.createCode();
        EXPECT_TRUE(code.code().startsWith("'Material settings\r\nMy_matfact.CreateMaterial \"My_Mat\" \r\n"));
        EXPECT_TRUE(code.code().endsWith("My_Light.CreateLight My_D3DLight8"));
        EXPECT_TRUE(code.code().contains("My_D3DLight8.type = 3\r\n"));
        // Another language waits for "Re Make Code"; a new name is used everywhere.
        code.findChild<QRadioButton*>("roCSharp")->click();
        const QString vb = code.code();
        code.findChild<QLineEdit*>("Text4")->setText("Sun");
        EXPECT_EQ(code.code(), vb);
        code.findChild<QPushButton*>("Command2")->click();
        EXPECT_TRUE(code.code().endsWith("Sun.CreateLight(My_D3DLight8,\"name\",false);"));
        EXPECT_TRUE(code.findChild<QPlainTextEdit*>("Text1")->toPlainText().contains("1.0000f"));
    }
    Form2 again(*form);
    EXPECT_EQ(again.findChild<QLineEdit*>("Text4")->text(), "Sun");
    EXPECT_TRUE(again.findChild<QRadioButton*>("roVB")->isChecked());
}

} // namespace
} // namespace glazery::test
