// Emberly's main window under a display: start-up, the frame loop's rules,
// the emitter selector, the colour boxes, sliders, reset, the registry values
// and the DirectX check.
#include "support/window_test_support.h"

#include "core/EmberlyRegistry.h"

#include <korlith3d/KLAtmosphere.h>
#include <korlith3d/KLParticleSystem.h>

#include <platform/Registry.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QSlider>
#include <QTabBar>
#include <QAction>
#include <QDialog>
#include <QPlainTextEdit>
#include <QTest>
#include <QTimer>
#include <QThread>

namespace emberly::test {
namespace {

// Passes of the loop spread over `ms` milliseconds, so generators have time to run.
void playFor(frmMain& form, int ms)
{
    for (int t = 0; t < ms; t += 40) {
        form.runFrame();
        QThread::msleep(40);
    }
}

TEST_F(EmberlyWindowTest, StartUpPlaysTheFirstEmitterOverTheScene)
{
    startWindow();
    EXPECT_EQ(form->windowTitle(), "Emberly - v1.2");
    EXPECT_TRUE(control<QCheckBox>("chkPause_0")->isChecked());
    EXPECT_FALSE(control<QCheckBox>("chkPause_1")->isChecked());
    EXPECT_FALSE(control<QRadioButton>("optTotEmit_1")->isEnabled());
    EXPECT_FALSE(control<QRadioButton>("optTotEmit_2")->isEnabled());
    EXPECT_TRUE(control<QRadioButton>("optTotEmit_0")->isChecked());
    // Textures in load order, as presets and code rely on.
    EXPECT_EQ(form->scene().textureId("Flake"), 1);
    EXPECT_EQ(form->scene().textureId("Custom"), 5);
    EXPECT_EQ(form->scene().textureId("skybk"), 19);
    EXPECT_EQ(form->scene().atmosphere()->GetSkyBoxTexture(0), form->scene().textureId("Front"));
    EXPECT_EQ(form->records().particles[0].TextureID, 1);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(form->factory(i).Particle()->GetTotal(), 1000);

    playFor(*form, 1200);
    EXPECT_GT(form->renderedFrames(), 0);
    EXPECT_GT(liveParticles(0), 0);
    EXPECT_EQ(liveParticles(1), 0);
    EXPECT_EQ(liveParticles(2), 0);
    // The frame loop copies the gravity slider (2) into the current emitter.
    EXPECT_EQ(form->records().emitters[0].Gravity, 2);
    EXPECT_EQ(form->factory(0).emitterCopy().Gravity, 2);
    // The tab pages lie on one another, the first in front.
    EXPECT_EQ(control<QWidget>("Frame1_1")->pos(), control<QWidget>("Frame1_0")->pos());
    control<QTabBar>("TabStrip1")->setCurrentIndex(2);
    EXPECT_EQ(control<QWidget>("Frame1_2")->parentWidget()->children().last(), control<QWidget>("Frame1_2"));
}

TEST_F(EmberlyWindowTest, AnInactiveWindowDrawsNothingAndMakesNoParticlesButStillSeesEscape)
{
    active = false;
    startWindow();
    playFor(*form, 600);
    EXPECT_EQ(form->renderedFrames(), 0);
    EXPECT_EQ(liveParticles(0), 0);
    active = true;
    playFor(*form, 800);
    EXPECT_GT(liveParticles(0), 0);
    active = false;
    QTest::keyPress(form.get(), Qt::Key_Escape);
    EXPECT_FALSE(form->runFrame());
}

TEST_F(EmberlyWindowTest, WithEveryEmitterOffNothingIsMadeButTheCurrentRecordsRefresh)
{
    startWindow();
    QTest::mouseClick(control<QCheckBox>("chkPause_0"), Qt::LeftButton);
    ASSERT_FALSE(form->emitterEnabled(0));
    control<QSlider>("sldGravity")->setValue(-5);
    control<QComboBox>("cmbMotion")->setCurrentIndex(4);
    playFor(*form, 800);
    EXPECT_EQ(liveParticles(0), 0);
    EXPECT_GT(form->renderedFrames(), 0);
    EXPECT_EQ(form->records().emitters[0].Gravity, -5);
    EXPECT_EQ(form->factory(0).emitterCopy().Motion, 4);
}

TEST_F(EmberlyWindowTest, ResetRestoresTheRecordsAndKeepsTheBillboardCount)
{
    startWindow();
    form->records().particles[1].Total = 40;
    form->records().emitters[2].Style = 3;
    form->menuReset();
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(form->records().particles[std::size_t(i)].Total, 1000);
        EXPECT_EQ(form->records().particles[std::size_t(i)].TextureID, 3);
        EXPECT_FLOAT_EQ(form->records().emitters[std::size_t(i)].Power, 0.25f * float(i + 1));
        EXPECT_EQ(form->factory(i).Particle()->GetTotal(), 1000);
    }
    EXPECT_EQ(form->factory(2).emitterCopy().Style, 1);
    EXPECT_EQ(form->currentEmitter(), 0);
    EXPECT_EQ(control<QSlider>("sldPartPower")->value(), 2);   // 0.25 x 10, halves to even
    EXPECT_EQ(control<QComboBox>("cmbTex")->currentText(), "Flare");
}

TEST_F(EmberlyWindowTest, EnableBoxesSelectAndHandOverTheCurrentEmitter)
{
    startWindow();
    QTest::mouseClick(control<QCheckBox>("chkPause_1"), Qt::LeftButton);
    EXPECT_TRUE(control<QRadioButton>("optTotEmit_1")->isEnabled());
    EXPECT_EQ(form->currentEmitter(), 1);
    QTest::mouseClick(control<QCheckBox>("chkPause_2"), Qt::LeftButton);
    EXPECT_EQ(form->currentEmitter(), 2);
    // Turning off the selected one selects the enabled ones in turn: the highest ends selected.
    QTest::mouseClick(control<QCheckBox>("chkPause_2"), Qt::LeftButton);
    EXPECT_FALSE(control<QRadioButton>("optTotEmit_2")->isEnabled());
    EXPECT_EQ(form->currentEmitter(), 1);
    // Turning off one that is not selected leaves the selection.
    QTest::mouseClick(control<QCheckBox>("chkPause_0"), Qt::LeftButton);
    EXPECT_EQ(form->currentEmitter(), 1);
    playFor(*form, 600);
    EXPECT_GT(liveParticles(1), 0);
    EXPECT_EQ(liveParticles(0), 0);
}

TEST_F(EmberlyWindowTest, ColourBoxesClampIgnoreEmptinessAndFillTheirNeighbours)
{
    startWindow();
    auto* red = control<QLineEdit>("txtRed");
    auto* green = control<QLineEdit>("txtGreen");
    red->setText("128");
    EXPECT_FLOAT_EQ(form->records().colours[0].r, 128.0f / 255.0f);
    red->setText("");
    EXPECT_FLOAT_EQ(form->records().colours[0].r, 128.0f / 255.0f);
    green->setText("");
    QTest::mouseClick(control<QLineEdit>("txtBlue"), Qt::LeftButton);
    EXPECT_EQ(red->text(), "0");
    EXPECT_EQ(green->text(), "0");
    EXPECT_EQ(form->records().colours[0].r, 0.0f);
    red->setText("300");
    EXPECT_EQ(red->text(), "255");
    EXPECT_EQ(form->records().colours[0].r, 1.0f);
    // Letters are not taken by typing.
    red->clear();
    QTest::keyClicks(red, "a7b");
    EXPECT_EQ(red->text(), "7");
    // The frame loop hands the edited colour to the factory.
    form->runFrame();
    EXPECT_FLOAT_EQ(form->factory(0).particleCopy().Color.r, 7.0f / 255.0f);
}

TEST_F(EmberlyWindowTest, SlidersStoreTheirValueAndShowItAsTip)
{
    startWindow();
    control<QSlider>("sldPartLife")->setValue(35);
    EXPECT_FLOAT_EQ(form->records().particles[0].Life, 3.5f);
    EXPECT_EQ(control<QSlider>("sldPartLife")->toolTip(), "3.500");
    control<QSlider>("sldPartSpeed")->setValue(7);
    EXPECT_FLOAT_EQ(form->records().particles[0].Speed, 0.07f);
    control<QSlider>("sldMotionY")->setValue(12);
    EXPECT_EQ(form->records().emitters[0].Distance.y, 12.0f);
    EXPECT_EQ(control<QSlider>("sldMotionY")->toolTip(), "12");
    control<QSlider>("sldRotY")->setValue(-25);
    EXPECT_EQ(control<QLineEdit>("txtRotY")->text(), "-2.5");
    EXPECT_FLOAT_EQ(form->velocityValues().y, -2.5f);
    // A velocity box without a number counts as 0.
    control<QLineEdit>("txtRotY")->setText("abc");
    EXPECT_EQ(form->velocityValues().y, 0.0f);
}

TEST_F(EmberlyWindowTest, CheckBoxesWriteTheRegistryValues)
{
    platform::writeRegistryString(platform::Hive::CurrentUser, kRegistryKey, kAutoRotateValue, "1");
    startWindow();
    EXPECT_TRUE(form->autoRotate());
    EXPECT_FALSE(control<QCheckBox>("chkViewRotate")->isChecked());
    QTest::mouseClick(control<QCheckBox>("chkIntro"), Qt::LeftButton, {}, QPoint(6, 10));
    EXPECT_EQ(readSetting(kShowIntroValue), "1");
    QTest::mouseClick(control<QCheckBox>("chkIntro"), Qt::LeftButton, {}, QPoint(6, 10));
    EXPECT_EQ(readSetting(kShowIntroValue), "0");
    QTest::mouseClick(control<QCheckBox>("chkViewRotate"), Qt::LeftButton, {}, QPoint(6, 10));
    EXPECT_EQ(readSetting(kAutoRotateValue), "1");
    EXPECT_FALSE(form->autoRotate());   // toggled from the stored value
}

TEST_F(EmberlyWindowTest, AnOldDirectXWarnsAndCancelEndsBeforeTheEngine)
{
    platform::writeRegistryString(platform::Hive::LocalMachine, "SOFTWARE\\Microsoft\\DirectX", "Version",
                                  "4.08.00.0400");
    dialogs->expectMsgBox(platform::vbCancel);
    form = std::make_unique<frmMain>(folder.path());
    EXPECT_FALSE(form->load(false));
    ASSERT_EQ(dialogs->calls().size(), 1u);
    EXPECT_EQ(dialogs->calls()[0].prompt, "DirectX 8 Ver. 4.08.00.0400 detected.\r\n \r\n"
                                          "You must have DirectX 8.1 or later.\rTry to continue anyway?");
    EXPECT_EQ(dialogs->calls()[0].title, "DirectX Version Problem...");
    EXPECT_EQ(dialogs->calls()[0].style, platform::vbOKCancel | platform::vbCritical);
    EXPECT_FALSE(form->scene().hasEngine());
}

TEST_F(EmberlyWindowTest, DirectXEightOneStartsWithoutAWord)
{
    platform::writeRegistryString(platform::Hive::LocalMachine, "SOFTWARE\\Microsoft\\DirectX", "Version",
                                  "4.08.01.0881");
    startWindow();   // the scripted service fails the test on any dialog
    EXPECT_TRUE(dialogs->calls().empty());
    EXPECT_FALSE(debugLog().contains("Error")) << "start-up logs no engine error: " << debugLog().toStdString();
}

TEST_F(EmberlyWindowTest, AFailingEngineCallIsLoggedAndTheProgramGoesOn)
{
    startWindow();
    auto* textures = control<QComboBox>("cmbTex");
    textures->addItem("Missing");
    textures->setCurrentText("Missing");
    EXPECT_TRUE(form->runFrame());
    EXPECT_TRUE(form->running());
    EXPECT_TRUE(debugLog().contains("Error : RenderScreen : #9 : ")) << debugLog().toStdString();
    textures->setCurrentIndex(0);
    EXPECT_TRUE(form->runFrame());
}

TEST_F(EmberlyWindowTest, ResizingKeepsTheMinimumAndFillsTheViewToTheEdges)
{
    startWindow();
    form->resize(300, 200);
    QApplication::processEvents();
    EXPECT_GE(form->centralWidget()->width(), 640);
    EXPECT_GE(form->centralWidget()->height(), 465);
    auto* view = control<QWidget>("Picture1");
    EXPECT_EQ(view->geometry().right() + 1, form->centralWidget()->width() - 5);
    EXPECT_EQ(view->geometry().bottom() + 1, form->centralWidget()->height() - 5);
}

} // namespace
} // namespace emberly::test

namespace emberly::test {
namespace {

TEST_F(EmberlyWindowTest, UsageShowsTheReadmeAndTheTabsNameTheirPages)
{
    startWindow();
    QString shown;
    QTimer::singleShot(0, [&shown] {
        if (auto* usage = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            shown = usage->windowTitle() + "|" + usage->findChild<QPlainTextEdit*>("txtUsage")->toPlainText();
            usage->accept();
        }
    });
    form->findChild<QAction*>("mnuUsage")->trigger();
    EXPECT_TRUE(shown.startsWith("Emberly - Usage|Emberly - v1.2 - Particle Editor")) << shown.left(80).toStdString();
    auto* tabs = control<QTabBar>("TabStrip1");
    ASSERT_EQ(tabs->count(), 3);
    EXPECT_EQ(tabs->tabText(1), "Emittor");
    EXPECT_EQ(tabs->tabToolTip(2), "Misc. Options");
    EXPECT_EQ(control<QWidget>("OptStyle_3")->toolTip(), "Implode");
    EXPECT_EQ(control<QComboBox>("cmbMotion")->itemData(6).toInt(), 6);
}

} // namespace
} // namespace emberly::test

namespace emberly::test {
namespace {

TEST_F(EmberlyWindowTest, AlphaAndBackgroundChoicesReachTheEngine)
{
    startWindow();
    QTest::mouseClick(control<QRadioButton>("optAlpha_3"), Qt::LeftButton, {}, QPoint(6, 10));
    for (int i = 0; i < 3; ++i) {
        KLParticleSystem* system = engineSystemOf(*form->factory(i).Particle());
        ASSERT_NE(system, nullptr);
        EXPECT_EQ(system->GetAlphaBlendingMode(), 3);
        EXPECT_EQ(system->GetSourceBlend(), 5);
        EXPECT_EQ(system->GetDestinationBlend(), 2);
    }
    EXPECT_EQ(form->alphaMode(), 1);   // new systems would still get the start-up mode
    QTest::mouseClick(control<QRadioButton>("optSky_1"), Qt::LeftButton, {}, QPoint(6, 10));
    EXPECT_EQ(form->scene().atmosphere()->GetSkyBoxTexture(0), form->scene().textureId("skyft"));
    EXPECT_EQ(form->scene().atmosphere()->GetSkyBoxTexture(5), form->scene().textureId("skydn"));
    QTest::mouseClick(control<QRadioButton>("optSky_0"), Qt::LeftButton, {}, QPoint(6, 10));
    EXPECT_EQ(form->scene().atmosphere()->GetSkyBoxTexture(1), form->scene().textureId("Back"));
}

} // namespace
} // namespace emberly::test
