#include "core/SceneLayout.h"

#include <algorithm>
#include <cmath>

namespace glazery {

void UpdateObjectMotion(ObjectMotion& motion, const MouseState& mouse, float elapsed,
                        bool viewDragActive, bool autoSpin)
{
    if (mouse.button1 && viewDragActive) {
        motion.rotation.x -= mouse.dy * elapsed / 20.0f;
        motion.rotation.y -= mouse.dx * elapsed / 20.0f;
    } else if (autoSpin) {
        motion.rotation.y += elapsed / 100.0f;
        motion.rotation.x += elapsed / 100.0f;
    }
    if (mouse.button2 && viewDragActive) {
        motion.position.x += mouse.dx * elapsed / 100.0f;
        motion.position.y -= mouse.dy * elapsed / 100.0f;
    }
    if (mouse.wheel != motion.previousWheel) {
        motion.position.z -= (mouse.wheel - motion.previousWheel) / 100.0f;
        motion.previousWheel = mouse.wheel;
    }
}

namespace {

// The scroller follows the column; with nothing to scroll it stays at the top.
float scrollerTopFor(float columnTop, float scrollRatio)
{
    if (!(scrollRatio > 0.0f))
        return 0.0f;
    return std::fabs(columnTop) / scrollRatio;
}

} // namespace

void ScrollStep(ScrollState& state, bool downHeld, bool upHeld, float elapsed, float lastPanelTop,
                float scrollRatio)
{
    const float step = 5.0f * elapsed;
    if (downHeld) {
        if (state.columnTop > step - lastPanelTop && state.columnTop <= kColumnRestingTop)
            state.columnTop -= step;
        if (state.columnTop > kColumnRestingTop)
            state.columnTop = kColumnRestingTop;
        state.scrollerTop = scrollerTopFor(state.columnTop, scrollRatio);
    }
    if (upHeld) {
        if (state.columnTop >= kColumnRestingTop)
            state.columnTop = kColumnRestingTop;
        else
            state.columnTop += step;
        state.scrollerTop = scrollerTopFor(state.columnTop, scrollRatio);
    }
}

float columnTopForScroller(float scrollerTop, float scrollRatio)
{
    return kColumnRestingTop - scrollerTop * scrollRatio;
}

float limitColumnTop(float top)
{
    return std::min(top, kColumnRestingTop);
}

int toggledPanelHeight(int currentHeight, int fullHeight)
{
    return isPanelCollapsed(currentHeight) ? fullHeight : kCollapsedPanelHeight;
}

ColumnLayout columnLayout(const QList<PanelGeometry>& panels, int scrollbarHeight,
                          int scrollerHeight)
{
    ColumnLayout layout;
    if (panels.isEmpty()) {
        layout.scrollerToTop = true;
        return layout;
    }
    const PanelGeometry& last = panels.back();
    layout.columnHeight = last.top + last.height + kColumnBottomMargin;
    const int travel = scrollbarHeight - scrollerHeight;
    // A bar no taller than its scroller cannot scroll (and must not divide by 0).
    const float ratio = travel > 0 ? float(last.top) / float(travel) : -1.0f;
    if (ratio >= 0.0f) {
        layout.scrollRatio = ratio;
    } else {
        layout.scrollRatio = 0.0f;
        layout.scrollerToTop = true;
    }
    return layout;
}

ColumnLayout restackPanels(QList<PanelGeometry>& panels, int changedIndex, int scrollbarHeight,
                           int scrollerHeight)
{
    for (qsizetype i = std::max(qsizetype(changedIndex) + 1, qsizetype(1)); i < panels.size(); ++i)
        panels[i].top = panels[i - 1].top + panels[i - 1].height + kPanelGap;
    return columnLayout(panels, scrollbarHeight, scrollerHeight);
}

Size minimumClientSize(Size client)
{
    return {std::max(client.width, kMinimumClientWidth),
            std::max(client.height, kMinimumClientHeight)};
}

ResizeResult resizeLayout(const ResizeInput& in)
{
    ResizeResult out;
    out.picture1.width =
        std::max(0, in.client.width - in.containerWidth - in.picture1Left - in.margin);
    out.picture1.height =
        std::max(0, in.client.height - in.picture1Top - in.bottomBarHeight - in.margin);
    out.quitButtonLeft = in.client.width - in.quitButtonWidth - in.margin;
    return out;
}

int scrollbarHeightForWindow(int windowHeight, int reserved)
{
    return std::max(0, windowHeight - reserved);
}

} // namespace glazery
