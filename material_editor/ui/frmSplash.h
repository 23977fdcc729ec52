// The splash window shown while Glazery starts; a click or a key closes it.
#pragma once

#include <toolkit/SplashWindow.h>

namespace glazery {

class frmSplash : public toolkit::SplashWindow {
    Q_OBJECT
public:
    frmSplash();

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace glazery
