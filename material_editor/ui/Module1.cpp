#include "ui/Module1.h"
#include "ui/Form1.h"
#include "ui/frmSplash.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

#include <platform/Process.h>

namespace glazery {

int runGlazery(const QString& programFolder, double splashSeconds)
{
    {
        frmSplash splash;
        splash.show();
        // A steady clock, so the wait cannot hang across midnight.
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < splashSeconds * 1000 && !splash.closedByUser()) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
            if (!splash.closedByUser())
                QThread::msleep(5);
        }
    }
    Form1 form(programFolder);
    return form.load(true) ? 0 : 1;
}

void shellOpen(const QString& target)
{
    platform::shellOpen(target);
}

} // namespace glazery
