#include "toolkit/Startup.h"

#include <QCoreApplication>

namespace toolkit {

void startTool(const QString& applicationName)
{
    QCoreApplication::setApplicationName(applicationName);
}

} // namespace toolkit
