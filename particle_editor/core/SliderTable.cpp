#include "core/SliderTable.h"

#include <platform/TextRules.h>

namespace emberly {

namespace {

// The value through "###0.000" and back, as the records keep it.
double formatted(double value, QString& text)
{
    text = platform::formatDouble(value, QStringLiteral("###0.000"));
    return platform::val(text);
}

int axisOf(SliderField field, SliderField first)
{
    return int(field) - int(first);
}

} // namespace

const SliderRow* findSliderRow(const QString& name)
{
    for (const SliderRow& row : kSliderRows)
        if (name == QLatin1String(row.name))
            return &row;
    return nullptr;
}

double sliderPosition(const SliderRow& row, const ParticleSettings& p, const EmitterSettings& e)
{
    double value = 0;
    switch (row.field) {
    case SliderField::Size: value = p.Size; break;
    case SliderField::Life: value = double(p.Life); break;
    case SliderField::Speed: value = double(p.Speed); break;
    case SliderField::Bounce: value = double(e.Bounce); break;
    case SliderField::Power: value = double(e.Power); break;
    case SliderField::EmitterSpeed: value = double(e.EmittorSpeed); break;
    case SliderField::MotionSpeed: value = double(e.MotionSpeed); break;
    case SliderField::DistanceX: value = double(e.Distance.x); break;
    case SliderField::DistanceY: value = double(e.Distance.y); break;
    case SliderField::DistanceZ: value = double(e.Distance.z); break;
    case SliderField::VelocityX: value = double(p.Velocity.x); break;
    case SliderField::VelocityY: value = double(p.Velocity.y); break;
    case SliderField::VelocityZ: value = double(p.Velocity.z); break;
    case SliderField::Gravity: value = e.Gravity; break;
    }
    return value * row.scale;
}

SliderWrite writeSlider(const QString& name, int position, ParticleSettings& p, EmitterSettings& e)
{
    SliderWrite result;
    const SliderRow* row = findSliderRow(name);
    if (!row)
        return result;
    const double scaled = double(position) / row->scale;
    switch (row->field) {
    case SliderField::Size: p.Size = platform::cint(formatted(scaled, result.tip)); break;
    case SliderField::Life: p.Life = float(formatted(scaled, result.tip)); break;
    case SliderField::Speed: p.Speed = float(formatted(scaled, result.tip)); break;
    case SliderField::Bounce: e.Bounce = float(formatted(scaled, result.tip)); break;
    case SliderField::Power: e.Power = float(formatted(scaled, result.tip)); break;
    case SliderField::EmitterSpeed: e.EmittorSpeed = float(formatted(scaled, result.tip)); break;
    case SliderField::MotionSpeed: e.MotionSpeed = float(formatted(scaled, result.tip)); break;
    case SliderField::DistanceX:
    case SliderField::DistanceY:
    case SliderField::DistanceZ: {
        const int axis = axisOf(row->field, SliderField::DistanceX);
        (axis == 0 ? e.Distance.x : axis == 1 ? e.Distance.y : e.Distance.z) = float(position);
        result.tip = QString::number(position);
        break;
    }
    case SliderField::VelocityX:
    case SliderField::VelocityY:
    case SliderField::VelocityZ:
        result.velocityAxis = axisOf(row->field, SliderField::VelocityX);
        result.velocity = float(formatted(scaled, result.tip));
        break;
    case SliderField::Gravity: formatted(scaled, result.tip); break;
    }
    return result;
}

} // namespace emberly
