#include "core/ObjectsList.h"

#include <FilePermissionFaults.h>
#include <gtest/gtest.h>
#include <platform/SaveFaults.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using namespace glazery;

namespace {

QByteArray tripleLines(int count)
{
    QByteArray content;
    for (int i = 0; i < count; ++i)
        content += QStringLiteral("models\\m%1.3ds\r\nModel %1\r\n %2 \r\n").arg(i).arg(i + 1).toUtf8();
    return content;
}

} // namespace

TEST(ObjectsList, DefaultsAreTheNineShippedObjects)
{
    const QList<PreviewObject> defaults = defaultPreviewObjects();
    ASSERT_EQ(defaults.size(), kPreviewSlotCount);
    QStringList captions;
    for (const PreviewObject& o : defaults) {
        captions << o.description;
        EXPECT_EQ(o.fileName, "data\\models\\" + o.description + ".X");
        EXPECT_EQ(o.scale, 1.0);
    }
    EXPECT_EQ(captions.join(','), "Sphere,Teapot,Cube,Cylinder,Cone,Pyramid,Torus,Tube,Skull");
}

TEST(ObjectsList, FewerOrMoreThanNineObjects)
{
    const ObjectsListReadResult four = parseObjectsList(tripleLines(4), "list.ini");
    EXPECT_TRUE(four.error.isEmpty());
    ASSERT_EQ(four.objects.size(), 4);
    EXPECT_EQ(four.objects[3], (PreviewObject{"models\\m3.3ds", "Model 3", 4.0}));

    const ObjectsListReadResult twelve = parseObjectsList(tripleLines(12) + "half\r\n", "list.ini");
    EXPECT_TRUE(twelve.error.isEmpty());
    ASSERT_EQ(twelve.objects.size(), kPreviewSlotCount);
    EXPECT_EQ(twelve.objects[8].description, "Model 8");

    // Blank lines after the last object and LF line ends are fine.
    QByteArray lf = tripleLines(2) + "\r\n\r\n";
    lf.replace("\r\n", "\n");
    EXPECT_EQ(parseObjectsList(lf, "list.ini").objects.size(), 2);
}

TEST(ObjectsList, MissingOrDamagedFilesGiveTheDefaultsAndSayWhy)
{
    QTemporaryDir dir;
    const ObjectsListReadResult missing = readObjectsList(dir.filePath("glazeryobjects.ini"));
    EXPECT_TRUE(missing.error.contains("glazeryobjects.ini"));
    EXPECT_EQ(missing.objects, defaultPreviewObjects());

    const ObjectsListReadResult badScale =
        parseObjectsList("a.x\r\nA\r\n 1 \r\nb.x\r\nB\r\nbig\r\n", "glazeryobjects.ini");
    EXPECT_TRUE(badScale.error.contains("glazeryobjects.ini"));
    EXPECT_TRUE(badScale.error.contains("\"big\""));
    EXPECT_TRUE(badScale.error.contains("line 6"));
    EXPECT_EQ(badScale.objects, defaultPreviewObjects());

    const ObjectsListReadResult cut = parseObjectsList(tripleLines(2) + "c.x\r\nC\r\n", "glazeryobjects.ini");
    EXPECT_TRUE(cut.error.contains("object 3"));
    EXPECT_EQ(cut.objects, defaultPreviewObjects());

    EXPECT_FALSE(parseObjectsList("", "glazeryobjects.ini").error.isEmpty());
    EXPECT_FALSE(parseObjectsList("a.x\r\nA\r\n1.5abc\r\n", "glazeryobjects.ini").error.isEmpty());
    EXPECT_FALSE(parseObjectsList("a.x\r\nA\r\n1,000\r\n", "glazeryobjects.ini").error.isEmpty());

    QByteArray garbage;
    for (int i = 0; i < 4000; ++i)
        garbage.append(char((i * 31) % 256));
    const ObjectsListReadResult junk = parseObjectsList(garbage, "glazeryobjects.ini");
    EXPECT_FALSE(junk.error.isEmpty());
    EXPECT_EQ(junk.objects.size(), kPreviewSlotCount);
}

TEST(ObjectsList, WritesTwentySevenLinesWithPrintFormScales)
{
    QList<PreviewObject> objects = defaultPreviewObjects();
    objects[0].scale = scaleFromPercentText("150");
    objects[1].scale = scaleFromPercentText("50");
    QTemporaryDir dir;
    const QString path = dir.filePath("glazeryobjects.ini");
    ASSERT_TRUE(writeObjectsList(path, objects).ok);

    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray content = file.readAll();
    const QList<QByteArray> lines = content.split('\n');
    EXPECT_EQ(content.count("\r\n"), 27);
    EXPECT_EQ(lines[0], "data\\models\\Sphere.X\r");
    EXPECT_EQ(lines[1], "Sphere\r");
    EXPECT_EQ(lines[2], " 1.5 \r");
    EXPECT_EQ(lines[5], " .5 \r");
    EXPECT_EQ(lines[8], " 1 \r");

    const ObjectsListReadResult back = readObjectsList(path);
    EXPECT_TRUE(back.error.isEmpty());
    EXPECT_EQ(back.objects, objects);
    EXPECT_EQ(percentTextFromScale(back.objects[0].scale), "150");
    EXPECT_EQ(percentTextFromScale(back.objects[1].scale), "50");
}

QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A list that cannot be written (read-only folder or file, a full disk, a
// failed flush or rename) leaves the old list byte for byte, no temporary
// file beside it, and an error naming the list.
TEST(ObjectsList, AFailedWriteKeepsThePreviousListAndNamesIt)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("glazeryobjects.ini");
    ASSERT_TRUE(writeObjectsList(path, defaultPreviewObjects()).ok);
    const QByteArray before = fileBytes(path);
    QList<PreviewObject> changed = defaultPreviewObjects();
    changed[0] = {"data\\models\\Big.X", "Big", 3.0};

    for (const kltest::Unwritable what : {kltest::Unwritable::Folder, kltest::Unwritable::File}) {
        ObjectsListWriteResult written;
        {
            const kltest::ScopedUnwritable unwritable(what, dir.path(), path);
            ASSERT_TRUE(unwritable.ok()) << kltest::unwritableName(what);
            written = writeObjectsList(path, changed);
        }
        EXPECT_FALSE(written.ok) << kltest::unwritableName(what);
        EXPECT_TRUE(written.error.contains(path)) << written.error.toStdString();
        EXPECT_EQ(fileBytes(path), before) << kltest::unwritableName(what);
    }
    for (const platform::SaveFault fault :
         {platform::SaveFault::Write, platform::SaveFault::Flush, platform::SaveFault::Rename}) {
        const platform::ScopedSaveFault injected(fault);
        const ObjectsListWriteResult written = writeObjectsList(path, changed);
        EXPECT_FALSE(written.ok) << int(fault);
        EXPECT_TRUE(written.error.contains(path)) << written.error.toStdString();
        EXPECT_EQ(fileBytes(path), before) << int(fault);
    }
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"glazeryobjects.ini"});
    ASSERT_TRUE(writeObjectsList(path, changed).ok);
    EXPECT_EQ(readObjectsList(path).objects.value(0).description, "Big");
}

// The program dies after writing the new list, before it replaces the old
// one: the old list is still there and reads as before.
TEST(ObjectsList, ACrashBeforeTheListIsReplacedLeavesTheOldOne)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    QTemporaryDir dir;
    const QString path = dir.filePath("glazeryobjects.ini");
    ASSERT_TRUE(writeObjectsList(path, defaultPreviewObjects()).ok);
    const QByteArray before = fileBytes(path);
    QList<PreviewObject> changed = defaultPreviewObjects();
    changed[4].description = "Crashed";
    EXPECT_EXIT(
        {
            qputenv("KORLITH3D_SAVE_FAULT", "crash");
            writeObjectsList(path, changed);
        },
        ::testing::ExitedWithCode(platform::kSaveCrashExitCode), "");
    EXPECT_EQ(fileBytes(path), before);
    EXPECT_EQ(readObjectsList(path).objects, defaultPreviewObjects());
}

TEST(ObjectsList, ScaleBoxRules)
{
    EXPECT_EQ(scaleBoxTextAfterEdit("-20"), "1");
    EXPECT_EQ(scaleBoxTextAfterEdit("0"), "1");
    EXPECT_EQ(scaleBoxTextAfterEdit("abc"), "1");
    EXPECT_EQ(scaleBoxTextAfterEdit("050"), "50");
    EXPECT_EQ(scaleBoxTextAfterEdit(" 1 50"), "150");
    EXPECT_EQ(scaleBoxTextAfterEdit("12.50"), "12.5");
    EXPECT_DOUBLE_EQ(scaleFromPercentText(scaleBoxTextAfterEdit("-20")), 0.01);
    // Whole percentages survive a scale that is not exact in binary.
    EXPECT_EQ(percentTextFromScale(1.15), "115");
    EXPECT_EQ(percentTextFromScale(0.29), "29");
    EXPECT_EQ(percentTextFromScale(1.159), "115");
    EXPECT_EQ(percentTextFromScale(1), "100");
}

TEST(ObjectsList, LoaderAndModelPaths)
{
    EXPECT_EQ(modelLoaderFor("data\\models\\Teapot.X"), ModelLoader::DirectX);
    EXPECT_EQ(modelLoaderFor("teapot.x"), ModelLoader::DirectX);
    EXPECT_EQ(modelLoaderFor("Ship.3ds"), ModelLoader::Studio3ds);
    EXPECT_EQ(modelLoaderFor("SHIP.3DS"), ModelLoader::Studio3ds);
    EXPECT_EQ(modelLoaderFor(""), ModelLoader::Studio3ds);

    QTemporaryDir dir;
    QDir(dir.path()).mkpath("Data/models");
    QFile model(dir.filePath("Data/models/Sphere.X"));
    ASSERT_TRUE(model.open(QIODevice::WriteOnly));
    model.close();
    EXPECT_EQ(resolveModelPath("data\\models\\Sphere.X", dir.path()), dir.filePath("Data/models/Sphere.X"));
    EXPECT_EQ(resolveModelPath(dir.filePath("Data/models/Sphere.X"), "/elsewhere"),
              dir.filePath("Data/models/Sphere.X"));
}

TEST(ObjectsList, LoadFailuresAreReportedOneALineAfterTheHeading)
{
    EXPECT_EQ(objectsLoadFailureMessage({"Teapot.X not found", "Cube.X: bad format"}),
              "Some preview objects could not be loaded:\n\nTeapot.X not found\nCube.X: bad format");
    EXPECT_EQ(objectsLoadFailureMessage({"one"}), "Some preview objects could not be loaded:\n\none");
}
