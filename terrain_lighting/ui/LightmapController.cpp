#include "ui/LightmapController.h"

#include "core/LightmapFile.h"
#include "core/NumberInput.h"
#include "core/ShadowBake.h"
#include "core/ShadowCoordinates.h"
#include "ui/ClsPreRendering.h"
#include "ui/FileDialogs.h"
#include "ui/MDIMain.h"
#include "ui/SettingsBoxes.h"

#include <platform/Interaction.h>
#include <platform/Paths.h>
#include <platform/RuntimeError.h>
#include <platform/TextFile.h>
#include <platform/Ui.h>

#include <QElapsedTimer>
#include <QProgressBar>

namespace landlume {
namespace {

const QString kBmpFilter = QStringLiteral("BMP files(*.bmp)|*.bmp");

} // namespace

LightmapController::LightmapController(MDIMain& frame) : frame_(frame) {}

QString LightmapController::lightmapFolder() const
{
    return platform::joinPath(frame_.programFolder(), QStringLiteral("Textures/Landscape"));
}

void LightmapController::endGenerating()
{
    frame_.engine().settings().generating = false;
    frame_.landPanel()->generate->setCaption(QStringLiteral("Generate lightmap"));
    frame_.progress()->setValue(0);
}

namespace {

// The lightmap's sample step across, as the bake works it out; 0 when it has
// none (the bake then reports why).
qint32 pictureStep(float landWidth, float texWidth)
{
    try {
        return bakeStep(landWidth, texWidth);
    } catch (const platform::RuntimeError&) {
        return 0;
    }
}

} // namespace

void LightmapController::generateLightmap()
{
    MdEngine& engine = frame_.engine();
    SceneSettings& s = engine.settings();
    LandPanel* panel = frame_.landPanel();
    QProgressBar* progress = frame_.progress();
    if (s.generating) {
        endGenerating();
        return;
    }
    frame_.showLightmapWindow();
    platform::doEvents();
    panel->generate->setCaption(QStringLiteral("Cancel"));
    s.generating = true;

    progress->setRange(0, std::max(0, int(std::min(s.landWidth, 2.0e9f))));
    s.landShadows = panel->landShadows->checkState() == Qt::Checked;
    s.objectShadows = panel->objectShadows->checkState() == Qt::Checked;
    LightmapPicture* picture = frame_.lightmapWindow()->picture();
    // The bake goes column by column: a repaint needs only the picture's
    // columns from the one last shown to the current one, and the bar moves
    // as smoothly set every 50 ms (each setting repaints it at once) as for
    // every column.
    const qint32 stepX = pictureStep(s.landWidth, s.texWidth);
    int sampleColumn = 0;
    int shownPixel = 0;
    QElapsedTimer sinceStart;
    sinceStart.start();
    qint64 barSetAt = -1000;
    ClsPreRendering::Display display;
    display.progress = [&](int x) {
        sampleColumn = x;
        if (sinceStart.elapsed() - barSetAt < 50)
            return;
        progress->setValue(x);
        barSetAt = sinceStart.elapsed();
    };
    display.repaint = [&] {
        if (stepX <= 0) {
            picture->refresh();
            return;
        }
        const int pixel = bakePixel(float(sampleColumn), stepX);
        picture->refreshColumns(shownPixel, pixel);
        shownPixel = pixel;
    };
    display.pumpEvents = [] { platform::doEvents(); };
    const BakeOutcome outcome = ClsPreRendering().Draw_ShadowMap(engine, picture->image(), display, s.landWidth,
                                                                 s.landHeight, s.texWidth, s.texHeight);
    picture->refresh();
    switch (outcome.end) {
    case BakeEnd::Finished:
    case BakeEnd::NoShadowKinds:
        endGenerating();
        break;
    case BakeEnd::Stopped:
        break;
    case BakeEnd::Failed:
        // The run ends; "Cancel" stays until the user presses it.
        platform::msgBox(outcome.errorDescription, platform::vbOKOnly, kProgramTitle);
        break;
    }
    lastBake_ = outcome;
}

void LightmapController::applyLightmapFile(const QString& path)
{
    frame_.engine().loadLightmapTexture(path);
    QImage picture(platform::resolvePath(path, frame_.programFolder()));
    if (picture.isNull())
        throw platform::RuntimeError(platform::err::InvalidPropertyValue,
                                     QStringLiteral("Cannot show the lightmap %1").arg(path));
    frame_.lightmapWindow()->picture()->setPicture(picture);
}

void LightmapController::loadLightmap()
{
    const std::optional<QString> path =
        chooseFileToOpen(QStringLiteral("Open lightmap:"), kBmpFilter, lightmapFolder());
    if (!path)
        return;
    platform::StepByStep().step([&] {
        applyLightmapFile(*path);
        frame_.engine().settings().lightmap = *path;
    });
}

void LightmapController::removeLightmap()
{
    platform::StepByStep().step([&] { frame_.engine().rebuildLand(); });
}

void LightmapController::saveLightmap()
{
    const std::optional<QString> path =
        chooseFileToSave(QStringLiteral("Save lightmap:"), kBmpFilter, lightmapFolder(), QStringLiteral(".bmp"));
    if (!path)
        return;
    platform::StepByStep().step([&] {
        // A 24-bit BMP of the picture as it is now (shadows and filters).
        const platform::SaveResult saved = saveLightmapPicture(frame_.lightmapWindow()->picture()->image(), *path);
        if (!saved) {
            // The previous file is untouched; the user must know this one was not written.
            platform::msgBox(QStringLiteral("The lightmap could not be saved to %1: %2").arg(*path, saved.error),
                             platform::vbExclamation, kProgramTitle);
            return;
        }
        frame_.engine().settings().lightmap = *path;
        platform::msgBox(QStringLiteral("Lightmap saved to file."), platform::vbInformation, kProgramTitle);
        frame_.engine().loadLightmapTexture(*path);
    });
}

void LightmapController::saveCoordinates()
{
    const std::optional<QString> path =
        chooseFileToSave(QStringLiteral("Save shadow coordinates:"), QStringLiteral("TXT files(*.txt)|*.txt"),
                         QString(), QStringLiteral(".txt"));
    if (!path)
        return;
    switch (saveShadowCoordinates(frame_.engine().settings().shadowCoordinates, *path)) {
    case CoordinatesSaved::Saved:
        platform::msgBox(QStringLiteral("Coordinates saved to file."), platform::vbInformation, kProgramTitle);
        break;
    case CoordinatesSaved::Failed:
        platform::msgBox(QStringLiteral("The shadow coordinates could not be saved to %1.").arg(*path),
                         platform::vbExclamation, kProgramTitle);
        break;
    case CoordinatesSaved::Nothing:
        break;
    }
}

void LightmapController::applyShadow()
{
    LandPanel* panel = frame_.landPanel();
    const std::optional<float> width = boxNumber(panel->shadowSet[0], QStringLiteral("Lightmap Width:"));
    if (!width)
        return;
    const std::optional<float> height = boxNumber(panel->shadowSet[1], QStringLiteral("Lightmap Height:"));
    if (!height)
        return;
    frame_.setLightmapSize(*width, *height);
}

void LightmapController::applyAlpha()
{
    platform::StepByStep steps;
    const std::optional<float> alpha = strictSingle(frame_.landPanel()->shadowSet[2]->text());
    if (alpha)
        frame_.engine().settings().alpha = *alpha;
    steps.step([&] { frame_.engine().reapplyLightmap(); });
}

void LightmapController::applyLightmapFilter(int number, int strength)
{
    LightmapPicture* picture = frame_.lightmapWindow()->picture();
    int progress = 0;
    filters_.ApplyFilter(number, picture->image(), strength, progress, [] { platform::doEvents(); });
    picture->refresh();
}

} // namespace landlume
