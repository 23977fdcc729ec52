// Small widgets standing in for the classic controls the windows are built
// from: a text box that reports focus changes and mouse moves, a picture box
// that shows a colour or a picture and reports mouse activity, and a label
// that reports mouse activity.
#pragma once

#include <QColor>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QWidget>

namespace glazery {

// Form units: the windows measure in twips, 15 to a pixel.
constexpr int TwipsPerPixel = 15;
constexpr int toPixels(double twips) { return static_cast<int>(twips / TwipsPerPixel + (twips >= 0 ? 0.5 : -0.5)); }
constexpr int toTwips(int pixels) { return pixels * TwipsPerPixel; }

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

} // namespace glazery
