// The particle colour group: a picker picture, boxes for red, green and blue
// (0..255) with up-down arrows, "Random" and the "Constant Randomness" box.
// It edits the current emitter's colour through the functions it is given.
#pragma once

#include "core/ParticleRules.h"
#include "ui/Guard.h"

#include <korlith3d/types.h>

#include <QGroupBox>

#include <array>
#include <functional>

class QCheckBox;
class QLineEdit;

namespace toolkit {
class PictureBox;
}

namespace emberly {

class ColourGroupEditor : public QGroupBox {
    Q_OBJECT
public:
    struct Actions {
        // A box now holds `value` (0..1) for channel 0 red, 1 green, 2 blue.
        std::function<void(int channel, float value)> channelEdited;
        // "Random" chose this colour.
        std::function<void(const D3DCOLORVALUE&)> randomChosen;
    };
    ColourGroupEditor(QWidget* parent, Guard guard, Actions actions);

    // The boxes show the colour's channels times 255.
    void showColour(const D3DCOLORVALUE& colour);
    bool constantRandomness() const;
    void setConstantRandomness(bool on);
    // The picker's colour at `pos` goes into the boxes (a click or drag).
    void pickAt(QPoint pos);
    void randomClicked();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildPicker();
    void buildBoxes();
    void boxChanged(int channel);
    void boxClicked(int channel);

    Guard guard_;
    Actions actions_;
    ClockSeededRandom random_;
    toolkit::PictureBox* picker_ = nullptr;
    std::array<QLineEdit*, 3> boxes_{};   // txtRed, txtGreen, txtBlue
    QCheckBox* constantRandomness_ = nullptr;   // chkRnd
};

} // namespace emberly
