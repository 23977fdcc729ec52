// The right settings panel of the frame window: the object settings with the
// selected object's placement, and the light direction.
#pragma once

#include "core/PlacedObjects.h"
#include "ui/PanelBox.h"
#include "ui/ShapeButton.h"

#include <QCheckBox>
#include <QWidget>

namespace landlume {

class ObjectPanel : public QWidget {
    Q_OBJECT
public:
    explicit ObjectPanel(QWidget* parent);

    // The object's rounded values in the placement labels and the boxes, and
    // its two flags in the check boxes.
    void showObject(const PlacedObject& object);
    // "-" in the labels, boxes "0", "0", "1", on land ticked, align cleared,
    // light direction "2", "-1", "2".
    void showDefaults();

    ShapeButton* loadObject;
    BoxArray position;
    BoxArray rotation;
    BoxArray scale;
    QCheckBox* align;
    QCheckBox* placeOnLand;
    ShapeButton* applyObject;
    std::array<QLabel*, 9> placement{};
    BoxArray lightDir;
    ShapeButton* applyLight;
};

} // namespace landlume
