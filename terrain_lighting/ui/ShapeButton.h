// The push buttons of the settings panels, drawn as a label lying on a shape:
// dark grey while pressed, grey when released.
#pragma once

#include <QFrame>
#include <QLabel>
#include <QString>

namespace landlume {

inline constexpr int kPressedGrey = 64;
inline constexpr int kReleasedGrey = 128;

// A shape ("Shp" + role) with a label ("Lbl" + role) on it. Pressing the mouse
// on the label darkens the shape, releasing it greys it again, and a release
// over the label counts as a click.
class ShapeButton : public QFrame {
    Q_OBJECT
public:
    ShapeButton(QWidget* parent, const QString& role, const QString& caption, const QString& toolTip,
                bool pressedLook = true);

    QLabel* label() const { return label_; }
    void setCaption(const QString& caption) { label_->setText(caption); }
    QString caption() const { return label_->text(); }
    // Grey level of the shape's fill.
    int fillGrey() const { return grey_; }

signals:
    void clicked();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void setFill(int grey);

    QLabel* label_;
    bool pressedLook_;
    bool pressed_ = false;
    int grey_ = kReleasedGrey;
};

// "Apply" with its tool tip, as the five apply buttons have.
ShapeButton* applyButton(QWidget* parent, const QString& role);

} // namespace landlume
