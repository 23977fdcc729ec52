// Emberly's splash window, shown at start-up while "ShowIntro" is on.
#pragma once

#include <toolkit/SplashWindow.h>

namespace emberly {

class frmSplash : public toolkit::SplashWindow {
    Q_OBJECT
public:
    frmSplash();

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace emberly
