// The About box.
#pragma once

#include <toolkit/AboutWindow.h>

namespace glazery {

class frmAbout : public toolkit::AboutWindow {
    Q_OBJECT
public:
    explicit frmAbout(QWidget* parent);
};

} // namespace glazery
