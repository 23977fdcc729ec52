#include "ui/Module1.h"
#include "ui/Form1.h"
#include "ui/frmSplash.h"

#include <platform/Process.h>

namespace glazery {

int runGlazery(const QString& programFolder, double splashSeconds, const QString& fileToOpen)
{
    {
        frmSplash splash;
        toolkit::showSplash(splash, splashSeconds, toolkit::SplashWait::UntilClosedOrElapsed);
    }
    Form1 form(programFolder);
    return form.load(true, fileToOpen) ? 0 : 1;
}

void shellOpen(const QString& target)
{
    platform::shellOpen(target);
}

} // namespace glazery
