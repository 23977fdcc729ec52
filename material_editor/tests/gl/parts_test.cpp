// The main window's parts on their own: the colour group editor and the
// settings column.
#include "support/window_test_support.h"

#include "ui/ColourGroupEditor.h"
#include "ui/SettingsColumn.h"

#include <QApplication>
#include <QFocusEvent>
#include <QLabel>
#include <QSignalSpy>
#include <QSlider>

namespace glazery::test {
namespace {

void leave(QWidget* box)
{
    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(box, &out);
}

class ColourEditor : public ::testing::Test {
protected:
    template <class T>
    T* find(const QString& name)
    {
        T* widget = panel.findChild<T*>(name);
        EXPECT_NE(widget, nullptr) << name.toStdString();
        return widget;
    }
    QWidget panel;
    DragTracker tracker;
};

TEST_F(ColourEditor, MaterialGroupClampsOnFocusLossAndKeepsBoxesAndSlidersTogether)
{
    ColourGroupEditor* editor = ColourGroupEditor::materialGroup(&panel, "S", "picSpec", tracker, false);
    QSignalSpy edited(editor, &ColourGroupEditor::edited);
    for (const char* name : {"Sr", "Sg", "Sb", "Sa"})
        EXPECT_EQ(find<QLineEdit>(name)->text(), "0") << name;

    find<QLineEdit>("Sg")->setText("300.4");
    leave(find<QLineEdit>("Sg"));
    EXPECT_EQ(find<QLineEdit>("Sg")->text(), "255");
    EXPECT_EQ(find<QSlider>("VSg")->value(), 255);
    // Once from the slider that moved, once for the box itself.
    EXPECT_EQ(edited.count(), 2);

    find<QSlider>("VSa")->setValue(17);
    EXPECT_EQ(find<QLineEdit>("Sa")->text(), "17");
    EXPECT_EQ(editor->colourTexts(), (ColourTexts{"0", "255", "0", "17"}));

    editor->setTexts(ColourTexts{"10", "20", "300", "40"});
    editor->slidersFromTexts();
    EXPECT_EQ(find<QSlider>("VSb")->value(), 255);
    // A slider that moves writes its box back: the box shows the clamped value.
    EXPECT_EQ(find<QLineEdit>("Sb")->text(), "255");
    EXPECT_EQ(find<QLineEdit>("Sr")->text(), "10");
    editor->showColour();
    EXPECT_EQ(find<Swatch>("picSpec")->backColor(), QColor(10, 20, 255));
}

TEST_F(ColourEditor, LightTrioHasThreeBoxesNoSlidersAndNoClamping)
{
    ColourGroupEditor* editor =
        ColourGroupEditor::lightTrio(&panel, "Light Ambient color:", "la", "picLightAmb", 255, 238, tracker);
    QSignalSpy edited(editor, &ColourGroupEditor::edited);
    EXPECT_EQ(editor->rgbTexts(), (RgbTexts{"255", "255", "255"}));
    EXPECT_EQ(find<Swatch>("picLightAmb")->backColor(), QColor(255, 255, 255));
    EXPECT_EQ(panel.findChildren<QSlider*>().size(), 0);
    EXPECT_EQ(panel.findChild<QLineEdit*>("laA"), nullptr);
    EXPECT_EQ(find<QLineEdit>("laG")->y(), 238 + 16);

    // Leaving a trio box changes neither the text nor anything else.
    find<QLineEdit>("laR")->setText("999");
    leave(find<QLineEdit>("laR"));
    EXPECT_EQ(find<QLineEdit>("laR")->text(), "999");
    EXPECT_EQ(edited.count(), 0);

    editor->setTexts(RgbTexts{"1", "2", "3"});
    EXPECT_EQ(editor->colourTexts(), (ColourTexts{"1", "2", "3", ""}));
}

TEST(SettingsColumnAlone, PanelsStackUnderTheSettingsLabelAndRestackWhenOneCollapses)
{
    QWidget client;
    SettingsColumn column(&client, 500);
    EXPECT_EQ(column.objectName(), "picContainer");
    column.addPanel("First", 100);
    column.addPanel("Second", 40);
    for (int i = 2; i < SettingsColumn::PanelCount; ++i)
        column.addPanel(QString("Panel %1").arg(i), 20);
    EXPECT_EQ(column.panelTop(0), 300);
    EXPECT_EQ(column.panelFullHeight(0), toTwips(100));
    EXPECT_EQ(column.panelTop(1), 300 + toTwips(100) + kPanelGap);
    EXPECT_EQ(column.findChild<QLabel*>("lblFrame_1")->text(), "Second");

    column.headerMouseDown(0, Qt::LeftButton, 0);
    EXPECT_EQ(column.panelHeight(0), kCollapsedPanelHeight);
    EXPECT_EQ(column.panelTop(1), 300 + kCollapsedPanelHeight + kPanelGap);
    column.applyGeometry();
    EXPECT_EQ(column.findChild<QWidget*>("picFrame_1")->y(), toPixels(column.panelTop(1)));
    EXPECT_EQ(column.findChild<QWidget*>("picFrame_0")->height(), toPixels(kCollapsedPanelHeight));

    // Other buttons and panels out of range change nothing.
    column.headerMouseDown(0, Qt::MiddleButton, 0);
    column.headerMouseDown(SettingsColumn::PanelCount, Qt::LeftButton, 0);
    EXPECT_EQ(column.panelHeight(0), kCollapsedPanelHeight);
}

TEST(SettingsColumnAlone, AShortColumnReturnsToItsRestingTopWhenTheContainerGrows)
{
    QWidget client;
    SettingsColumn column(&client, 500);
    for (int i = 0; i < SettingsColumn::PanelCount; ++i)
        column.addPanel(QString("Panel %1").arg(i), 20);
    column.fitScrollbar(toTwips(560));
    column.headerMouseDown(6, Qt::RightButton, 150);
    column.headerMouseMove(6, Qt::RightButton, 150 - 600);
    ASSERT_EQ(column.columnTop(), static_cast<int>(kColumnRestingTop) - 600);
    column.fitContainerHeight(900);
    EXPECT_EQ(column.height(), 900);
    EXPECT_EQ(column.columnTop(), static_cast<int>(kColumnRestingTop));
    // The scroll bar follows the window, leaving room for both arrows.
    column.fitScrollbar(toTwips(700));
    auto* bar = column.findChild<QWidget*>("picScrollbar");
    EXPECT_EQ(bar->height(), toPixels(toTwips(700) - 1800));
    EXPECT_EQ(column.findChild<QWidget*>("picDownArr")->y(), bar->y() + bar->height() + 2);
}

} // namespace
} // namespace glazery::test
