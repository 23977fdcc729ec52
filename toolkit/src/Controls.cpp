#include "toolkit/Controls.h"
#include "toolkit/Dialogs.h"

#include <QMouseEvent>
#include <QPainter>
#include <QTimer>

namespace toolkit {

TextBox::TextBox(QWidget* parent, const QString& name, const QString& text)
    : QLineEdit(text, parent)
{
    setObjectName(name);
    setMouseTracking(true);
}

void selectAllText(QLineEdit& box)
{
    box.setSelection(0, static_cast<int>(box.text().length()));
}

void TextBox::focusInEvent(QFocusEvent* event)
{
    QLineEdit::focusInEvent(event);
    selectAllText(*this);
    // A click that brings the focus would move the caret right after; keep
    // the selection through that press.
    selectOnPress_ = event->reason() == Qt::MouseFocusReason;
    emit gotFocus();
}

void TextBox::focusOutEvent(QFocusEvent* event)
{
    QLineEdit::focusOutEvent(event);
    // Popups (menus, completers) take the focus without the user leaving the box.
    if (event->reason() != Qt::PopupFocusReason)
        emit lostFocus();
}

void TextBox::mousePressEvent(QMouseEvent* event)
{
    QLineEdit::mousePressEvent(event);
    if (selectOnPress_) {
        selectOnPress_ = false;
        selectAllText(*this);
    }
}

void TextBox::mouseMoveEvent(QMouseEvent* event)
{
    // Dragging over the box adjusts its number; it must not extend a selection.
    if (!(event->buttons() & Qt::LeftButton))
        QLineEdit::mouseMoveEvent(event);
    emit mouseMoved(event->buttons(), static_cast<float>(toTwips(qRound(event->position().y()))));
}

void NumberBox::enableDragAdjust(DragTracker& tracker, std::function<DragLimits()> limits)
{
    tracker_ = &tracker;
    limits_ = std::move(limits);
}

void NumberBox::enableDragAdjust(DragTracker& tracker, DragLimits limits)
{
    enableDragAdjust(tracker, [limits] { return limits; });
}

void NumberBox::mouseMoveEvent(QMouseEvent* event)
{
    lastMoveDragged_ = false;
    if (tracker_) {
        const auto y = static_cast<float>(toTwips(qRound(event->position().y())));
        lastMoveDragged_ = event->buttons().testFlag(Qt::LeftButton);
        if (lastMoveDragged_)
            setText(dragFieldText(text(), y, tracker_->lastMouseY, limits_()));
        tracker_->lastMouseY = y;
    }
    TextBox::mouseMoveEvent(event);
}

PictureBox::PictureBox(QWidget* parent, const QString& name)
    : QWidget(parent)
{
    setObjectName(name);
    setMouseTracking(true);
}

void PictureBox::setBackColor(const QColor& color)
{
    backColor_ = color;
    update();
}

void PictureBox::setPicture(const QPixmap& picture)
{
    picture_ = picture;
    update();
}

void PictureBox::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (backColor_.isValid())
        painter.fillRect(rect(), backColor_);
    if (!picture_.isNull())
        painter.drawPixmap(0, 0, picture_);
}

void PictureBox::mousePressEvent(QMouseEvent* event)
{
    emit mousePressed(event->button(), event->position().toPoint());
}

void PictureBox::mouseMoveEvent(QMouseEvent* event)
{
    emit mouseMoved(event->buttons(), event->position().toPoint());
}

void PictureBox::mouseReleaseEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    emit mouseReleased(event->button(), pos);
    if (event->button() == Qt::LeftButton && rect().contains(pos))
        emit clicked();
}

Swatch::Swatch(QWidget* parent, const QString& name, const QColor& color)
    : PictureBox(parent, name)
{
    setBackColor(color);
    setCursor(Qt::PointingHandCursor);
    setToolTip(tr("Click to choose a colour"));
}

std::optional<QColor> chooseSwatchColour(const Swatch& swatch, std::span<NumberBox* const> boxes)
{
    const std::optional<QColor> chosen = dialogs::chooseColour(swatch.backColor());
    if (!chosen || boxes.size() < 3)
        return chosen;
    boxes[0]->setText(QString::number(chosen->red()));
    boxes[1]->setText(QString::number(chosen->green()));
    boxes[2]->setText(QString::number(chosen->blue()));
    return chosen;
}

MouseLabel::MouseLabel(QWidget* parent, const QString& name, const QString& caption)
    : QLabel(caption, parent)
{
    setObjectName(name);
}

void MouseLabel::mousePressEvent(QMouseEvent* event)
{
    emit mousePressed(event->button(), event->position().toPoint());
}

void MouseLabel::mouseMoveEvent(QMouseEvent* event)
{
    emit mouseMoved(event->buttons(), event->position().toPoint());
}

} // namespace toolkit
