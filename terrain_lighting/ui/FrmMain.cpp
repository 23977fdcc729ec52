#include "ui/FrmMain.h"

#include <QMenu>
#include <QMouseEvent>

namespace landlume {

FrmMain::FrmMain(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("FrmMain"));
    setWindowTitle(QStringLiteral("Main"));
    setMinimumSize(160, 120);
    setAttribute(Qt::WA_NativeWindow);
}

void FrmMain::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::RightButton && options_) {
        options_->popup(event->globalPosition().toPoint());
        return;
    }
    QWidget::mousePressEvent(event);
}

void FrmMain::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    if (onResize_)
        onResize_();
}

} // namespace landlume
