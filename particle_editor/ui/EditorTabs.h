// The tab strip "Particles", "Emittor", "Options" and the framed area below
// it that holds one page per tab. Selecting a tab brings its page to the
// front; until layOut() the pages lie side by side as they were designed.
#pragma once

#include <QObject>

#include <vector>

class QFrame;
class QTabBar;
class QWidget;

namespace emberly {

class EditorTabs : public QObject {
    Q_OBJECT
public:
    explicit EditorTabs(QWidget* panel);

    // The parent for the pages.
    QWidget* area() const;
    // Places the next page (in tab order) in the area.
    void addPage(QFrame* page);
    // Lays every page onto the first, the first in front.
    void layOut();

private:
    void tabChanged(int index);

    QTabBar* strip_ = nullptr;   // TabStrip1
    QFrame* area_ = nullptr;     // fraTabArea
    std::vector<QFrame*> pages_;
};

} // namespace emberly
