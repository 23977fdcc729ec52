#include "ui/MapFileActions.h"

#include "ui/FileDialogs.h"
#include "ui/MDIMain.h"

#include <platform/Interaction.h>
#include <platform/Paths.h>
#include <platform/TextRules.h>

#include <QDir>
#include <QFileInfo>

namespace landlume {

MapFileActions::MapFileActions(MDIMain& frame) : frame_(frame) {}

QString MapFileActions::mapsFolder() const
{
    return platform::joinPath(frame_.programFolder(), QStringLiteral("Maps"));
}

void MapFileActions::newScene()
{
    frame_.engine().resetLand();
    frame_.landPanel()->showDefaults();
    frame_.lightmapWindow()->picture()->clearPicture();
    frame_.objectPanel()->showDefaults();
}

void MapFileActions::openMap()
{
    const std::optional<QString> path = chooseFileToOpen(kOpenMapTitle, kMapFilter, mapsFolder());
    if (path)
        openMapFile(*path);
}

void MapFileActions::openMapFile(const QString& path)
{
    newScene();
    const MapLoadResult result = loadMap(path, *this);
    if (!result.ok)
        platform::msgBox(result.message(), platform::vbExclamation, kProgramTitle);
}

void MapFileActions::openMapAtStart(const QString& path)
{
    const QFileInfo file(path);
    if (!file.isFile()) {
        platform::msgBox(QStringLiteral("The map file %1 was not found.").arg(QDir::toNativeSeparators(path)),
                         platform::vbExclamation, kProgramTitle);
        return;
    }
    openMapFile(file.absoluteFilePath());
}

void MapFileActions::saveMap()
{
    const std::optional<QString> path = chooseFileToSave(kSaveMapTitle, kMapFilter, mapsFolder(), QStringLiteral(".ldm"));
    if (!path)
        return;
    // The map is replaced as a whole; a failed save keeps the previous file
    // and says why.
    const MapSaveResult saved = landlume::saveMap(frame_.engine().mapScene(), *path);
    if (!saved.ok) {
        const QString reason = saved.error.isEmpty() ? QStringLiteral("the key %1 could not be written").arg(saved.failedKey)
                                                     : saved.error;
        platform::msgBox(QStringLiteral("The map could not be saved to %1: %2").arg(*path, reason),
                         platform::vbExclamation, kProgramTitle);
    }
}

void MapFileActions::buildLandscape(const QString& heightmap, qint32 width, qint32 height, float factorY)
{
    frame_.engine().buildLandscape(heightmap, width, height, factorY);
}

void MapFileActions::setLightmapSize(const QString& lightmap, float texWidth, float texHeight, float alpha)
{
    SceneSettings& s = frame_.engine().settings();
    s.lightmap = lightmap;
    s.alpha = alpha;
    frame_.setLightmapSize(texWidth, texHeight);
    s.texWidth = texWidth;
    s.texHeight = texHeight;
}

void MapFileActions::applyLightmap(const QString& lightmap) { frame_.lightmap().applyLightmapFile(lightmap); }

void MapFileActions::placeObject(const QString& fileType, const PlacedObject& object)
{
    frame_.engine().placeObject(fileType, object);
}

void MapFileActions::setLight(const D3DVECTOR& direction) { frame_.engine().changeLight(direction); }

void MapFileActions::setShadowFlags(bool landShadows, bool objectShadows)
{
    frame_.engine().setShadowFlags(landShadows, objectShadows);
}

void MapFileActions::showSettings()
{
    const SceneSettings& s = frame_.engine().settings();
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

} // namespace landlume
