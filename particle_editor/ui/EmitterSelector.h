// The emitter selector: for each of the three emitters an enable box and an
// option that makes it the one the tab pages edit. Only an enabled emitter
// can be selected; turning off the selected one hands the selection on.
#pragma once

#include "core/EmitterRecords.h"
#include "ui/Guard.h"

#include <QGroupBox>

#include <array>
#include <functional>

class QCheckBox;
class QRadioButton;

namespace emberly {

class EmitterSelector : public QGroupBox {
    Q_OBJECT
public:
    // `selected` runs whenever an emitter becomes the selected one.
    EmitterSelector(QWidget* parent, Guard guard, std::function<void(int)> selected);

    bool emitterEnabled(int index) const;
    // Sets the enable box as a click would.
    void setEmitterEnabled(int index, bool on);
    // Selects the emitter as a click on its option would.
    void select(int index);
    // Marks the emitter's option without running `selected`.
    void markSelected(int index);

private:
    void enableClicked(int index);

    Guard guard_;
    std::function<void(int)> selected_;
    std::array<QCheckBox*, kEmitterCount> enableBoxes_{};   // chkPause_i
    std::array<QRadioButton*, kEmitterCount> options_{};    // optTotEmit_i
};

} // namespace emberly
