// The "Options" page of the tab strip: "Show Intro" and "View Auto-Rotate"
// (kept in the registry store), the alpha blending mode of the particle
// systems and the background sky box.
#pragma once

#include "ui/Guard.h"

#include <QFrame>

#include <functional>

class QCheckBox;

namespace emberly {

class OptionsPage : public QFrame {
    Q_OBJECT
public:
    struct Actions {
        std::function<void()> autoRotateToggled;
        std::function<void(int mode)> alphaModeChosen;   // 1..3
        std::function<void(bool grid)> skyChosen;        // false "Mountains"
    };
    OptionsPage(QWidget* parent, Guard guard, Actions actions);

    void setShowIntro(bool on);

private:
    void buildAlphaModes();
    void buildSky();

    Guard guard_;
    Actions actions_;
    QCheckBox* showIntro_ = nullptr;   // chkIntro
};

} // namespace emberly
