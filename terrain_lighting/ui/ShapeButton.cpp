#include "ui/ShapeButton.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QMouseEvent>

namespace landlume {

ShapeButton::ShapeButton(QWidget* parent, const QString& role, const QString& caption, const QString& toolTip,
                         bool pressedLook)
    : QFrame(parent), label_(new QLabel(caption, this)), pressedLook_(pressedLook)
{
    setObjectName(QStringLiteral("Shp") + role);
    label_->setObjectName(QStringLiteral("Lbl") + role);
    label_->setToolTip(toolTip);
    label_->setAlignment(Qt::AlignCenter);
    label_->installEventFilter(this);
    label_->setCursor(Qt::PointingHandCursor);
    setFrameShape(QFrame::Box);
    setAutoFillBackground(true);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addWidget(label_);
    setFill(kReleasedGrey);
}

void ShapeButton::setFill(int grey)
{
    grey_ = grey;
    QPalette p = palette();
    p.setColor(QPalette::Window, QColor(grey, grey, grey));
    p.setColor(QPalette::WindowText, Qt::white);
    setPalette(p);
    label_->setPalette(p);
}

bool ShapeButton::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != label_)
        return QFrame::eventFilter(watched, event);
    if (event->type() == QEvent::MouseButtonPress) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton) {
            pressed_ = true;
            if (pressedLook_)
                setFill(kPressedGrey);
        }
        return true;
    }
    if (event->type() == QEvent::MouseButtonRelease) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton && pressed_) {
            pressed_ = false;
            if (pressedLook_)
                setFill(kReleasedGrey);
            if (label_->rect().contains(mouse->position().toPoint()))
                emit clicked();
        }
        return true;
    }
    return QFrame::eventFilter(watched, event);
}

ShapeButton* applyButton(QWidget* parent, const QString& role)
{
    return new ShapeButton(parent, role, QStringLiteral("Apply"), QStringLiteral("Apply changes"));
}

} // namespace landlume
