// The parts of the main window's panel working together: the colour group
// edits the selected emitter, the emitter page shows a record and the frame
// hands it back, the tabs bring their page to the front, and a record no
// slider can show does not stop later edits from being stored.
#include "support/window_test_support.h"

#include "ui/ColourGroupEditor.h"

#include <QComboBox>
#include <QLineEdit>
#include <QSlider>
#include <QTabBar>
#include <QTest>
#include <QToolButton>

namespace emberly::test {
namespace {

TEST_F(EmberlyWindowTest, TheColourGroupEditsTheSelectedEmitter)
{
    startWindow();
    form->setEmitterEnabled(1, true);
    ASSERT_EQ(form->currentEmitter(), 1);
    const D3DCOLORVALUE before = form->records().particles[0].Color;
    auto* colours = form->findChild<ColourGroupEditor*>("fraColor");
    ASSERT_NE(colours, nullptr);
    colours->randomClicked();
    const D3DCOLORVALUE chosen = form->records().particles[1].Color;
    EXPECT_FLOAT_EQ(chosen.r * 255.0f, float(control<QLineEdit>("txtRed")->text().toInt()));
    EXPECT_FLOAT_EQ(chosen.b * 255.0f, float(control<QLineEdit>("txtBlue")->text().toInt()));
    EXPECT_FLOAT_EQ(form->records().colours[1].g, chosen.g);
    EXPECT_EQ(form->records().particles[0].Color.r, before.r);

    // The bottom left of the picker is a dark red; outside it nothing is picked.
    colours->pickAt({0, 71});
    EXPECT_GT(control<QLineEdit>("txtRed")->text().toInt(), 0);
    EXPECT_LT(control<QLineEdit>("txtRed")->text().toInt(), 20);
    EXPECT_EQ(control<QLineEdit>("txtGreen")->text(), "0");
    EXPECT_EQ(form->records().colours[1].g, 0.0f);
    colours->pickAt({200, 200});
    EXPECT_EQ(control<QLineEdit>("txtGreen")->text(), "0");
    form->runFrame();
    EXPECT_EQ(form->factory(1).particleCopy().Color.g, 0.0f);
    EXPECT_GT(form->factory(1).particleCopy().Color.r, 0.0f);
}

TEST_F(EmberlyWindowTest, TheEmitterPageShowsARecordAndTheFrameHandsItBack)
{
    startWindow();
    EmitterSettings& e = form->records().emitters[2];
    e.Style = 3;
    e.Motion = 5;
    e.Distance = {7, 8, 9};
    form->records().particles[2].Velocity = {1.5f, -2, 0};
    form->setEmitterEnabled(2, true);
    EXPECT_TRUE(control<QToolButton>("OptStyle_3")->isChecked());
    EXPECT_FALSE(control<QToolButton>("OptStyle_1")->isChecked());
    EXPECT_EQ(control<QComboBox>("cmbMotion")->currentIndex(), 5);
    EXPECT_EQ(control<QSlider>("sldMotionY")->value(), 8);
    EXPECT_EQ(control<QSlider>("sldRotX")->value(), 15);
    EXPECT_EQ(control<QLineEdit>("txtRotY")->text(), "-2");
    form->runFrame();
    const EmitterSettings handed = form->factory(2).emitterCopy();
    EXPECT_EQ(handed.Style, 3);
    EXPECT_EQ(handed.Motion, 5);
    EXPECT_EQ(handed.Distance.z, 9.0f);
    EXPECT_FLOAT_EQ(form->factory(2).particleCopy().Velocity.x, 1.5f);
    EXPECT_FLOAT_EQ(form->factory(2).particleCopy().Velocity.y, -2.0f);
}

TEST_F(EmberlyWindowTest, EachTabBringsItsPageToTheFront)
{
    startWindow();
    auto* area = control<QWidget>("fraTabArea");
    const QPoint inside = control<QWidget>("Frame1_0")->geometry().center();
    const auto pageAt = [area, inside] {
        for (QWidget* w = area->childAt(inside); w; w = w->parentWidget())
            if (w->parentWidget() == area)
                return w->objectName();
        return QString();
    };
    EXPECT_EQ(pageAt(), "Frame1_0");
    auto* tabs = control<QTabBar>("TabStrip1");
    const char* const pages[] = {"Frame1_1", "Frame1_2", "Frame1_0"};
    for (int i : {1, 2, 0}) {
        tabs->setCurrentIndex(i);
        EXPECT_EQ(pageAt(), pages[i == 0 ? 2 : i - 1]) << i;
    }
}

TEST_F(EmberlyWindowTest, ARecordNoSliderCanShowStillLetsLaterEditsBeStored)
{
    startWindow();
    form->records().particles[0].Life = 1.0e9f;   // beyond any slider position
    EXPECT_ANY_THROW(form->showEmitter(0));
    form->records().particles[0].Life = 2.0f;
    control<QSlider>("sldPartSize")->setValue(9);
    EXPECT_EQ(form->records().particles[0].Size, 9);
    EXPECT_EQ(control<QSlider>("sldPartSize")->toolTip(), "9.000");
}

} // namespace
} // namespace emberly::test
