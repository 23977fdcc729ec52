// Pictures of the four velocity styles for their option buttons.
#pragma once

#include <QIcon>

namespace emberly {

// 0 beam, 1 spray, 2 burst, 3 implode.
QIcon styleIcon(int style);

} // namespace emberly
