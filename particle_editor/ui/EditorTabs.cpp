#include "ui/EditorTabs.h"

#include <QFrame>
#include <QTabBar>

namespace emberly {

namespace {
const QPoint kPageOrigin(24, 8);   // the first page's place inside the tab area
}

EditorTabs::EditorTabs(QWidget* panel) : QObject(panel)
{
    strip_ = new QTabBar(panel);
    strip_->setObjectName(QStringLiteral("TabStrip1"));
    const char* const tabs[][2] = {{"Particles", "Changes Properties of Current Particles"},
                                   {"Emittor", "Changes Properties of Current Emittor"},
                                   {"Options", "Misc. Options"}};
    for (const auto& [caption, tip] : tabs) {
        const int index = strip_->addTab(QString::fromLatin1(caption));
        strip_->setTabToolTip(index, QString::fromLatin1(tip));
    }
    strip_->setGeometry(6, 96, 240, 26);
    area_ = new QFrame(panel);
    area_->setObjectName(QStringLiteral("fraTabArea"));
    area_->setFrameShape(QFrame::StyledPanel);
    area_->setGeometry(6, 121, 240, 338);
    connect(strip_, &QTabBar::currentChanged, this, &EditorTabs::tabChanged);
}

QWidget* EditorTabs::area() const
{
    return area_;
}

void EditorTabs::addPage(QFrame* page)
{
    const int index = int(pages_.size());
    page->setAutoFillBackground(true);   // the page in front hides the others
    // The pages after the first are laid aside until layOut().
    page->setGeometry(kPageOrigin.x() - 20 + index * 260, kPageOrigin.y() - 6, 232, 330);
    pages_.push_back(page);
}

void EditorTabs::layOut()
{
    if (pages_.empty())
        return;
    const QPoint origin = pages_.front()->pos();
    for (QFrame* page : pages_)
        page->move(origin);
    pages_.front()->raise();
}

void EditorTabs::tabChanged(int index)
{
    if (index >= 0 && std::size_t(index) < pages_.size())
        pages_[std::size_t(index)]->raise();
}

} // namespace emberly
