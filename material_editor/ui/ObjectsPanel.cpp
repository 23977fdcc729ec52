#include "ui/ObjectsPanel.h"
#include "ui/PanelControls.h"
#include "ui/PreviewScene.h"

#include <QCheckBox>
#include <QPushButton>
#include <QRadioButton>

namespace glazery {

ObjectsPanel::ObjectsPanel(QWidget* panel, PreviewScene& scene)
    : QObject(panel)
    , scene_(scene)
{
    const QList<PreviewObject> defaults = defaultPreviewObjects();
    for (int i = 0; i < ObjectCount; ++i) {
        auto* choice = controls::option(panel, QStringLiteral("optObjects_%1").arg(i), defaults[i].description,
                                        8 + (i % 3) * 74, 24 + (i / 3) * 20, 72);
        choices_[static_cast<size_t>(i)] = choice;
        connect(choice, &QRadioButton::clicked, this, [this, i] { showObject(i); });
    }
    choices_[0]->setChecked(true);
    sphereMapping_ = new QCheckBox(tr("Sphere maping"), panel);
    sphereMapping_->setObjectName("Check2");
    sphereMapping_->setGeometry(8, 88, 130, 20);
    // Acts on mouse up (clicked), after the box has toggled.
    connect(sphereMapping_, &QCheckBox::clicked, this, [this] { setSphereMapping(sphereMapping_->isChecked()); });
    auto* options = controls::button(panel, "Command1", tr("Options"), QRect(150, 86, 78, 22));
    connect(options, &QPushButton::clicked, this, &ObjectsPanel::optionsRequested);
}

void ObjectsPanel::setCaption(int index, const QString& caption)
{
    choices_.at(static_cast<size_t>(index))->setText(caption);
}

QString ObjectsPanel::caption(int index) const
{
    return choices_.at(static_cast<size_t>(index))->text();
}

void ObjectsPanel::setChoosable(int index, bool on)
{
    choices_.at(static_cast<size_t>(index))->setEnabled(on);
}

void ObjectsPanel::showObject(int index)
{
    if (index < 0 || index >= ObjectCount)
        return;
    choices_[static_cast<size_t>(index)]->setChecked(true);
    scene_.showObject(index);
}

void ObjectsPanel::setSphereMapping(bool on)
{
    sphereMapping_->setChecked(on);
    scene_.setSphereMapping(on);
}

bool ObjectsPanel::sphereMapping() const
{
    return sphereMapping_->isChecked();
}

} // namespace glazery
