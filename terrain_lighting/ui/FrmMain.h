// "Main": the child window the engine draws the 3D view into. A right click
// pops up the "Options" menu; a resize tells the engine to follow.
#pragma once

#include <QWidget>

#include <functional>

class QMenu;

namespace landlume {

class FrmMain : public QWidget {
    Q_OBJECT
public:
    explicit FrmMain(QWidget* parent = nullptr);

    void setOptionsMenu(QMenu* menu) { options_ = menu; }
    void setResizeHandler(std::function<void()> handler) { onResize_ = std::move(handler); }

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QMenu* options_ = nullptr;
    std::function<void()> onResize_;
};

} // namespace landlume
