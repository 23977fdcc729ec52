#include "ui/Startup.h"

#include "core/EmberlyRegistry.h"
#include "ui/frmMain.h"
#include "ui/frmSplash.h"

namespace emberly {

int runEmberly(const QString& programFolder, double splashSeconds)
{
    if (readFlag(kShowIntroValue)) {
        frmSplash splash;
        // A click or key closes the splash; the time is waited out all the same.
        toolkit::showSplash(splash, splashSeconds, toolkit::SplashWait::FullTime);
    }
    frmMain form(programFolder);
    form.load(true);
    return 0;
}

} // namespace emberly
