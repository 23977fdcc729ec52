#include "platform/Ui.h"

#include <QCoreApplication>

namespace platform {

void doEvents()
{
    QCoreApplication::processEvents();
}

} // namespace platform
