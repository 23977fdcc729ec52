// The scrolling column of settings panels (picContainer): the panels under
// their headers in picSettings, collapsed and expanded by a left click on a
// header and restacked, scrolled by the arrows, the scroller or a right-button
// drag on a header. Geometry is kept in twips and shown in pixels.
#pragma once

#include "ui/Toolkit.h"

#include "core/SceneLayout.h"

#include <array>

namespace glazery {

class SettingsColumn : public PictureBox {
    Q_OBJECT
public:
    static constexpr int PanelCount = 7;
    static constexpr int Width = 256;      // pixels: panels and the scroll bar strip
    static constexpr int PanelWidth = 236; // pixels

    SettingsColumn(QWidget* client, int heightPixels);

    // Adds the next panel under a header with `caption`; its controls go into
    // the returned widget, `contentHeightPixels` high when expanded.
    QWidget* addPanel(const QString& caption, int contentHeightPixels);

    // Header mouse-down on panel i (left: collapse/expand, right: start a drag).
    void headerMouseDown(int index, Qt::MouseButton button, int yTwips);
    void headerMouseMove(int index, Qt::MouseButtons buttons, int yTwips);

    void setScrollingDown(bool on) { scrollingDown_ = on; }
    void setScrollingUp(bool on) { scrollingUp_ = on; }
    // One frame of arrow scrolling.
    void scrollStep(double frameMilliseconds);

    // Places the panels and the column as their twips say.
    void applyGeometry();

    // Resize rules of the column: the container's new height (a column shorter
    // than it rests at the top) ...
    void fitContainerHeight(int heightPixels);
    // ... and the scroll bar's height from the window's, then the scroll ratio.
    void fitScrollbar(int windowHeightTwips);

    double scrollRatio() const { return scrollRatio_; }
    int columnTop() const { return columnTop_; }
    int panelTop(int index) const { return panelTop_.at(static_cast<size_t>(index)); }
    int panelHeight(int index) const { return panelHeight_.at(static_cast<size_t>(index)); }
    int panelFullHeight(int index) const { return panelFullHeight_.at(static_cast<size_t>(index)); }

private:
    void buildScrollStrip();
    void updateScrollRatio();
    void applyLayout(const ColumnLayout& layout);
    void dragScroller(int scrollerTopPixels);
    int maximumScrollerTop() const;

    PictureBox* settings_ = nullptr;  // picSettings, the column itself
    PictureBox* scrollbar_ = nullptr; // picScrollbar
    PictureBox* scroller_ = nullptr;  // picScroller
    PictureBox* upArrow_ = nullptr;   // picUpArr
    PictureBox* downArrow_ = nullptr; // picDownArr
    std::array<PictureBox*, PanelCount> panels_{};  // picFrame_i
    std::array<PictureBox*, PanelCount> arrows_{};  // picArrow_i, in the headers
    int panelsAdded_ = 0;

    // In twips.
    std::array<int, PanelCount> panelTop_{};
    std::array<int, PanelCount> panelHeight_{};
    std::array<int, PanelCount> panelFullHeight_{};
    int columnTop_ = static_cast<int>(kColumnRestingTop);
    int columnHeight_ = 0;
    double scrollRatio_ = 0;

    bool scrollingUp_ = false;
    bool scrollingDown_ = false;
    int headerDragY_ = 0;   // twips
    int scrollerDragY_ = 0; // pixels
};

} // namespace glazery
