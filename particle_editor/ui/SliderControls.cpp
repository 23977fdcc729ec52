#include "ui/SliderControls.h"

#include "core/SliderTable.h"
#include "ui/PanelControls.h"

#include <platform/TextRules.h>

#include <QSlider>

namespace emberly {

SliderControls::SliderControls(Guard guard, std::function<void(QSlider*)> written)
    : guard_(std::move(guard)), written_(std::move(written))
{
}

QSlider* SliderControls::add(QWidget* parent, const QString& name, const QString& caption, int min, int max,
                             int value, QPoint at, int width)
{
    if (!caption.isEmpty())
        controls::label(parent, QStringLiteral("lbl") + name.mid(3), caption, {at.x(), at.y(), 100, 20});
    auto* s = new QSlider(Qt::Horizontal, parent);
    s->setObjectName(name);
    s->setRange(min, max);
    s->setValue(value);
    s->setGeometry(at.x() + (caption.isEmpty() ? 0 : 100), at.y(), width - (caption.isEmpty() ? 0 : 100), 20);
    QObject::connect(s, &QSlider::valueChanged, s, [this, s] {
        guard_(s->objectName() + QStringLiteral("_Scroll"), [this, s] { written_(s); });
    });
    sliders_.push_back(s);
    return s;
}

QSlider* SliderControls::find(const QString& name) const
{
    for (QSlider* s : sliders_)
        if (s->objectName() == name)
            return s;
    return nullptr;
}

void SliderControls::show(const ParticleSettings& particle, const EmitterSettings& emitter)
{
    for (const SliderRow& row : kSliderRows)
        if (QSlider* s = find(QString::fromLatin1(row.name)))
            s->setValue(int(platform::cint(sliderPosition(row, particle, emitter))));
}

} // namespace emberly
