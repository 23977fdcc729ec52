// "Generate lightmap" then "Save lightmap" and "Save shadow coordinates" in
// the window write the same bytes as landlume --bake on the same map.
#include "support/landlume_fixture.h"

#include "ProgramWithoutDisplay.h"

#include <QFile>
#include <QtEndian>

namespace landlume::test {
namespace {

QByteArray bytesOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// One land chunk with the house and both kinds of shadow: quick enough for
// the sanitizer build, and shadowed by land and object alike.
const QByteArray kSmallMap = "[LANDSCAPE]\r\nHeightmap=Textures\\Landscape\\heightmap.bmp\r\nWidth=1\r\nHeight=1\r\n"
                             "FactorY=1\r\n[LIGHTMAP]\r\nLightmap=\r\nWidth=128\r\nHeight=128\r\nAlpha=0.4\r\n"
                             "[OBJECTS]\r\nCount=1\r\nObject1=Models\\house.3ds\r\nPosition1=130;0;120\r\n"
                             "Rotation1=0;20;0\r\nScale1=3;3;3\r\nAligned1=True\r\nPositioned1=True\r\n"
                             "[LIGHT]\r\nDirection=2;-1;2\r\nLand shadows=True\r\nObject shadows=True\r\n";

TEST_F(LandlumeWindowTest, TheWindowsBakeAndSavesWriteTheBytesOfTheBakeCommand)
{
    {
        QFile map(file("small.ldm"));
        ASSERT_TRUE(map.open(QIODevice::WriteOnly));
        map.write(kSmallMap);
    }
    startWindow(file("small.ldm"));
    ASSERT_EQ(engine().objectCount(), 1);
    // The window turns an aligned object onto the land a little every frame;
    // the command bakes it settled. Baked once it has settled (as a user
    // sees it come to rest), both scenes are the same.
    engine().settleAlignedObjects();
    click("LblGenerate");
    ASSERT_EQ(frame->lightmap().lastBake().end, BakeEnd::Finished);
    dialogs->expectSaveFile(file("window.bmp"));
    dialogs->expectMsgBox(platform::vbOK, "Lightmap saved to file.");
    click("LblSaveMap");
    dialogs->expectSaveFile(file("window.txt"));
    dialogs->expectMsgBox(platform::vbOK, "Coordinates saved to file.");
    click("LblSaveCoords");
    ASSERT_EQ(dialogs->pending(), 0u);

    const kltest::ProgramRun run = kltest::runWithoutDisplay(
        kltest::builtProgramFolder("Landlume") + "/landlume",
        {"--bake", file("small.ldm"), "--lightmap", file("command.bmp"), "--coordinates", file("command.txt")},
        file("."));
    ASSERT_EQ(run.exitCode, 0) << run.errors.toStdString();

    const QByteArray picture = bytesOf(file("window.bmp"));
    ASSERT_EQ(picture.size(), 54 + 128 * 128 * 3);
    // 96 dpi in the header, with a screen or without.
    EXPECT_EQ(qFromLittleEndian<qint32>(picture.constData() + 38), 3780);
    EXPECT_TRUE(picture == bytesOf(file("command.bmp")));
    const QByteArray points = bytesOf(file("window.txt"));
    EXPECT_GT(points.count('\n'), 100);
    EXPECT_TRUE(points == bytesOf(file("command.txt")));
}

} // namespace
} // namespace landlume::test
