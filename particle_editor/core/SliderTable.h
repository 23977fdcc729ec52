// The sliders of the tab pages and the record field each one edits: the
// position a slider takes for an emitter's records, and what moving it
// stores. Positions are the field times the slider's scale.
#pragma once

#include "core/EmitterRecords.h"

#include <QString>

#include <array>
#include <optional>

namespace emberly {

enum class SliderField {
    Size, Life, Speed, Bounce, Power, EmitterSpeed, MotionSpeed,
    DistanceX, DistanceY, DistanceZ,
    VelocityX, VelocityY, VelocityZ,
    Gravity,
};

struct SliderRow {
    const char* name;
    SliderField field;
    double scale;   // slider position = field value x scale
};

inline constexpr std::array<SliderRow, 14> kSliderRows = {{
    {"sldPartSize", SliderField::Size, 1},
    {"sldPartLife", SliderField::Life, 10},
    {"sldPartSpeed", SliderField::Speed, 100},
    {"sldBounce", SliderField::Bounce, 10},
    {"sldPartPower", SliderField::Power, 10},
    {"sldEmitSpeed", SliderField::EmitterSpeed, 1},
    {"sldMotionSpeed", SliderField::MotionSpeed, 100},
    {"sldMotionX", SliderField::DistanceX, 1},
    {"sldMotionY", SliderField::DistanceY, 1},
    {"sldMotionZ", SliderField::DistanceZ, 1},
    {"sldRotX", SliderField::VelocityX, 10},
    {"sldRotY", SliderField::VelocityY, 10},
    {"sldRotZ", SliderField::VelocityZ, 10},
    {"sldGravity", SliderField::Gravity, 1},
}};

const SliderRow* findSliderRow(const QString& name);

// The position (before rounding) the slider of `row` shows for the records.
double sliderPosition(const SliderRow& row, const ParticleSettings& p, const EmitterSettings& e);

// What moving a slider did.
struct SliderWrite {
    QString tip;                    // the value as the slider's tip shows it
    int velocityAxis = -1;          // a velocity slider: its axis 0..2 ...
    float velocity = 0;             // ... and the value its box is to show
};

// Stores a slider's new position in the records. Velocity sliders leave the
// records alone (their boxes carry the value) and gravity only reports its
// tip: the frame loop copies both. An unknown name stores nothing.
SliderWrite writeSlider(const QString& name, int position, ParticleSettings& p, EmitterSettings& e);

} // namespace emberly
