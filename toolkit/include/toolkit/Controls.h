// Small widgets standing in for the classic controls the windows are built
// from: a text box that reports focus changes and mouse moves, a number box
// with drag-to-adjust, a picture box that shows a colour or a picture and
// reports mouse activity, a colour swatch, and a label that reports mouse
// activity.
#pragma once

#include "toolkit/DragAdjust.h"
#include "toolkit/Units.h"

#include <QColor>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QWidget>

#include <functional>
#include <optional>
#include <span>

namespace toolkit {

// Text box: focus in selects the whole text; focus out and every mouse move
// are reported (mouse y in twips, local to the box).
class TextBox : public QLineEdit {
    Q_OBJECT
public:
    explicit TextBox(QWidget* parent, const QString& name, const QString& text = {});

signals:
    void gotFocus();
    void lostFocus();
    void mouseMoved(Qt::MouseButtons buttons, float yTwips);

protected:
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    bool selectOnPress_ = false;
};

// Selection start 0, length = length of the text.
void selectAllText(QLineEdit& box);

// Number box: a text box whose number steps while the left button is held and
// the mouse moves up or down over it. The step is taken before mouseMoved is
// reported, so a handler sees the new text. Without enableDragAdjust it is a
// plain text box.
class NumberBox : public TextBox {
    Q_OBJECT
public:
    using TextBox::TextBox;

    // `limits` is asked at every move, for limits that follow another box.
    void enableDragAdjust(DragTracker& tracker, std::function<DragLimits()> limits);
    void enableDragAdjust(DragTracker& tracker, DragLimits limits);
    // Whether the last mouse move stepped the number (left button held).
    bool lastMoveDragged() const { return lastMoveDragged_; }

protected:
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    DragTracker* tracker_ = nullptr;
    std::function<DragLimits()> limits_;
    bool lastMoveDragged_ = false;
};

// Picture box: a back colour, optionally a picture drawn over it, and mouse
// reports in pixels local to the box.
class PictureBox : public QWidget {
    Q_OBJECT
public:
    explicit PictureBox(QWidget* parent, const QString& name);

    void setBackColor(const QColor& color);
    QColor backColor() const { return backColor_; }
    void setPicture(const QPixmap& picture);
    const QPixmap& picture() const { return picture_; }

signals:
    void mousePressed(Qt::MouseButton button, QPoint pos);
    void mouseMoved(Qt::MouseButtons buttons, QPoint pos);
    void mouseReleased(Qt::MouseButton button, QPoint pos);
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QColor backColor_;
    QPixmap picture_;
};

// Colour swatch: a picture box showing a colour, with a pointing cursor.
class Swatch : public PictureBox {
    Q_OBJECT
public:
    Swatch(QWidget* parent, const QString& name, const QColor& color);
};

// Click on a swatch: the colour dialog starts at the swatch's colour; a chosen
// colour goes into the red, green and blue boxes (the first three of `boxes`;
// a fourth, alpha, box is left as is). Returns the chosen colour, nothing when
// the dialog was cancelled.
std::optional<QColor> chooseSwatchColour(const Swatch& swatch, std::span<NumberBox* const> boxes);

// Label that reports mouse activity (panel headers).
class MouseLabel : public QLabel {
    Q_OBJECT
public:
    MouseLabel(QWidget* parent, const QString& name, const QString& caption);

signals:
    void mousePressed(Qt::MouseButton button, QPoint pos);
    void mouseMoved(Qt::MouseButtons buttons, QPoint pos);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
};

} // namespace toolkit
