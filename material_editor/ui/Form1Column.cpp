// The settings column: collapsible panels, restacking, arrow and scroller
// scrolling, dragging with the right button, and the window's resize rules.
// Column geometry is kept in twips and shown in pixels.
#include "ui/Form1.h"
#include "ui/PreviewScene.h"

#include "core/SceneLayout.h"

#include <QResizeEvent>

#include <cmath>

namespace glazery {
namespace {

QList<PanelGeometry> panelList(const std::array<int, Form1::PanelCount>& tops,
                               const std::array<int, Form1::PanelCount>& heights)
{
    QList<PanelGeometry> panels;
    for (size_t i = 0; i < tops.size(); ++i)
        panels.append({tops[i], heights[i]});
    return panels;
}

} // namespace

void Form1::applyColumnGeometry()
{
    for (size_t i = 0; i < picFrame_.size(); ++i)
        picFrame_[i]->setGeometry(0, toPixels(panelTop_[i]), picSettings_->width(),
                                  toPixels(panelHeight_[i]));
    picSettings_->setGeometry(0, toPixels(columnTop_), picSettings_->width(), toPixels(columnHeight_));
}

void Form1::updateScrollRatio()
{
    const ColumnLayout layout = columnLayout(panelList(panelTop_, panelHeight_),
                                             toTwips(picScrollbar_->height()),
                                             toTwips(picScroller_->height()));
    columnHeight_ = layout.columnHeight;
    scrollRatio_ = layout.scrollRatio;
    if (layout.scrollerToTop)
        picScroller_->move(0, 0);
}

void Form1::panelHeaderMouseDown(int index, Qt::MouseButton button, int yTwips)
{
    if (index < 0 || index >= PanelCount)
        return;
    if (button == Qt::RightButton) {
        headerDragY_ = yTwips;
        return;
    }
    if (button != Qt::LeftButton)
        return;
    const auto i = static_cast<size_t>(index);
    panelHeight_[i] = toggledPanelHeight(panelHeight_[i], panelFullHeight_[i]);
    picArrow_[i]->setPicture(isPanelCollapsed(panelHeight_[i]) ? icons::panelDown(16)
                                                               : icons::panelUp(16));
    QList<PanelGeometry> panels = panelList(panelTop_, panelHeight_);
    const ColumnLayout layout = glazery::restackPanels(panels, index, toTwips(picScrollbar_->height()),
                                                       toTwips(picScroller_->height()));
    for (size_t k = 0; k < panelTop_.size(); ++k)
        panelTop_[k] = panels[static_cast<qsizetype>(k)].top;
    columnHeight_ = layout.columnHeight;
    scrollRatio_ = layout.scrollRatio;
    if (layout.scrollerToTop)
        picScroller_->move(0, 0);
    applyColumnGeometry();
}

void Form1::panelHeaderMouseMove(int, Qt::MouseButtons buttons, int yTwips)
{
    if (!(buttons & Qt::RightButton))
        return;
    columnTop_ = static_cast<int>(limitColumnTop(static_cast<float>(columnTop_ + yTwips - headerDragY_)));
    if (scrollRatio_ > 0)
        picScroller_->move(0, toPixels(std::abs(columnTop_) / scrollRatio_));
    applyColumnGeometry();
}

void Form1::dragScroller(int scrollerTopPixels)
{
    const int maxTop = std::max(0, picScrollbar_->height() - picScroller_->height());
    const int top = std::clamp(scrollerTopPixels, 0, maxTop);
    picScroller_->move(0, top);
    columnTop_ = static_cast<int>(columnTopForScroller(static_cast<float>(toTwips(top)),
                                                       static_cast<float>(scrollRatio_)));
    applyColumnGeometry();
}

void Form1::scrollStep(double frameMilliseconds)
{
    if (!scrollingUp_ && !scrollingDown_)
        return;
    ScrollState state{static_cast<float>(columnTop_), static_cast<float>(toTwips(picScroller_->y()))};
    ScrollStep(state, scrollingDown_, scrollingUp_, static_cast<float>(frameMilliseconds),
               static_cast<float>(panelTop_.back()), static_cast<float>(scrollRatio_));
    columnTop_ = static_cast<int>(std::lround(state.columnTop));
    const int maxTop = std::max(0, picScrollbar_->height() - picScroller_->height());
    picScroller_->move(0, std::clamp(toPixels(state.scrollerTop), 0, maxTop));
    applyColumnGeometry();
}

bool Form1::eventFilter(QObject* watched, QEvent* event)
{
    // The client area is the central widget: its size is exact once the
    // window's layout has placed it.
    if (watched == centralWidget() && event->type() == QEvent::Resize)
        applyResizeRules();
    return QMainWindow::eventFilter(watched, event);
}

void Form1::applyResizeRules()
{
    if (inResize_ || !picture1_)
        return;
    inResize_ = true;
    QWidget* client = centralWidget();
    // 1. Minimum client area of 640 x 480 pixels.
    const Size wanted = minimumClientSize({client->width(), client->height()});
    if (wanted.width != client->width() || wanted.height != client->height())
        resize(width() + wanted.width - client->width(), height() + wanted.height - client->height());
    const int clientWidth = std::max(client->width(), wanted.width);
    const int clientHeight = std::max(client->height(), wanted.height);

    // 2. and 4. Preview size and the right-aligned quit button. The column sits
    // left of the preview, so the preview's offset beyond the column is its left
    // minus the column's width: the preview ends 10 pixels from the right edge.
    picBottom_->setGeometry(0, clientHeight - picBottom_->height(), clientWidth, picBottom_->height());
    ResizeInput in;
    in.client = {clientWidth, clientHeight};
    in.containerWidth = picContainer_->width();
    in.picture1Left = picture1_->x() - picContainer_->width();
    in.picture1Top = picture1_->y();
    in.bottomBarHeight = picBottom_->height();
    in.quitButtonWidth = bottomButtons_[3]->width();
    const ResizeResult out = resizeLayout(in);
    picture1_->resize(out.picture1.width, out.picture1.height);
    bottomButtons_[3]->move(out.quitButtonLeft, bottomButtons_[3]->y());

    // 3. The engine follows the picture box.
    if (scene_)
        scene_->windowResized();

    // 5. A column shorter than its container rests at the top.
    picContainer_->resize(picContainer_->width(), clientHeight - picBottom_->height() - 8);
    if (toPixels(columnHeight_) < picContainer_->height())
        columnTop_ = ColumnRestingTop;

    // 6. The 2D background follows the Background box.
    if (scene_)
        scene_->setBackgroundPicture(txtBackGround_->text());

    // 7. Scroll bar height from the window height, then the scroll ratio.
    const int barTwips = scrollbarHeightForWindow(toTwips(frameGeometry().height()));
    const int barPixels = std::min(toPixels(barTwips), picContainer_->height() - 2 * 19);
    picScrollbar_->resize(picScrollbar_->width(), std::max(barPixels, picScroller_->height()));
    picDownArr_->move(picDownArr_->x(), picScrollbar_->y() + picScrollbar_->height() + 2);
    updateScrollRatio();
    applyColumnGeometry();
    inResize_ = false;
}

} // namespace glazery
