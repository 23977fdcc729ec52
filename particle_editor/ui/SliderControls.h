// The sliders of the tab pages. Each is made under its name with an optional
// caption to its left; moving one runs the handler given, and show() sets
// them all from an emitter's records.
#pragma once

#include "core/EmitterRecords.h"
#include "ui/Guard.h"

#include <QPoint>
#include <QString>

#include <functional>
#include <vector>

class QSlider;
class QWidget;

namespace emberly {

class SliderControls {
public:
    // `written` runs (guarded as "<name>_Scroll") whenever a slider's value changes.
    SliderControls(Guard guard, std::function<void(QSlider*)> written);

    // A slider of `width` at `at`; a caption takes the first 100 pixels.
    QSlider* add(QWidget* parent, const QString& name, const QString& caption, int min, int max, int value,
                 QPoint at, int width = 150);
    QSlider* find(const QString& name) const;
    // Every slider at its position for the records, rounded half to even.
    void show(const ParticleSettings& particle, const EmitterSettings& emitter);

private:
    Guard guard_;
    std::function<void(QSlider*)> written_;
    std::vector<QSlider*> sliders_;   // owned by their pages
};

} // namespace emberly
