// The "Emittor" page of the tab strip: the emitter's motion with its X, Y, Z
// distance and speed sliders, the four velocity styles, the velocity boxes
// with their sliders, and the power, speed and gravity sliders.
#pragma once

#include "ui/Guard.h"

#include <korlith3d/types.h>

#include <QFrame>

#include <array>
#include <optional>

class QButtonGroup;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QSlider;

namespace emberly {

class SliderControls;

class EmitterPage : public QFrame {
    Q_OBJECT
public:
    EmitterPage(QWidget* parent, SliderControls& sliders, Guard guard);

    // The selected motion 0..6.
    int motion() const;
    // Selects motion `motion` when the list has it.
    void setMotion(int motion);
    // The checked style 0..3, nothing when none is.
    std::optional<int> style() const;
    // Checks style `style` when it is one of 0..3.
    void setStyle(int style);
    int gravity() const;

    // The velocity as last read from the boxes.
    D3DVECTOR velocity() const { return velocity_; }
    // Reads the boxes; one that holds no number counts as 0.
    void readVelocity();
    void showVelocity(const D3DVECTOR& velocity);
    void setVelocityText(int axis, const QString& text);

private:
    void buildMotion(SliderControls& sliders);
    void buildStyles();
    void buildVelocity(SliderControls& sliders);

    Guard guard_;
    D3DVECTOR velocity_{0, 0, 0};
    QComboBox* motion_ = nullptr;                 // cmbMotion
    QButtonGroup* styles_ = nullptr;              // OptStyle_0..3
    std::array<QLineEdit*, 3> velocityBoxes_{};   // txtRotX, txtRotY, txtRotZ
    QSlider* gravity_ = nullptr;                  // sldGravity
};

} // namespace emberly
