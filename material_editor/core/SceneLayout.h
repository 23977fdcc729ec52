#pragma once
// Per-frame maths of the main window: object motion from the mouse, the
// settings column's scrolling, panel restacking and the resize rules.
// Lengths are in the caller's units (the form's twips) unless stated.

#include "core/EditingRules.h"

#include <QList>

namespace glazery {

// ---- object motion --------------------------------------------------------

struct MouseState {
    float dx = 0;      // horizontal movement since the last frame
    float dy = 0;      // vertical movement
    bool button1 = false;
    bool button2 = false;
    bool button3 = false;
    float wheel = 0;   // wheel position
};

struct ObjectMotion {
    D3DVECTOR position{0, 50, 0};
    D3DVECTOR rotation{0, 0, 0};
    float previousWheel = 0;
};

// One frame: rotate by dragging with button 1 (or auto spin), move in x/y with
// button 2, move in z with the wheel. `elapsed` is the last frame's time.
void UpdateObjectMotion(ObjectMotion& motion, const MouseState& mouse, float elapsed,
                        bool viewDragActive, bool autoSpin);

// ---- settings column ------------------------------------------------------

inline constexpr float kColumnRestingTop = 120;
inline constexpr int kCollapsedPanelHeight = 285;
inline constexpr int kPanelGap = 4;
inline constexpr int kColumnBottomMargin = 100;

struct ScrollState {
    float columnTop = kColumnRestingTop;
    float scrollerTop = 0;
};

// One frame of arrow scrolling. lastPanelTop is the Top of the last panel in
// the column. With a scroll ratio of 0 (nothing to scroll) the scroller stays
// at the top.
void ScrollStep(ScrollState& state, bool downHeld, bool upHeld, float elapsed, float lastPanelTop,
                float scrollRatio);

// Column Top while the scroller is dragged to scrollerTop.
float columnTopForScroller(float scrollerTop, float scrollRatio);
// Column Top while dragged with the right button: never below the resting Top.
float limitColumnTop(float top);

struct PanelGeometry {
    int top = 0;
    int height = 0;
    bool operator==(const PanelGeometry&) const = default;
};

// Height after a left click on the header: a collapsed panel (285) expands
// to its full height, any other collapses to 285.
int toggledPanelHeight(int currentHeight, int fullHeight);
inline bool isPanelCollapsed(int height) { return height == kCollapsedPanelHeight; }

struct ColumnLayout {
    int columnHeight = 0;     // picSettings height
    float scrollRatio = 0;    // last panel Top / (scrollbar - scroller height)
    bool scrollerToTop = false; // ratio was not >= 0 and became 0
};

// Restacks the panels after `changedIndex` (Top = previous Top + previous
// Height + 4) and computes the column height and scroll ratio.
ColumnLayout restackPanels(QList<PanelGeometry>& panels, int changedIndex, int scrollbarHeight,
                           int scrollerHeight);
// Column height and scroll ratio of panels as they stand.
ColumnLayout columnLayout(const QList<PanelGeometry>& panels, int scrollbarHeight,
                          int scrollerHeight);

// ---- window resize --------------------------------------------------------

inline constexpr int kMinimumClientWidth = 640; // pixels
inline constexpr int kMinimumClientHeight = 480;

struct Size {
    int width = 0;
    int height = 0;
    bool operator==(const Size&) const = default;
};

// Client size after the minimum rule (pixels).
Size minimumClientSize(Size client);

struct ResizeInput {
    Size client;            // client area after the minimum rule
    int containerWidth = 0; // picContainer
    int picture1Left = 0;
    int picture1Top = 0;
    int bottomBarHeight = 0; // picBottom
    int quitButtonWidth = 0; // picButtonQuit
    int margin = 10;         // the 10 left free at the right and bottom edges
};

struct ResizeResult {
    Size picture1;
    int quitButtonLeft = 0;
};

ResizeResult resizeLayout(const ResizeInput& in);

// picScrollbar height for a window height: window height - 1800 (twips), never below 0.
int scrollbarHeightForWindow(int windowHeight, int reserved = 1800);

} // namespace glazery
