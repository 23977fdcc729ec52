// landlume --bake run as a program, without a display: its exit codes, its
// one failure line, and the files it writes.
#include "core/BakeCommand.h"

#include "ProgramWithoutDisplay.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <unistd.h>

namespace landlume {
namespace {

QString builtFolder() { return kltest::builtProgramFolder("Landlume"); }

using kltest::ProgramRun;

ProgramRun landlume(const QStringList& arguments, const QString& workingFolder)
{
    return kltest::runWithoutDisplay(builtFolder() + "/landlume", arguments, workingFolder);
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// The example map on one land chunk: quick enough for the sanitizer build.
QByteArray smallMap(const QByteArray& heightmap = "Textures\\Landscape\\heightmap.bmp", const QByteArray& size = "128")
{
    return "[LANDSCAPE]\r\nHeightmap=" + heightmap + "\r\nWidth=1\r\nHeight=1\r\nFactorY=1\r\n"
           "[LIGHTMAP]\r\nLightmap=\r\nWidth=" + size + "\r\nHeight=" + size + "\r\nAlpha=0.4\r\n"
           "[OBJECTS]\r\nCount=1\r\nObject1=Models\\house.3ds\r\nPosition1=130;0;120\r\nRotation1=0;20;0\r\n"
           "Scale1=3;3;3\r\nAligned1=True\r\nPositioned1=True\r\n"
           "[LIGHT]\r\nDirection=2;-1;2\r\nLand shadows=True\r\nObject shadows=True\r\n";
}

class BakeCommand : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(QFileInfo(builtFolder() + "/landlume").isExecutable());
        writeFile(dir.filePath("small.ldm"), smallMap());
    }
    QTemporaryDir dir;
};

TEST(BakeArguments, ModesAndUsageErrors)
{
    EXPECT_EQ(parseLandlumeArguments({}).kind, LandlumeLaunch::Kind::Window);
    const LandlumeLaunch open = parseLandlumeArguments({"a.ldm"});
    EXPECT_EQ(open.kind, LandlumeLaunch::Kind::Window);
    EXPECT_EQ(open.mapToOpen, "a.ldm");
    const LandlumeLaunch bake = parseLandlumeArguments({"--bake", "m.ldm", "--lightmap=o.bmp", "--coordinates", "c.txt"});
    ASSERT_EQ(bake.kind, LandlumeLaunch::Kind::Bake);
    EXPECT_EQ(bake.bake.map, "m.ldm");
    EXPECT_EQ(bake.bake.lightmap, "o.bmp");
    EXPECT_EQ(bake.bake.coordinates, "c.txt");
    EXPECT_EQ(parseLandlumeArguments({"-h"}).kind, LandlumeLaunch::Kind::Help);
    for (const QStringList& wrong :
         {QStringList{"--bake", "m.ldm"}, {"--bake"}, {"--bake", "m", "--lightmap", "o", "--lightmap", "p"},
          {"--lightmap", "o.bmp"}, {"--bake", "m", "--lightmap", "o", "extra"}, {"--frobnicate"}, {"a.ldm", "b.ldm"},
          {"--help=yes"}})
        EXPECT_EQ(parseLandlumeArguments(wrong).kind, LandlumeLaunch::Kind::UsageError) << wrong.join(' ').toStdString();
    EXPECT_EQ(parseLandlumeArguments({"--", "--bake"}).mapToOpen, "--bake");
}

TEST_F(BakeCommand, WritesTheLightmapAndCoordinatesWithoutADisplay)
{
    const ProgramRun run = landlume({"--bake", "small.ldm", "--lightmap", "out.bmp", "--coordinates", "points.txt"}, dir.path());
    ASSERT_EQ(run.exitCode, 0) << run.errors.toStdString();
    EXPECT_TRUE(run.errors.contains("baking 100%"));
    const QImage picture(dir.filePath("out.bmp"));
    ASSERT_EQ(picture.size(), QSize(128, 128));
    EXPECT_EQ(picture.depth(), 32);   // read back; the file itself is 24-bit
    QFile bmp(dir.filePath("out.bmp"));
    ASSERT_TRUE(bmp.open(QIODevice::ReadOnly));
    EXPECT_EQ(bmp.size(), 54 + 128 * 128 * 3);
    // Shadow pixels carry the alpha's grey; lit ones stay white.
    int shadowed = 0;
    int white = 0;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x) {
            const QRgb pixel = picture.pixel(x, y);
            if (pixel == qRgb(153, 153, 153))
                ++shadowed;
            else if (pixel == qRgb(255, 255, 255))
                ++white;
        }
    EXPECT_GT(shadowed, 0);
    EXPECT_GT(white, 0);
    EXPECT_EQ(shadowed + white, 128 * 128);
    QFile points(dir.filePath("points.txt"));
    ASSERT_TRUE(points.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = points.readAll().split('\n');
    EXPECT_GE(lines.size() - 1, shadowed);
    EXPECT_EQ(lines.first().count(','), 2);
}

TEST_F(BakeCommand, HelpAndUsageErrors)
{
    EXPECT_EQ(landlume({"--help"}, dir.path()).exitCode, 0);
    const ProgramRun missing = landlume({"--bake", "small.ldm"}, dir.path());
    EXPECT_EQ(missing.exitCode, 2);
    EXPECT_TRUE(missing.errors.contains("--lightmap")) << missing.errors.toStdString();
    EXPECT_EQ(landlume({"--bake", "small.ldm", "--lightmap", "o.bmp", "--nonsense"}, dir.path()).exitCode, 2);
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("o.bmp")));
}

TEST_F(BakeCommand, FailuresNameWhatFailedInOneLineAndWriteNothing)
{
    writeFile(dir.filePath("badheight.ldm"), smallMap("Textures\\Landscape\\nothing-here.bmp"));
    writeFile(dir.filePath("notapicture.bmp"), "these bytes are no picture");
    writeFile(dir.filePath("garbled.ldm"), smallMap(dir.filePath("notapicture.bmp").toUtf8()));
    writeFile(dir.filePath("huge.ldm"), smallMap("Textures\\Landscape\\heightmap.bmp", "4096"));
    const struct {
        QStringList arguments;
        const char* named;
    } cases[] = {
        {{"--bake", "absent.ldm", "--lightmap", "o.bmp"}, "absent.ldm"},
        {{"--bake", "badheight.ldm", "--lightmap", "o.bmp"}, "nothing-here.bmp"},
        {{"--bake", "garbled.ldm", "--lightmap", "o.bmp"}, "notapicture.bmp"},
        {{"--bake", "huge.ldm", "--lightmap", "o.bmp"}, "64 and 2048"},
        {{"--bake", "small.ldm", "--lightmap", "no-folder/o.bmp"}, "no-folder"},
    };
    for (const auto& c : cases) {
        const ProgramRun run = landlume(c.arguments, dir.path());
        EXPECT_EQ(run.exitCode, 1) << c.named;
        const QStringList lines = run.errors.trimmed().split('\n');
        EXPECT_TRUE(lines.last().contains(QString::fromLatin1(c.named))) << run.errors.toStdString();
        EXPECT_FALSE(QFileInfo::exists(dir.filePath("o.bmp")));
    }
}

TEST_F(BakeCommand, AnUnwritableFolderFailsAndKeepsThePreviousFile)
{
    // Root writes into a read-only folder; /proc takes no new file from anyone.
    QString folder = dir.filePath("locked");
    ASSERT_TRUE(QDir().mkpath(folder));
    writeFile(folder + "/o.bmp", "previous");
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner);
    const bool rootWritesAnyway = geteuid() == 0;
    const QString target = rootWritesAnyway ? QStringLiteral("/proc/o.bmp") : folder + "/o.bmp";
    const ProgramRun run = landlume({"--bake", "small.ldm", "--lightmap", target}, dir.path());
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.errors.trimmed().split('\n').last().contains("could not be saved")) << run.errors.toStdString();
    QFile previous(folder + "/o.bmp");
    ASSERT_TRUE(previous.open(QIODevice::ReadOnly));
    EXPECT_EQ(previous.readAll(), "previous");
}

TEST_F(BakeCommand, AFailedSaveKeepsThePreviousLightmap)
{
    writeFile(dir.filePath("o.bmp"), "previous");
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove("DISPLAY");
    environment.insert("KORLITH3D_SAVE_FAULT", "rename");
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(dir.path());
    process.start(builtFolder() + "/landlume", {"--bake", "small.ldm", "--lightmap", "o.bmp"});
    ASSERT_TRUE(process.waitForFinished(600000));
    EXPECT_EQ(process.exitCode(), 1);
    QFile previous(dir.filePath("o.bmp"));
    ASSERT_TRUE(previous.open(QIODevice::ReadOnly));
    EXPECT_EQ(previous.readAll(), "previous");
}

} // namespace
} // namespace landlume
