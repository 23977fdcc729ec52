// The left settings panel of the frame window: landscape settings, lightmap
// settings, lightmap alpha, the options with the lightmap actions, and the
// logo kept at its bottom.
#pragma once

#include "ui/PanelBox.h"
#include "ui/ShapeButton.h"

#include <QCheckBox>
#include <QWidget>

namespace landlume {

class LandPanel : public QWidget {
    Q_OBJECT
public:
    explicit LandPanel(QWidget* parent);

    // Boxes back to "8", "8", "1" and "512", "512", "0.4", both shadow boxes ticked.
    void showDefaults();

    ShapeButton* loadHeight;
    BoxArray landSet;
    ShapeButton* applyLand;
    ShapeButton* loadLight;
    ShapeButton* removeLight;
    BoxArray shadowSet;   // lightmap width, height; item 2 the alpha
    ShapeButton* applyShadow;
    ShapeButton* applyAlpha;
    QCheckBox* landShadows;
    QCheckBox* objectShadows;
    QCheckBox* visualize;
    ShapeButton* generate;
    ShapeButton* saveLightmap;
    ShapeButton* saveCoords;
    QLabel* logo;
};

// The logo drawn in code: the program's name on a dark band.
QPixmap landlumeLogo(int width, int height);

} // namespace landlume
