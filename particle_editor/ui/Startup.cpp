#include "ui/Startup.h"

#include "core/EmberlyRegistry.h"
#include "ui/PresetMenus.h"
#include "ui/frmMain.h"
#include "ui/frmSplash.h"

#include <platform/RuntimeError.h>

namespace emberly {

int runEmberly(const QString& programFolder, double splashSeconds, const QString& fileToOpen)
{
    if (readFlag(kShowIntroValue)) {
        frmSplash splash;
        // A click or key closes the splash; the time is waited out all the same.
        toolkit::showSplash(splash, splashSeconds, toolkit::SplashWait::FullTime);
    }
    frmMain form(programFolder);
    PresetMenus presets(form);
    // An engine failure while starting ends the program with its message.
    platform::runUncaught([&] {
        form.load(true, [&] {
            if (!fileToOpen.isEmpty())
                presets.openFileAtStart(fileToOpen);
        });
    });
    return 0;
}

} // namespace emberly
