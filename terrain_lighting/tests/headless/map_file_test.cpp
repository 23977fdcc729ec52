// The map file: key order and value forms, saving over an older map, reading
// back, long values, and loads that stop at a bad key.
#include "core/MapFile.h"

#include <platform/SaveFaults.h>
#include <platform/TextFile.h>

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace landlume {
namespace {

QStringList fileLines(const QString& path)
{
    return platform::readTextLines(path).lines;
}

PlacedObject object(const QString& file, D3DVECTOR position, bool aligned, bool onLand)
{
    PlacedObject o;
    o.fileName = file;
    o.meshPosition = position;
    o.meshRotation = {0.0f, 45.5f, 0.0f};
    o.meshScale = {1.0f, 2.0f, 1.0f};
    o.aligned = aligned;
    o.onLand = onLand;
    return o;
}

// Records every step a load takes.
class RecordingTarget : public MapTarget {
public:
    QStringList steps;
    std::vector<std::pair<QString, PlacedObject>> objects;
    D3DVECTOR light{};
    bool failLightmap = false;

    void buildLandscape(const QString& heightmap, qint32 width, qint32 height, float factorY) override
    {
        steps << QStringLiteral("land %1 %2 %3 %4").arg(heightmap).arg(width).arg(height).arg(double(factorY));
    }
    void setLightmapSize(const QString& lightmap, float w, float h, float alpha) override
    {
        steps << QStringLiteral("size [%1] %2 %3 %4").arg(lightmap).arg(double(w)).arg(double(h)).arg(double(alpha));
    }
    void applyLightmap(const QString& lightmap) override
    {
        if (failLightmap)
            throw std::runtime_error("cannot load");
        steps << QStringLiteral("lightmap ") + lightmap;
    }
    void placeObject(const QString& fileType, const PlacedObject& o) override
    {
        steps << QStringLiteral("object ") + fileType;
        objects.emplace_back(fileType, o);
    }
    void setLight(const D3DVECTOR& d) override
    {
        light = d;
        steps << QStringLiteral("light");
    }
    void setShadowFlags(bool land, bool objects) override
    {
        steps << QStringLiteral("shadows %1 %2").arg(land).arg(objects);
    }
    void showSettings() override { steps << QStringLiteral("panel"); }
};

class MapFileTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString path() const { return dir.filePath(QStringLiteral("scene.ldm")); }
};

TEST_F(MapFileTest, DefaultSceneWritesEverySectionAndKeyInOrder)
{
    MapScene scene;
    scene.heightmap = QStringLiteral("/opt/Landlume/Textures/Landscape/heightmap.bmp");
    ASSERT_TRUE(saveMap(scene, path()).ok);
    const QStringList expected{
        "[LANDSCAPE]", "Heightmap=/opt/Landlume/Textures/Landscape/heightmap.bmp", "Width=8", "Height=8", "FactorY=1",
        "[LIGHTMAP]", "Lightmap=", "Width=512", "Height=512", "Alpha=0.4",
        "[OBJECTS]", "Count=0",
        "[LIGHT]", "Direction=2;-1;2", "Land shadows=True", "Object shadows=True"};
    EXPECT_EQ(fileLines(path()), expected);
    QFile raw(path());
    ASSERT_TRUE(raw.open(QIODevice::ReadOnly));
    EXPECT_TRUE(raw.readAll().contains("Width=8\r\n"));
}

TEST_F(MapFileTest, ObjectsAreWrittenWithTheirSixKeysAndReadBack)
{
    MapScene scene;
    scene.lightDirection = {120.0f, 37.5f, -4.0f};
    scene.objectShadows = false;
    scene.objects = {object("Models\\tree.x", {10.25f, 3.0f, 20.0f}, true, false)};
    ASSERT_TRUE(saveMap(scene, path()).ok);
    const QStringList lines = fileLines(path());
    const QStringList objectKeys = lines.mid(lines.indexOf("Count=1"), 7);
    EXPECT_EQ(objectKeys, (QStringList{"Count=1", "Object1=Models\\tree.x", "Position1=10.25;3;20",
                                       "Rotation1=0;45.5;0", "Scale1=1;2;1", "Aligned1=True", "Positioned1=False"}));
    EXPECT_TRUE(lines.contains("Direction=120;37.5;-4"));
    EXPECT_TRUE(lines.contains("Object shadows=False"));

    RecordingTarget target;
    ASSERT_TRUE(loadMap(path(), target).ok);
    ASSERT_EQ(target.objects.size(), 1u);
    const PlacedObject& read = target.objects[0].second;
    EXPECT_EQ(target.objects[0].first, "x");
    EXPECT_EQ(read.fileName, "Models\\tree.x");
    EXPECT_FLOAT_EQ(read.meshPosition.x, 10.25f);
    EXPECT_FLOAT_EQ(read.meshPosition.y, 3.0f);
    EXPECT_FLOAT_EQ(read.meshRotation.y, 45.5f);
    EXPECT_FLOAT_EQ(read.meshScale.y, 2.0f);
    EXPECT_TRUE(read.aligned);
    EXPECT_FALSE(read.onLand);
    EXPECT_FLOAT_EQ(target.light.x, 120.0f);
    // No lightmap named: nothing to load, the load goes on.
    EXPECT_EQ(target.steps, (QStringList{"land  8 8 1", "size [] 512 512 0.4", "object x", "light", "shadows 1 0",
                                         "panel"}));
}

TEST_F(MapFileTest, SavingFewerObjectsKeepsTheOldKeysButCountLimitsTheLoad)
{
    MapScene scene;
    scene.objects = {object("a.x", {1, 2, 3}, false, true), object("b.3ds", {4, 5, 6}, false, true)};
    ASSERT_TRUE(saveMap(scene, path()).ok);
    scene.objects.pop_back();
    ASSERT_TRUE(saveMap(scene, path()).ok);

    const QStringList lines = fileLines(path());
    EXPECT_TRUE(lines.contains("Count=1"));
    EXPECT_TRUE(lines.contains("Object2=b.3ds"));
    EXPECT_TRUE(lines.contains("Positioned2=True"));
    // The old keys stay in place, ahead of the LIGHT section.
    EXPECT_LT(lines.indexOf("Object2=b.3ds"), lines.indexOf("[LIGHT]"));

    RecordingTarget target;
    ASSERT_TRUE(loadMap(path(), target).ok);
    ASSERT_EQ(target.objects.size(), 1u);
    EXPECT_EQ(target.objects[0].second.fileName, "a.x");
}

TEST_F(MapFileTest, AFailedSaveLeavesThePreviousMapByteForByte)
{
    MapScene scene;
    scene.objects = {object("a.x", {1, 2, 3}, false, true)};
    ASSERT_TRUE(saveMap(scene, path()).ok);
    QFile file(path());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray before = file.readAll();
    file.close();

    MapScene changed = scene;
    changed.heightmap = QStringLiteral("other.bmp");
    changed.objects.push_back(object("b.3ds", {4, 5, 6}, true, false));
    // Whichever of the save's writes fails (the n-th, for every n until the
    // save goes through), the old map stays and the failure names a key or,
    // for the last step, the file.
    for (const platform::SaveFault fault :
         {platform::SaveFault::Open, platform::SaveFault::Write, platform::SaveFault::Rename}) {
        bool replaceFailed = false;
        for (int passing = 0; passing < 100; ++passing) {
            MapSaveResult saved;
            {
                const platform::ScopedSaveFault injected(fault, passing);
                saved = saveMap(changed, path());
            }
            if (saved.ok)
                break;
            EXPECT_TRUE(!saved.failedKey.isEmpty() || saved.error.contains(path())) << passing;
            replaceFailed = replaceFailed || saved.failedKey.isEmpty();
            ASSERT_TRUE(file.open(QIODevice::ReadOnly));
            EXPECT_EQ(file.readAll(), before) << int(fault) << " " << passing;
            file.close();
        }
        EXPECT_TRUE(replaceFailed) << int(fault);
        ASSERT_TRUE(platform::saveFileAtomically(path(), before));   // the old map for the next fault
    }
    // A key that cannot be written (a line break in a name) stops the save
    // at that key, before the map is touched: no half-new map.
    changed.objects[1].fileName = QStringLiteral("b\n[LIGHT]");
    const MapSaveResult refused = saveMap(changed, path());
    EXPECT_FALSE(refused.ok);
    EXPECT_EQ(refused.failedKey, "OBJECTS/Object2");
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), before);
    file.close();
    // A folder where the map should go is reported too.
    EXPECT_FALSE(saveMap(scene, dir.path()).ok);
}

TEST_F(MapFileTest, ValuesLongerThan254CharactersComeBackCut)
{
    const QString value(300, QLatin1Char('v'));
    ASSERT_TRUE(writeMapKey("LANDSCAPE", "Heightmap", value, path()));
    const QString read = readMapKey("LANDSCAPE", "Heightmap", path());
    EXPECT_EQ(read.size(), 254);
    EXPECT_EQ(read, value.left(254));
    EXPECT_EQ(readMapKey("LANDSCAPE", "Missing", path()), QString());
}

TEST_F(MapFileTest, HeaderNumbersReadTheirLeadingPartRoundedToEven)
{
    ASSERT_TRUE(saveMap(MapScene{}, path()).ok);
    ASSERT_TRUE(writeMapKey("LANDSCAPE", "Width", "2.5 chunks", path()));
    ASSERT_TRUE(writeMapKey("LANDSCAPE", "Height", "abc", path()));
    ASSERT_TRUE(writeMapKey("LANDSCAPE", "FactorY", "1.5x", path()));
    ASSERT_TRUE(writeMapKey("LIGHTMAP", "Width", "0", path()));
    RecordingTarget target;
    ASSERT_TRUE(loadMap(path(), target).ok);
    EXPECT_EQ(target.steps.value(0), "land  2 0 1.5");
    // A width of 0 reaches the lightmap size rule as it is (which warns).
    EXPECT_EQ(target.steps.value(1), "size [] 0 512 0.4");
}

TEST_F(MapFileTest, ABadKeyStopsTheLoadThereAndNamesTheKey)
{
    MapScene scene;
    scene.objects = {object("a.x", {1, 2, 3}, false, true), object("b.x", {4, 5, 6}, false, true)};
    ASSERT_TRUE(saveMap(scene, path()).ok);
    ASSERT_TRUE(writeMapKey("OBJECTS", "Rotation2", "1;2", path()));
    RecordingTarget target;
    const MapLoadResult result = loadMap(path(), target);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.key, "Rotation2");
    EXPECT_TRUE(result.message().contains("Rotation2"));
    EXPECT_TRUE(result.message().contains("[OBJECTS]"));
    // The first object was placed; the light was never reached.
    EXPECT_EQ(target.objects.size(), 1u);
    EXPECT_FALSE(target.steps.contains("light"));
    EXPECT_EQ(target.steps.last(), "panel");

    ASSERT_TRUE(writeMapKey("OBJECTS", "Rotation2", "0;0;0", path()));
    ASSERT_TRUE(writeMapKey("OBJECTS", "Aligned2", "Maybe", path()));
    EXPECT_EQ(loadMap(path(), target).key, "Aligned2");
    ASSERT_TRUE(writeMapKey("OBJECTS", "Aligned2", "-1", path()));
    RecordingTarget numeric;
    ASSERT_TRUE(loadMap(path(), numeric).ok);
    EXPECT_TRUE(numeric.objects[1].second.aligned);
}

TEST_F(MapFileTest, CountMustBeANumberOfAtMost32767Objects)
{
    ASSERT_TRUE(saveMap(MapScene{}, path()).ok);
    ASSERT_TRUE(writeMapKey("OBJECTS", "Count", "", path()));
    RecordingTarget target;
    EXPECT_EQ(loadMap(path(), target).key, "Count");
    ASSERT_TRUE(writeMapKey("OBJECTS", "Count", "1e9", path()));
    EXPECT_EQ(loadMap(path(), target).key, "Count");
    // A count beyond the objects in the file stops at the first missing one.
    ASSERT_TRUE(writeMapKey("OBJECTS", "Count", "3", path()));
    EXPECT_EQ(loadMap(path(), target).key, "Position1");
}

TEST_F(MapFileTest, AFailingEngineStepIsReportedAtItsKey)
{
    MapScene scene;
    scene.lightmap = QStringLiteral("missing.bmp");
    ASSERT_TRUE(saveMap(scene, path()).ok);
    RecordingTarget target;
    target.failLightmap = true;
    const MapLoadResult result = loadMap(path(), target);
    EXPECT_EQ(result.key, "Lightmap");
    EXPECT_EQ(result.section, "LIGHTMAP");
    EXPECT_TRUE(result.message().contains("cannot load"));
}

TEST_F(MapFileTest, AnyBytesLoadWithoutCrashing)
{
    QFile file(path());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    QByteArray junk;
    for (int i = 0; i < 4096; ++i)
        junk.append(char((i * 7919) % 256));
    junk.append("\n[OBJECTS]\nCount=2\n");
    file.write(junk);
    file.close();
    RecordingTarget target;
    const MapLoadResult result = loadMap(path(), target);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.key, "Position1");

    // A number beyond any range in a header key stops the load at that key.
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write("[LANDSCAPE]\r\nHeightmap=h.bmp\r\nWidth=1e620\r\n");
    file.close();
    const MapLoadResult huge = loadMap(path(), target);
    EXPECT_FALSE(huge.ok);
    EXPECT_EQ(huge.section, "LANDSCAPE");
    EXPECT_EQ(huge.key, "Width");
    EXPECT_TRUE(huge.message().contains("1e620"));

    // One beyond the range of a single-precision value, where one is read,
    // stops there too, after the landscape it follows was built.
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write("[LANDSCAPE]\r\nHeightmap=h.bmp\r\nWidth=2\r\nHeight=2\r\nFactorY=1\r\n"
               "[LIGHTMAP]\r\nWidth=1e200\r\n");
    file.close();
    RecordingTarget fresh;
    const MapLoadResult single = loadMap(path(), fresh);
    EXPECT_FALSE(single.ok);
    EXPECT_EQ(single.section, "LIGHTMAP");
    EXPECT_EQ(single.key, "Width");
    EXPECT_TRUE(single.message().contains("1e200"));
    EXPECT_EQ(fresh.steps, (QStringList{"land h.bmp 2 2 1", "panel"}));   // no lightmap size set
}

} // namespace
} // namespace landlume
