// The controls the settings panels are made of: push buttons drawn as a
// label lying on a shape (dark grey while pressed, grey when released), text
// boxes with the panel's key filter, and the control arrays of three boxes.
#pragma once

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QString>

#include <array>

class QGridLayout;

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

// Whether a typed character passes the panel's key filter: minus, period,
// Backspace and the digits.
bool keyFilterPasses(QChar typed);

// A text box of a control array ("<array>_<index>"). With `filtered` the key
// filter swallows every other typed character; pasted text is not filtered.
class PanelBox : public QLineEdit {
    Q_OBJECT
public:
    PanelBox(QWidget* parent, const QString& array, int index, const QString& text, bool filtered);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    bool filtered_;
};

// Three boxes of an array in one grid, each under a description label
// ("LblDescription_<n>") on its own row starting at `firstRow`.
using BoxArray = std::array<PanelBox*, 3>;
BoxArray boxRows(QWidget* parent, QGridLayout* grid, int firstRow, const QString& array,
                 const std::array<QString, 3>& captions, const std::array<QString, 3>& texts, bool filtered,
                 int& descriptionIndex);

} // namespace landlume
