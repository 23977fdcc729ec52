// The help window: Readme.txt of the program folder in "Courier".
#pragma once

#include <toolkit/HelpWindow.h>

namespace glazery {

class Form4 : public toolkit::HelpWindow {
    Q_OBJECT
public:
    explicit Form4(QWidget* parent);
};

} // namespace glazery
