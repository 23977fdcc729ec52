#include "ui/LandscapeActions.h"

#include "core/NumberInput.h"
#include "ui/FileDialogs.h"
#include "ui/MDIMain.h"
#include "ui/SettingsBoxes.h"

#include <platform/RuntimeError.h>

namespace landlume {

LandscapeActions::LandscapeActions(MDIMain& frame) : frame_(frame) {}

void LandscapeActions::loadHeightmap()
{
    const std::optional<QString> path = chooseFileToOpen(
        QStringLiteral("Open heightmap:"), QStringLiteral("BMP files(*.bmp)|*.bmp|JPG files(*.jpg)|*.jpg"), QString());
    if (!path)
        return;
    platform::StepByStep steps;
    steps.step([&] { frame_.engine().loadHeightmap(*path); });
}

void LandscapeActions::applyLand()
{
    // Every box is checked before the landscape is touched, so a bad value
    // keeps the landscape there is.
    const LandPanel* panel = frame_.landPanel();
    qint32 width = 0;
    qint32 height = 0;
    QString problem = chunkCountProblem(panel->landSet[0]->text(), width);
    if (!problem.isEmpty())
        return warnInvalidBox(QStringLiteral("Landscape Width:"), problem);
    problem = chunkCountProblem(panel->landSet[1]->text(), height);
    if (!problem.isEmpty())
        return warnInvalidBox(QStringLiteral("Landscape Height:"), problem);
    const std::optional<float> factor = boxNumber(panel->landSet[2], QStringLiteral("Landscape FactorY:"));
    if (!factor)
        return;
    frame_.engine().applyLand(width, height, *factor);
}

} // namespace landlume
