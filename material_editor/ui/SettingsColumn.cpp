#include "ui/SettingsColumn.h"

#include <QLabel>

#include <algorithm>
#include <cmath>

namespace glazery {
namespace {

// One pixel less than a collapsed panel, so a thin line parts the headers.
constexpr int HeaderHeight = kCollapsedPanelHeight / TwipsPerPixel - 1;
constexpr int FirstPanelTop = 300; // twips, below the "Settings:" label
constexpr int StripWidth = 17;     // pixels: arrows, scroll bar and scroller
constexpr int ArrowGap = 2;
const QColor HeaderColour(64, 84, 128);

template <size_t N>
QList<PanelGeometry> panelList(const std::array<int, N>& tops, const std::array<int, N>& heights)
{
    QList<PanelGeometry> panels;
    for (size_t i = 0; i < N; ++i)
        panels.append({tops[i], heights[i]});
    return panels;
}

} // namespace

SettingsColumn::SettingsColumn(QWidget* client, int heightPixels)
    : PictureBox(client, "picContainer")
{
    setGeometry(4, 4, Width, heightPixels);
    settings_ = new PictureBox(this, "picSettings");
    settings_->setGeometry(0, toPixels(kColumnRestingTop), PanelWidth, 2000);
    auto* settingsLabel = new QLabel(tr("Settings:"), settings_);
    settingsLabel->setObjectName("lblSettings");
    settingsLabel->setGeometry(4, 0, 120, 18);
    buildScrollStrip();
}

QWidget* SettingsColumn::addPanel(const QString& caption, int contentHeightPixels)
{
    const int index = panelsAdded_++;
    const auto i = static_cast<size_t>(index);
    auto* panel = new PictureBox(settings_, QStringLiteral("picFrame_%1").arg(index));
    panel->setBackColor(palette().color(QPalette::Window));
    auto* header = new MouseLabel(panel, QStringLiteral("lblFrame_%1").arg(index), caption);
    header->setGeometry(0, 0, PanelWidth, HeaderHeight);
    header->setIndent(6);
    header->setAutoFillBackground(true);
    QPalette headerPalette = header->palette();
    headerPalette.setColor(QPalette::Window, HeaderColour);
    headerPalette.setColor(QPalette::WindowText, Qt::white);
    header->setPalette(headerPalette);
    QFont bold = header->font();
    bold.setBold(true);
    header->setFont(bold);
    header->setCursor(Qt::PointingHandCursor);
    auto* arrow = new PictureBox(header, QStringLiteral("picArrow_%1").arg(index));
    arrow->setGeometry(PanelWidth - 20, 1, 16, 16);
    arrow->setPicture(icons::panelUp(16));
    arrow->setAttribute(Qt::WA_TransparentForMouseEvents);
    connect(header, &MouseLabel::mousePressed, this, [this, index](Qt::MouseButton b, QPoint p) {
        headerMouseDown(index, b, toTwips(p.y()));
    });
    connect(header, &MouseLabel::mouseMoved, this, [this, index](Qt::MouseButtons b, QPoint p) {
        headerMouseMove(index, b, toTwips(p.y()));
    });
    panels_[i] = panel;
    arrows_[i] = arrow;

    panelFullHeight_[i] = toTwips(contentHeightPixels);
    panelHeight_[i] = panelFullHeight_[i];
    panelTop_[i] = index == 0 ? FirstPanelTop : panelTop_[i - 1] + panelHeight_[i - 1] + kPanelGap;
    return panel;
}

void SettingsColumn::buildScrollStrip()
{
    const int stripX = PanelWidth + ArrowGap;
    upArrow_ = new PictureBox(this, "picUpArr");
    upArrow_->setGeometry(stripX, 0, StripWidth, StripWidth);
    upArrow_->setPicture(icons::scrollUp(StripWidth));
    scrollbar_ = new PictureBox(this, "picScrollbar");
    scrollbar_->setGeometry(stripX, StripWidth + ArrowGap, StripWidth, 400);
    scrollbar_->setBackColor(QColor(200, 200, 205));
    scroller_ = new PictureBox(scrollbar_, "picScroller");
    scroller_->setGeometry(0, 0, StripWidth, 40);
    scroller_->setBackColor(QColor(110, 120, 150));
    downArrow_ = new PictureBox(this, "picDownArr");
    downArrow_->setGeometry(stripX, 421, StripWidth, StripWidth);
    downArrow_->setPicture(icons::scrollDown(StripWidth));

    connect(downArrow_, &PictureBox::mousePressed, this, [this] { scrollingDown_ = true; });
    connect(downArrow_, &PictureBox::mouseReleased, this, [this] { scrollingDown_ = false; });
    connect(upArrow_, &PictureBox::mousePressed, this, [this] { scrollingUp_ = true; });
    connect(upArrow_, &PictureBox::mouseReleased, this, [this] { scrollingUp_ = false; });
    connect(scroller_, &PictureBox::mousePressed, this, [this](Qt::MouseButton b, QPoint p) {
        if (b == Qt::LeftButton)
            scrollerDragY_ = p.y();
    });
    connect(scroller_, &PictureBox::mouseMoved, this, [this](Qt::MouseButtons b, QPoint p) {
        if (b & Qt::LeftButton)
            dragScroller(scroller_->y() + p.y() - scrollerDragY_);
    });
}

void SettingsColumn::applyGeometry()
{
    for (size_t i = 0; i < panels_.size(); ++i)
        panels_[i]->setGeometry(0, toPixels(panelTop_[i]), settings_->width(), toPixels(panelHeight_[i]));
    settings_->setGeometry(0, toPixels(columnTop_), settings_->width(), toPixels(columnHeight_));
}

void SettingsColumn::applyLayout(const ColumnLayout& layout)
{
    columnHeight_ = layout.columnHeight;
    scrollRatio_ = layout.scrollRatio;
    if (layout.scrollerToTop)
        scroller_->move(0, 0);
}

void SettingsColumn::updateScrollRatio()
{
    applyLayout(columnLayout(panelList(panelTop_, panelHeight_), toTwips(scrollbar_->height()),
                             toTwips(scroller_->height())));
}

void SettingsColumn::headerMouseDown(int index, Qt::MouseButton button, int yTwips)
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
    arrows_[i]->setPicture(isPanelCollapsed(panelHeight_[i]) ? icons::panelDown(16) : icons::panelUp(16));
    QList<PanelGeometry> panels = panelList(panelTop_, panelHeight_);
    const ColumnLayout layout =
        restackPanels(panels, index, toTwips(scrollbar_->height()), toTwips(scroller_->height()));
    for (size_t k = 0; k < panelTop_.size(); ++k)
        panelTop_[k] = panels[static_cast<qsizetype>(k)].top;
    applyLayout(layout);
    applyGeometry();
}

void SettingsColumn::headerMouseMove(int, Qt::MouseButtons buttons, int yTwips)
{
    if (!(buttons & Qt::RightButton))
        return;
    columnTop_ = static_cast<int>(limitColumnTop(static_cast<float>(columnTop_ + yTwips - headerDragY_)));
    if (scrollRatio_ > 0)
        scroller_->move(0, toPixels(std::abs(columnTop_) / scrollRatio_));
    applyGeometry();
}

int SettingsColumn::maximumScrollerTop() const
{
    return std::max(0, scrollbar_->height() - scroller_->height());
}

void SettingsColumn::dragScroller(int scrollerTopPixels)
{
    const int top = std::clamp(scrollerTopPixels, 0, maximumScrollerTop());
    scroller_->move(0, top);
    columnTop_ = static_cast<int>(
        columnTopForScroller(static_cast<float>(toTwips(top)), static_cast<float>(scrollRatio_)));
    applyGeometry();
}

void SettingsColumn::scrollStep(double frameMilliseconds)
{
    if (!scrollingUp_ && !scrollingDown_)
        return;
    ScrollState state{static_cast<float>(columnTop_), static_cast<float>(toTwips(scroller_->y()))};
    ScrollStep(state, scrollingDown_, scrollingUp_, static_cast<float>(frameMilliseconds),
               static_cast<float>(panelTop_.back()), static_cast<float>(scrollRatio_));
    columnTop_ = static_cast<int>(std::lround(state.columnTop));
    scroller_->move(0, std::clamp(toPixels(state.scrollerTop), 0, maximumScrollerTop()));
    applyGeometry();
}

void SettingsColumn::fitContainerHeight(int heightPixels)
{
    resize(width(), heightPixels);
    if (toPixels(columnHeight_) < height())
        columnTop_ = static_cast<int>(kColumnRestingTop);
}

void SettingsColumn::fitScrollbar(int windowHeightTwips)
{
    const int barTwips = scrollbarHeightForWindow(windowHeightTwips);
    const int barPixels = std::min(toPixels(barTwips), height() - 2 * (StripWidth + ArrowGap));
    scrollbar_->resize(scrollbar_->width(), std::max(barPixels, scroller_->height()));
    downArrow_->move(downArrow_->x(), scrollbar_->y() + scrollbar_->height() + ArrowGap);
    updateScrollRatio();
    applyGeometry();
}

} // namespace glazery
