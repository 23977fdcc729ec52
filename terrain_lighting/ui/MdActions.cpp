// The actions of the frame window's menus and panels (landscape, objects,
// light direction, map files).
#include "ui/FrmInfo.h"
#include "ui/MDIMain.h"

#include "core/MapFile.h"
#include "core/NumberInput.h"

#include <korlith3d/KLGlobals.h>
#include <korlith3d/KLLandscape.h>
#include <korlith3d/KLTextureFactory.h>

#include <platform/Interaction.h>
#include <platform/Paths.h>
#include <platform/RuntimeError.h>
#include <platform/TextRules.h>

#include <QAction>

namespace landlume {
namespace {

std::optional<QString> openDialog(const QString& title, const QString& filter, const QString& folder)
{
    platform::FileDialogRequest request;
    request.title = title;
    request.filter = filter;
    request.initialFolder = folder;
    const std::optional<platform::FileChoice> choice = platform::interaction().openFile(request);
    if (!choice || choice->path.isEmpty())
        return std::nullopt;
    return choice->path;
}

std::optional<QString> saveDialog(const QString& title, const QString& filter, const QString& folder,
                                  const QString& extension)
{
    platform::FileDialogRequest request;
    request.title = title;
    request.filter = filter;
    request.initialFolder = folder;
    const std::optional<platform::FileChoice> choice = platform::interaction().saveFile(request);
    if (!choice || choice->path.isEmpty())
        return std::nullopt;
    QString path = choice->path;
    if (!path.endsWith(extension, Qt::CaseInsensitive))
        path += extension;
    return path;
}

void invalidBox(const QString& what, const QString& problem)
{
    platform::msgBox(QStringLiteral("%1 %2 Nothing was changed.").arg(what, problem), platform::vbExclamation,
                     kInvalidSettingsTitle);
}

// The map load's steps on the program.
class MapLoader final : public MapTarget {
public:
    MapLoader(MDIMain& frame, MdEngine& engine) : frame_(frame), engine_(engine) {}

    void buildLandscape(const QString& heightmap, qint32 width, qint32 height, float factorY) override
    {
        SceneSettings& s = engine_.settings();
        s.heightmap = heightmap;
        s.width = width;
        s.height = height;
        s.factorY = factorY;
        engine_.rebuildLand();
    }
    void setLightmapSize(const QString& lightmap, float texWidth, float texHeight, float alpha) override
    {
        SceneSettings& s = engine_.settings();
        s.lightmap = lightmap;
        s.alpha = alpha;
        frame_.setLightmapSize(texWidth, texHeight);
        s.texWidth = texWidth;
        s.texHeight = texHeight;
    }
    void applyLightmap(const QString& lightmap) override { frame_.applyLightmapFile(lightmap); }
    void placeObject(const QString& fileType, const PlacedObject& object) override
    {
        engine_.placeObject(fileType, object);
    }
    void setLight(const D3DVECTOR& direction) override { engine_.changeLight(direction); }
    void setShadowFlags(bool landShadows, bool objectShadows) override
    {
        engine_.settings().landShadows = landShadows;
        engine_.settings().objectShadows = objectShadows;
    }
    void showSettings() override
    {
        const SceneSettings& s = engine_.settings();
        LandPanel* land = frame_.landPanel();
        land->landSet[0]->setText(platform::cstrInteger(s.width));
        land->landSet[1]->setText(platform::cstrInteger(s.height));
        land->landSet[2]->setText(platform::singleText(s.factorY));
        land->shadowSet[0]->setText(platform::singleText(s.texWidth));
        land->shadowSet[1]->setText(platform::singleText(s.texHeight));
        land->shadowSet[2]->setText(platform::singleText(s.alpha));
        ObjectPanel* objects = frame_.objectPanel();
        objects->lightDir[0]->setText(platform::singleText(s.lightDirection.x));
        objects->lightDir[1]->setText(platform::singleText(s.lightDirection.y));
        objects->lightDir[2]->setText(platform::singleText(s.lightDirection.z));
        land->landShadows->setChecked(s.landShadows);
        land->objectShadows->setChecked(s.objectShadows);
    }

private:
    MDIMain& frame_;
    MdEngine& engine_;
};

} // namespace

std::optional<float> MDIMain::boxNumber(const QLineEdit* box, const QString& what)
{
    const std::optional<float> value = strictSingle(box->text());
    if (!value)
        invalidBox(what, QStringLiteral("\"%1\" is not a number.").arg(box->text()));
    return value;
}

std::optional<D3DVECTOR> MDIMain::boxVector(const BoxArray& boxes, const QString& what)
{
    static const char* const axes[] = {"X", "Y", "Z"};
    float v[3] = {};
    for (int i = 0; i < 3; ++i) {
        const std::optional<float> value =
            boxNumber(boxes[std::size_t(i)], QStringLiteral("%1 %2:").arg(what, QLatin1String(axes[i])));
        if (!value)
            return std::nullopt;
        v[i] = *value;
    }
    return D3DVECTOR{v[0], v[1], v[2]};
}

// ---- File menu ---------------------------------------------------------------

void MDIMain::newScene()
{
    engine_->resetLand();
    resetPanels();
}

void MDIMain::resetPanels()
{
    landPanel_->showDefaults();
    shadowMap_->picture()->clearPicture();
    objectPanel_->showDefaults();
}

void MDIMain::openMap()
{
    const std::optional<QString> path =
        openDialog(kOpenMapTitle, kMapFilter, platform::joinPath(programFolder_, QStringLiteral("Maps")));
    if (path)
        openMapFile(*path);
}

void MDIMain::openMapFile(const QString& path)
{
    newScene();
    MapLoader loader(*this, *engine_);
    const MapLoadResult result = loadMap(path, loader);
    if (!result.ok)
        platform::msgBox(result.message(), platform::vbExclamation, kProgramTitle);
}

void MDIMain::saveMap()
{
    const std::optional<QString> path = saveDialog(kSaveMapTitle, kMapFilter,
                                                   platform::joinPath(programFolder_, QStringLiteral("Maps")),
                                                   QStringLiteral(".ldm"));
    if (!path)
        return;
    // A failed write ends the save without a message, as the other file
    // actions do; what was written stays.
    landlume::saveMap(engine_->mapScene(), *path);
}

void MDIMain::exitProgram() { engine_->settings().running = false; }

void MDIMain::toggleCamera()
{
    SceneSettings& s = engine_->settings();
    s.cameraActive = !s.cameraActive;
    cameraItem_->setChecked(s.cameraActive);
}

void MDIMain::showAbout()
{
    if (!info_)
        info_ = std::make_unique<FrmInfo>(this);
    info_->show();
    info_->raise();
}

void MDIMain::applyLightmapFile(const QString& path)
{
    KLTextureFactory& textures = engine_->textures();
    // The old texture goes first; there is none before the first lightmap.
    platform::StepByStep().step([&] { textures.DeleteTexture(KLGlobals().GetTex(kLightmapTexture)); });
    const int id = textures.LoadTexture(path, kLightmapTexture, -1, -1, 0);
    if (KLLandscape* land = engine_->landscape())
        land->SetLightmap(id);
    QImage picture(platform::resolvePath(path, programFolder_));
    if (picture.isNull())
        throw platform::RuntimeError(platform::err::InvalidPropertyValue,
                                     QStringLiteral("Cannot show the lightmap %1").arg(path));
    shadowMap_->picture()->setPicture(picture);
}

// ---- landscape ----------------------------------------------------------------

void MDIMain::loadHeightmap()
{
    const std::optional<QString> path =
        openDialog(QStringLiteral("Open heightmap:"), QStringLiteral("BMP files(*.bmp)|*.bmp|JPG files(*.jpg)|*.jpg"),
                   QString());
    if (!path)
        return;
    platform::StepByStep steps;
    steps.step([&] { engine_->loadHeightmap(*path); });
}

void MDIMain::applyLand()
{
    // Every box is checked before the landscape is touched, so a bad value
    // keeps the landscape there is.
    qint32 width = 0;
    qint32 height = 0;
    QString problem = chunkCountProblem(landPanel_->landSet[0]->text(), width);
    if (!problem.isEmpty())
        return invalidBox(QStringLiteral("Landscape Width:"), problem);
    problem = chunkCountProblem(landPanel_->landSet[1]->text(), height);
    if (!problem.isEmpty())
        return invalidBox(QStringLiteral("Landscape Height:"), problem);
    const std::optional<float> factor = boxNumber(landPanel_->landSet[2], QStringLiteral("Landscape FactorY:"));
    if (!factor)
        return;
    engine_->applyLand(width, height, *factor);
}

// ---- light direction -------------------------------------------------------------

void MDIMain::applyLight()
{
    const std::optional<D3DVECTOR> direction = boxVector(objectPanel_->lightDir, QStringLiteral("Light direction"));
    if (direction)
        engine_->changeLight(*direction);
}

// ---- lightmap size and alpha ------------------------------------------------------

void MDIMain::applyShadow()
{
    const std::optional<float> width = boxNumber(landPanel_->shadowSet[0], QStringLiteral("Lightmap Width:"));
    if (!width)
        return;
    const std::optional<float> height = boxNumber(landPanel_->shadowSet[1], QStringLiteral("Lightmap Height:"));
    if (!height)
        return;
    setLightmapSize(*width, *height);
}

void MDIMain::applyAlpha()
{
    platform::StepByStep steps;
    const std::optional<float> alpha = strictSingle(landPanel_->shadowSet[2]->text());
    if (alpha)
        engine_->settings().alpha = *alpha;
    steps.step([&] {
        if (KLLandscape* land = engine_->landscape())
            land->SetLightmap(KLGlobals().GetTex(kLightmapTexture));
    });
}

// ---- objects ------------------------------------------------------------------------

void MDIMain::loadObject()
{
    const std::optional<QString> path =
        openDialog(QStringLiteral("Load object:"), QStringLiteral("X files(*.x)|*.x|3DS files(*.3ds)|*.3ds"), QString());
    if (!path)
        return;
    PlacedObject object;
    object.fileName = *path;
    platform::StepByStep steps;
    steps.step([&] { engine_->placeObject(objectFileType(*path), object); });
}

void MDIMain::applyObject()
{
    if (engine_->selectedSlot() == 0)
        return;
    PlacedObject object;
    object.aligned = objectPanel_->align->isChecked();
    object.onLand = objectPanel_->placeOnLand->isChecked();
    const std::optional<D3DVECTOR> position = boxVector(objectPanel_->position, QStringLiteral("Object position"));
    if (!position)
        return;
    const std::optional<D3DVECTOR> rotation = boxVector(objectPanel_->rotation, QStringLiteral("Object rotation"));
    if (!rotation)
        return;
    const std::optional<D3DVECTOR> scale = boxVector(objectPanel_->scale, QStringLiteral("Object scale"));
    if (!scale)
        return;
    object.meshPosition = *position;
    object.meshRotation = *rotation;
    object.meshScale = *scale;
    engine_->applyObject(object);
}

} // namespace landlume
