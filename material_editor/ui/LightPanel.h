// The light panel: type, on/off, position, direction, spot angles, range and
// the three light colour trios of the test light "Lys", and the Default
// button. It keeps the light record and sends every edit to the preview.
#pragma once

#include "ui/Toolkit.h"

#include "core/MaterialSettings.h"

#include <korlith3d/types.h>

#include <QObject>

#include <array>

class QComboBox;
class QRadioButton;
class QSlider;

namespace glazery {

class ColourGroupEditor;
class PreviewScene;

class LightPanel : public QObject {
    Q_OBJECT
public:
    LightPanel(QWidget* panel, PreviewScene& scene, DragTracker& tracker);

    // The light types with their Direct3D type as item data, row 0 selected.
    void fillLightTypes();
    // The test light as it starts, its spot angles from the boxes.
    void createTestLight();

    LightTexts texts() const;
    bool lightOn() const;
    // The boxes and the type row from `texts`; the light follows the type.
    void setTexts(const LightTexts& texts);
    void setLightOn(bool on);
    // The whole light from the boxes; the swatches follow.
    void rebuildTestLight();

signals:
    // "Default": the light part of the default material file is wanted.
    void defaultRequested();

private:
    void buildTypeAndSwitch(QWidget* panel);
    void buildGeometryBoxes(QWidget* panel);
    void buildColourTrios(QWidget* panel, DragTracker& tracker);
    void wire(DragTracker& tracker);
    void applyLight();
    void lightTypeClicked();
    void updateLightColour(size_t trio);

    PreviewScene& scene_;
    D3DLIGHT8 testLight_{};
    QComboBox* typeOfLight_ = nullptr;  // cboTypeOfLight
    QRadioButton* lightOnOption_ = nullptr;  // Option5
    QRadioButton* lightOffOption_ = nullptr; // Option6
    std::array<NumberBox*, 3> position_{};       // pX pY pZ
    std::array<NumberBox*, 3> direction_{};      // tX tY tZ
    std::array<QSlider*, 3> directionSlider_{};  // vsX vsY vsZ
    NumberBox* theta_ = nullptr; // tTheta
    NumberBox* phi_ = nullptr;   // tPhi
    NumberBox* range_ = nullptr; // lRange
    std::array<ColourGroupEditor*, 3> trios_{}; // ambient, diffuse, specular
};

} // namespace glazery
