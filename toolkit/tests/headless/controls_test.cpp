// Form units, drag-to-adjust, number boxes and colour swatches.
#include "toolkit/Controls.h"

#include <QApplication>
#include <QFocusEvent>
#include <QMouseEvent>

#include <gtest/gtest.h>
#include <platform/Interaction.h>

namespace toolkit {
namespace {

TEST(Units, TwipsRoundHalfAwayFromZero)
{
    EXPECT_EQ(toTwips(18), 270);
    EXPECT_EQ(toPixels(285), 19);
    EXPECT_EQ(toPixels(7), 0);
    EXPECT_EQ(toPixels(8), 1);       // 0.53 pixels
    EXPECT_EQ(toPixels(-8), -1);
    EXPECT_EQ(toPixels(-7), 0);
}

TEST(DragRule, DistanceDecidesTheStep)
{
    const float last = 1000;
    // Upwards (smaller y) raises.
    EXPECT_EQ(DragAdjust(last - 10, last, 100, 0, 255, 1, 5), 100);
    EXPECT_EQ(DragAdjust(last - 11, last, 100, 0, 255, 1, 5), 101);
    EXPECT_EQ(DragAdjust(last - 30, last, 100, 0, 255, 1, 5), 101);
    EXPECT_EQ(DragAdjust(last - 31, last, 100, 0, 255, 1, 5), 105);
    // Downwards lowers; no movement steps by nothing.
    EXPECT_EQ(DragAdjust(last + 11, last, 100, 0, 255, 1, 5), 99);
    EXPECT_EQ(DragAdjust(last + 45, last, 100, 0, 255, 1, 5), 95);
    EXPECT_EQ(DragAdjust(last, last, 100, 0, 255, 1, 5), 100);
}

TEST(DragRule, TextsThatAreNoNumberOrTooLargeStillStep)
{
    const DragLimits colour{0, 255, 1, 5};
    EXPECT_EQ(dragFieldText("abc", 0, 100, colour), "5");
    EXPECT_EQ(dragFieldText("1e400", 0, 100, colour), "5");   // beyond a double: read as 0
    EXPECT_EQ(dragFieldText("1e300", 0, 100, colour), "255"); // beyond a float: limited
    EXPECT_EQ(dragFieldText("2.5", 0, 100, {-5, 5, 1, 1}), "3.5");
}

class Boxes : public ::testing::Test {
protected:
    // A mouse move at y pixels, with or without the left button.
    static void moveOver(QWidget& box, int y, bool leftButton)
    {
        const Qt::MouseButtons buttons = leftButton ? Qt::LeftButton : Qt::NoButton;
        QMouseEvent move(QEvent::MouseMove, QPointF(5, y), box.mapToGlobal(QPointF(5, y)), Qt::NoButton,
                         buttons, Qt::NoModifier);
        QApplication::sendEvent(&box, &move);
    }
    QWidget window;
};

TEST_F(Boxes, DraggingStepsBeforeTheMoveIsReported)
{
    DragTracker tracker;
    NumberBox box(&window, "Ar", "100");
    box.enableDragAdjust(tracker, DragLimits{0, 255, 1, 5});
    QString seen;
    QObject::connect(&box, &TextBox::mouseMoved, [&] { seen = box.text(); });

    moveOver(box, 10, false);          // no button: only the position is kept
    EXPECT_EQ(box.text(), "100");
    EXPECT_FALSE(box.lastMoveDragged());
    EXPECT_EQ(tracker.lastMouseY, 150);
    moveOver(box, 2, true);            // 120 twips up: large step
    EXPECT_EQ(box.text(), "105");
    EXPECT_EQ(seen, "105");
    EXPECT_TRUE(box.lastMoveDragged());
    moveOver(box, 3, true);            // 15 twips down: small step
    EXPECT_EQ(box.text(), "104");
}

TEST_F(Boxes, BoxesOfOneWindowShareTheLastMousePosition)
{
    DragTracker tracker;
    NumberBox first(&window, "first", "10");
    NumberBox second(&window, "second", "10");
    first.enableDragAdjust(tracker, DragLimits{0, 255, 1, 5});
    second.enableDragAdjust(tracker, DragLimits{0, 255, 1, 5});
    moveOver(first, 10, false);
    // The second box steps from the position seen over the first.
    moveOver(second, 2, true);
    EXPECT_EQ(second.text(), "15");
    EXPECT_EQ(first.text(), "10");
}

TEST_F(Boxes, LimitsAreAskedAtEveryMove)
{
    DragTracker tracker;
    int max = 50;
    NumberBox box(&window, "tTheta", "49");
    box.enableDragAdjust(tracker, [&] { return DragLimits{1, max, 1, 5}; });
    moveOver(box, 10, false);
    moveOver(box, 2, true);
    EXPECT_EQ(box.text(), "50");
    max = 20;
    moveOver(box, 10, true);           // downward, then limited to the new max
    EXPECT_EQ(box.text(), "20");
}

TEST_F(Boxes, WithoutDragAdjustTheTextStaysAndMovesAreStillReported)
{
    NumberBox box(&window, "Aa", "7");
    int reports = 0;
    float reportedY = 0;
    QObject::connect(&box, &TextBox::mouseMoved, [&](Qt::MouseButtons, float y) {
        ++reports;
        reportedY = y;
    });
    moveOver(box, 10, false);
    moveOver(box, 2, true);
    EXPECT_EQ(box.text(), "7");
    EXPECT_EQ(reports, 2);
    EXPECT_EQ(reportedY, 30);
}

TEST_F(Boxes, FocusSelectsTheWholeTextAndLeavingIsReported)
{
    TextBox box(&window, "Pow", "123");
    int lost = 0;
    QObject::connect(&box, &TextBox::lostFocus, [&] { ++lost; });
    QFocusEvent in(QEvent::FocusIn, Qt::TabFocusReason);
    QApplication::sendEvent(&box, &in);
    EXPECT_EQ(box.selectedText(), "123");
    EXPECT_EQ(box.selectionStart(), 0);
    // A popup taking the focus is not leaving the box.
    QFocusEvent popup(QEvent::FocusOut, Qt::PopupFocusReason);
    QApplication::sendEvent(&box, &popup);
    EXPECT_EQ(lost, 0);
    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(&box, &out);
    EXPECT_EQ(lost, 1);
}

TEST_F(Boxes, SwatchColourFillsRedGreenBlueAndCancelChangesNothing)
{
    auto dialogs = std::make_shared<platform::ScriptedInteraction>();
    platform::ScopedInteraction scoped(dialogs);
    Swatch swatch(&window, "picAmb", QColor(1, 2, 3));
    NumberBox r(&window, "r", "1"), g(&window, "g", "2"), b(&window, "b", "3"), a(&window, "a", "44");
    const std::array<NumberBox*, 4> boxes{&r, &g, &b, &a};

    dialogs->expectColor(QColor(200, 100, 50));
    const std::optional<QColor> chosen = chooseSwatchColour(swatch, boxes);
    ASSERT_TRUE(chosen);
    EXPECT_EQ(*chosen, QColor(200, 100, 50));
    EXPECT_EQ(r.text(), "200");
    EXPECT_EQ(g.text(), "100");
    EXPECT_EQ(b.text(), "50");
    EXPECT_EQ(a.text(), "44");

    dialogs->expectColor(std::nullopt);
    EXPECT_FALSE(chooseSwatchColour(swatch, boxes));
    EXPECT_EQ(r.text(), "200");
    EXPECT_EQ(dialogs->pending(), 0u);
}

} // namespace
} // namespace toolkit
