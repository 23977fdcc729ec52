// The actions of the lightmap: generate and cancel, load, remove and save the
// lightmap, save the shadow coordinates, and the filters.
#include "ui/MDIMain.h"

#include "core/Filters.h"
#include "core/ShadowCoordinates.h"
#include "ui/ClsPreRendering.h"

#include <korlith3d/KLGlobals.h>
#include <korlith3d/KLLandscape.h>
#include <korlith3d/KLTextureFactory.h>

#include <platform/Interaction.h>
#include <platform/Paths.h>
#include <platform/RuntimeError.h>
#include <platform/TextFile.h>
#include <platform/Ui.h>

#include <QBuffer>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QProgressBar>

namespace landlume {
namespace {

const QString kBmpFilter = QStringLiteral("BMP files(*.bmp)|*.bmp");

std::optional<QString> fileDialog(bool save, const QString& title, const QString& filter, const QString& folder,
                                  const QString& extension = {})
{
    platform::FileDialogRequest request;
    request.title = title;
    request.filter = filter;
    request.initialFolder = folder;
    const std::optional<platform::FileChoice> choice =
        save ? platform::interaction().saveFile(request) : platform::interaction().openFile(request);
    if (!choice || choice->path.isEmpty())
        return std::nullopt;
    QString path = choice->path;
    if (save && !path.endsWith(extension, Qt::CaseInsensitive))
        path += extension;
    return path;
}

} // namespace

void MDIMain::generateLightmap()
{
    SceneSettings& s = engine_->settings();
    ShapeButton* button = landPanel_->generate;
    if (s.generating) {
        s.generating = false;
        button->setCaption(QStringLiteral("Generate lightmap"));
        progress_->setValue(0);
        return;
    }
    shadowMapWindow_->show();
    area_->setActiveSubWindow(shadowMapWindow_);
    shadowMap_->setFocus();
    platform::doEvents();
    button->setCaption(QStringLiteral("Cancel"));
    s.generating = true;

    progress_->setRange(0, std::max(0, int(std::min(s.landWidth, 2.0e9f))));
    s.landShadows = landPanel_->landShadows->checkState() == Qt::Checked;
    s.objectShadows = landPanel_->objectShadows->checkState() == Qt::Checked;
    LightmapPicture* picture = shadowMap_->picture();
    ClsPreRendering::Display display;
    display.progress = [this](int x) { progress_->setValue(x); };
    display.repaint = [picture] { picture->refresh(); };
    display.pumpEvents = [] { platform::doEvents(); };
    const BakeOutcome outcome = ClsPreRendering().Draw_ShadowMap(*engine_, picture->image(), display, s.landWidth,
                                                                 s.landHeight, s.texWidth, s.texHeight);
    picture->refresh();
    switch (outcome.end) {
    case BakeEnd::Finished:
    case BakeEnd::NoShadowKinds:
        s.generating = false;
        button->setCaption(QStringLiteral("Generate lightmap"));
        progress_->setValue(0);
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

void MDIMain::loadLightmap()
{
    const std::optional<QString> path =
        fileDialog(false, QStringLiteral("Open lightmap:"), kBmpFilter,
                   platform::joinPath(programFolder_, QStringLiteral("Textures/Landscape")));
    if (!path)
        return;
    platform::StepByStep().step([&] {
        applyLightmapFile(*path);
        engine_->settings().lightmap = *path;
    });
}

void MDIMain::removeLightmap()
{
    platform::StepByStep().step([&] { engine_->rebuildLand(); });
}

void MDIMain::saveLightmap()
{
    const std::optional<QString> path =
        fileDialog(true, QStringLiteral("Save lightmap:"), kBmpFilter,
                   platform::joinPath(programFolder_, QStringLiteral("Textures/Landscape")), QStringLiteral(".bmp"));
    if (!path)
        return;
    platform::StepByStep().step([&] {
        // A 24-bit BMP of the picture as it is now (shadows and filters).
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        if (!shadowMap_->picture()->image().convertToFormat(QImage::Format_RGB888).save(&buffer, "BMP"))
            throw platform::RuntimeError(platform::err::PathFileAccessError);
        const platform::SaveResult saved = platform::saveFileAtomically(*path, bytes);
        if (!saved)
            throw platform::RuntimeError(platform::err::PathFileAccessError, saved.error);
        engine_->settings().lightmap = *path;
        platform::msgBox(QStringLiteral("Lightmap saved to file."), platform::vbInformation, kProgramTitle);
        KLTextureFactory& textures = engine_->textures();
        platform::StepByStep().step([&] { textures.DeleteTexture(KLGlobals().GetTex(kLightmapTexture)); });
        const int id = textures.LoadTexture(*path, kLightmapTexture, -1, -1, 0);
        if (KLLandscape* land = engine_->landscape())
            land->SetLightmap(id);
    });
}

void MDIMain::saveCoordinates()
{
    const std::optional<QString> path = fileDialog(true, QStringLiteral("Save shadow coordinates:"),
                                                   QStringLiteral("TXT files(*.txt)|*.txt"), QString(),
                                                   QStringLiteral(".txt"));
    if (!path)
        return;
    if (saveShadowCoordinates(engine_->settings().shadowCoordinates, *path) == CoordinatesSaved::Saved)
        platform::msgBox(QStringLiteral("Coordinates saved to file."), platform::vbInformation, kProgramTitle);
}

void MDIMain::applyLightmapFilter(int number, int strength)
{
    LightmapPicture* picture = shadowMap_->picture();
    int progress = 0;
    filters_.ApplyFilter(number, picture->image(), strength, progress, [] { platform::doEvents(); });
    picture->refresh();
}

} // namespace landlume
