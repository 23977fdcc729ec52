// Landlume's map file, read through the profile reader: any bytes load to a
// result (complete or stopped at a named key). A map that loaded completely
// is saved to a new file and loaded again, and must give the same scene
// (unless a text holds a NUL character, which a value cannot carry).
#include "FuzzSupport.h"

#include "core/MapFile.h"

#include <platform/TextRules.h>

#include <QFile>

namespace {

// Collects what the load does, as the texts a save would write.
class Recorder final : public landlume::MapTarget {
public:
    void buildLandscape(const QString& heightmap, qint32 width, qint32 height, float factorY) override
    {
        scene.heightmap = heightmap;
        scene.width = width;
        scene.height = height;
        scene.factorY = factorY;
    }
    void setLightmapSize(const QString& lightmap, float texWidth, float texHeight, float alpha) override
    {
        scene.lightmap = lightmap;
        scene.texWidth = texWidth;
        scene.texHeight = texHeight;
        scene.alpha = alpha;
    }
    void applyLightmap(const QString& lightmap) override
    {
        if (lightmap != scene.lightmap)
            fuzz::fail("the lightmap applied is not the one read");
    }
    void placeObject(const QString&, const landlume::PlacedObject& object) override { scene.objects.push_back(object); }
    void setLight(const D3DVECTOR& direction) override { scene.lightDirection = direction; }
    void setShadowFlags(bool land, bool objects) override
    {
        scene.landShadows = land;
        scene.objectShadows = objects;
    }
    void showSettings() override { ++shown; }

    landlume::MapScene scene;
    int shown = 0;
};

QString sceneText(const landlume::MapScene& s)
{
    using landlume::mapBoolean;
    using landlume::mapVector;
    using platform::singleText;
    QStringList parts{s.heightmap,  QString::number(s.width),   QString::number(s.height),
                      singleText(s.factorY), s.lightmap,          singleText(s.texWidth),
                      singleText(s.texHeight), singleText(s.alpha), mapVector(s.lightDirection),
                      mapBoolean(s.landShadows), mapBoolean(s.objectShadows)};
    for (const landlume::PlacedObject& o : s.objects)
        parts << o.fileName << mapVector(o.meshPosition) << mapVector(o.meshRotation) << mapVector(o.meshScale)
              << mapBoolean(o.aligned) << mapBoolean(o.onLand);
    return parts.join(QChar(0));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QString path = fuzz::writeScratchFile(QStringLiteral("fuzz.ldm"), fuzz::bytesOf(data, size));
    Recorder first;
    const landlume::MapLoadResult loaded = landlume::loadMap(path, first);
    if (first.shown != 1)
        fuzz::fail("a map load did not show the settings exactly once");
    if (loaded.ok != loaded.message().isEmpty())
        fuzz::fail("a map load result and its message disagree");
    // NUL characters end a value in the written file: such names are no path
    // a user can give, so those scenes are not compared.
    if (!loaded.ok || sceneText(first.scene).count(QChar(0)) != 10 + 6 * qsizetype(first.scene.objects.size()))
        return 0;
    const QString copy = fuzz::scratchFolder() + QStringLiteral("/copy.ldm");
    QFile::remove(copy);
    if (!landlume::saveMap(first.scene, copy).ok)
        fuzz::fail("a loaded map could not be saved");
    Recorder second;
    if (!landlume::loadMap(copy, second).ok)
        fuzz::fail("a saved map does not load");
    if (sceneText(second.scene) != sceneText(first.scene))
        fuzz::fail("a saved map loads as another scene");
    return 0;
}
