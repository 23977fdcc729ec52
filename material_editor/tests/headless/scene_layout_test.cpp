#include "core/SceneLayout.h"
#include "tests/headless/record_checks.h"

#include <gtest/gtest.h>

using namespace glazery;

TEST(SceneLayout, ObjectMotionFromMouse)
{
    ObjectMotion motion;
    MouseState mouse;
    mouse.dx = 4;
    mouse.dy = 2;
    mouse.button1 = true;
    UpdateObjectMotion(motion, mouse, 10, true, true);
    EXPECT_FLOAT_EQ(motion.rotation.x, -1.0f); // -dy*t/20
    EXPECT_FLOAT_EQ(motion.rotation.y, -2.0f);

    // Without a drag in the view, auto spin turns the object instead.
    motion = {};
    UpdateObjectMotion(motion, mouse, 10, false, true);
    EXPECT_FLOAT_EQ(motion.rotation.x, 0.1f);
    EXPECT_FLOAT_EQ(motion.rotation.y, 0.1f);
    motion = {};
    UpdateObjectMotion(motion, mouse, 10, false, false);
    EXPECT_TRUE(sameVector(motion.rotation, {0, 0, 0}));

    motion = {};
    mouse = {};
    mouse.dx = 10;
    mouse.dy = 20;
    mouse.button2 = true;
    UpdateObjectMotion(motion, mouse, 5, true, false);
    EXPECT_TRUE(sameVector(motion.position, {0.5f, 49.0f, 0}));

    // The wheel moves in z by the change since the last frame only.
    mouse = {};
    mouse.wheel = 120;
    UpdateObjectMotion(motion, mouse, 5, false, false);
    EXPECT_FLOAT_EQ(motion.position.z, -1.2f);
    UpdateObjectMotion(motion, mouse, 5, false, false);
    EXPECT_FLOAT_EQ(motion.position.z, -1.2f);
}

TEST(SceneLayout, ArrowScrollingStaysWithinTheColumn)
{
    ScrollState state;
    ScrollStep(state, false, true, 10, 3000, 2);
    EXPECT_EQ(state.columnTop, 120); // cannot scroll above the resting Top

    ScrollStep(state, true, false, 10, 3000, 2);
    EXPECT_EQ(state.columnTop, 70);
    EXPECT_EQ(state.scrollerTop, 35);
    // Down stops once the last panel has come up.
    state.columnTop = -2990;
    ScrollStep(state, true, false, 10, 3000, 2);
    EXPECT_EQ(state.columnTop, -2990);
    ScrollStep(state, false, true, 10, 3000, 2);
    EXPECT_EQ(state.columnTop, -2940);
    // Nothing to scroll: the scroller stays at the top, no division by zero.
    ScrollStep(state, true, false, 10, 3000, 0);
    EXPECT_EQ(state.scrollerTop, 0);

    EXPECT_EQ(columnTopForScroller(100, 2), -80);
    EXPECT_EQ(limitColumnTop(400), 120);
    EXPECT_EQ(limitColumnTop(-400), -400);
}

TEST(SceneLayout, CollapseTwiceRestoresTheLayout)
{
    QList<PanelGeometry> panels;
    const QList<int> full{1500, 1500, 1800, 1500, 1400, 1700, 4000};
    int top = 0;
    for (int h : full) {
        panels.append({top, h});
        top += h + kPanelGap;
    }
    const QList<PanelGeometry> before = panels;
    const ColumnLayout initial = columnLayout(panels, 6000, 500);

    panels[2].height = toggledPanelHeight(panels[2].height, full[2]);
    EXPECT_EQ(panels[2].height, kCollapsedPanelHeight);
    ColumnLayout layout = restackPanels(panels, 2, 6000, 500);
    EXPECT_EQ(panels[3].top, panels[2].top + kCollapsedPanelHeight + kPanelGap);
    EXPECT_EQ(panels[6].top, panels[5].top + panels[5].height + kPanelGap);
    EXPECT_EQ(layout.columnHeight, panels[6].top + panels[6].height + kColumnBottomMargin);
    EXPECT_FLOAT_EQ(layout.scrollRatio, float(panels[6].top) / 5500.0f);

    panels[2].height = toggledPanelHeight(panels[2].height, full[2]);
    layout = restackPanels(panels, 2, 6000, 500);
    EXPECT_EQ(panels, before);
    EXPECT_EQ(layout.columnHeight, initial.columnHeight);

    // A bar no taller than its scroller gives ratio 0 and the scroller at the top.
    layout = columnLayout(panels, 500, 500);
    EXPECT_EQ(layout.scrollRatio, 0);
    EXPECT_TRUE(layout.scrollerToTop);
}

TEST(SceneLayout, ResizeRules)
{
    EXPECT_EQ(minimumClientSize({300, 200}), (Size{640, 480}));
    EXPECT_EQ(minimumClientSize({1024, 300}), (Size{1024, 480}));
    EXPECT_EQ(minimumClientSize({800, 600}), (Size{800, 600}));

    ResizeInput in;
    in.client = {800, 600};
    in.containerWidth = 250;
    in.picture1Left = 260;
    in.picture1Top = 8;
    in.bottomBarHeight = 50;
    in.quitButtonWidth = 60;
    const ResizeResult out = resizeLayout(in);
    EXPECT_EQ(out.picture1, (Size{800 - 250 - 260 - 10, 600 - 8 - 50 - 10}));
    EXPECT_EQ(out.quitButtonLeft, 800 - 60 - 10);
    EXPECT_EQ(scrollbarHeightForWindow(9000), 7200);
}
