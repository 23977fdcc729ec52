// The rules of the shadow bake that need no engine: steps, collision types,
// grey levels, pixel indexes, the event and repaint cadence, stopping, and the
// coordinates file.
#include "core/ShadowBake.h"
#include "core/ShadowCoordinates.h"

#include <platform/RuntimeError.h>
#include <platform/SaveFaults.h>
#include <platform/TextFile.h>

#include <QDir>
#include <QTemporaryDir>

#include <FilePermissionFaults.h>
#include <gtest/gtest.h>

namespace landlume {
namespace {

TEST(BakeRules, StepsTypesGreysAndPixels)
{
    EXPECT_EQ(bakeStep(2048, 512), 4);
    EXPECT_EQ(bakeStep(512, 1024), 0);    // 0.5 to even
    EXPECT_EQ(bakeStep(2048, 1365), 2);   // 1.5 to even
    EXPECT_EQ(bakeStep(2560, 1024), 2);   // 2.5 to even
    EXPECT_EQ(bakeCollisionType(true, true), 5);
    EXPECT_EQ(bakeCollisionType(true, false), 4);
    EXPECT_EQ(bakeCollisionType(false, true), 1);
    EXPECT_EQ(bakeCollisionType(false, false), 0);
    EXPECT_EQ(shadowGrey(0.4f), 153);
    EXPECT_EQ(shadowGrey(0.0f), 255);
    EXPECT_EQ(shadowGrey(1.0f), 0);
    EXPECT_EQ(shadowGrey(0.5f), 128);   // 127.5 to even
    EXPECT_EQ(shadowGrey(-1.0f), 255);  // kept within 0..255
    EXPECT_EQ(shadowGrey(3.0f), 0);
    EXPECT_EQ(bakePixel(2046, 4), 512);   // 511.5 to even
    EXPECT_EQ(bakePixel(2042, 4), 510);   // 510.5 to even
    EXPECT_EQ(bakePixel(7, 4), 2);
    try {
        bakePixel(3, 0);
        ADD_FAILURE() << "no error";
    } catch (const platform::RuntimeError& e) {
        EXPECT_EQ(e.number, 11);
        EXPECT_EQ(e.description, "Division by zero");
    }
}

// A land of `size` units whose samples at x > z are shadowed; the ray test
// reads that from the segment's end, 1 unit towards the light from the point.
struct FakeLand {
    std::vector<std::size_t> batches;
    qint64 clock = 0;
    // Test time: milliseconds per 16384 segments.
    int msPerBatch = 0;
    BakeServices services()
    {
        BakeServices s;
        s.heightAt = [](float, float) { return 0.0f; };
        s.rayTest = [this](std::span<const D3DVECTOR>, std::span<const D3DVECTOR> ends, int, std::vector<std::uint8_t>& hits) {
            batches.push_back(ends.size());
            clock += qint64(ends.size()) * msPerBatch / 16384;
            for (std::size_t i = 0; i < ends.size(); ++i)
                hits[i] = ends[i].x > ends[i].z + 0.5f ? 1 : 0;
        };
        s.keepGoing = [] { return true; };
        s.pumpEvents = [] {};
        s.progress = [](int) {};
        s.repaint = [] {};
        s.clockMs = [this] { return clock; };
        return s;
    }
};

BakeSetup smallSetup(float size, float tex)
{
    BakeSetup setup;
    setup.landWidth = setup.landHeight = size;
    setup.texWidth = setup.texHeight = tex;
    setup.direction = {0.0f, -1.0f, 0.0f};   // segments stand straight up
    return setup;
}

TEST(BakeRules, PixelsAndCoordinatesFollowTheSamplesInOrder)
{
    FakeLand land;
    QImage picture(16, 16, QImage::Format_RGB32);
    picture.fill(Qt::black);
    std::vector<D3DVECTOR> coordinates{{9, 9, 9}};
    std::vector<int> progress;
    BakeServices services = land.services();
    services.progress = [&](int x) { progress.push_back(x); };
    const BakeOutcome outcome = drawShadowMap(smallSetup(64, 16), services, picture, coordinates);
    EXPECT_EQ(outcome.end, BakeEnd::Finished);
    // Every column once, 0 to 64.
    ASSERT_EQ(progress.size(), 65u);
    EXPECT_EQ(progress.back(), 64);
    // Samples with x > z, x-major: (1, 0), (2, 0), (2, 1), ...
    ASSERT_EQ(coordinates.size(), std::size_t(64 * 65 / 2));
    EXPECT_FLOAT_EQ(coordinates[0].x, 1.0f);
    EXPECT_FLOAT_EQ(coordinates[0].y, 1.0f);   // one unit towards the light
    EXPECT_FLOAT_EQ(coordinates[2].x, 2.0f);
    EXPECT_FLOAT_EQ(coordinates[2].z, 1.0f);
    // Pixel (column, row) is shadowed when a sample of its 4 x 4 cell is.
    EXPECT_EQ(picture.pixel(5, 2), qRgb(153, 153, 153));
    EXPECT_EQ(picture.pixel(2, 5), qRgb(255, 255, 255));
    EXPECT_EQ(picture.pixel(0, 0), qRgb(153, 153, 153));   // x = 1 rounds to column 0
}

TEST(BakeRules, ABakeThatKeepsNoCoordinatesDrawsTheSamePicture)
{
    FakeLand land;
    QImage kept(16, 16, QImage::Format_RGB32);
    std::vector<D3DVECTOR> points;
    drawShadowMap(smallSetup(64, 16), land.services(), kept, points);
    BakeSetup setup = smallSetup(64, 16);
    setup.keepCoordinates = false;
    QImage unkept(16, 16, QImage::Format_RGB32);
    std::vector<D3DVECTOR> untouched{{9, 9, 9}};
    EXPECT_EQ(drawShadowMap(setup, land.services(), unkept, untouched).end, BakeEnd::Finished);
    EXPECT_EQ(unkept, kept);
    ASSERT_EQ(untouched.size(), 1u);
    EXPECT_FLOAT_EQ(untouched[0].x, 9.0f);
}

TEST(BakeRules, ARunWithoutHitsKeepsThePreviousCoordinates)
{
    FakeLand land;
    BakeServices services = land.services();
    services.rayTest = [](std::span<const D3DVECTOR>, std::span<const D3DVECTOR>, int, std::vector<std::uint8_t>&) {};
    QImage picture(16, 16, QImage::Format_RGB32);
    std::vector<D3DVECTOR> coordinates{{1, 2, 3}, {4, 5, 6}};
    EXPECT_EQ(drawShadowMap(smallSetup(64, 16), services, picture, coordinates).end, BakeEnd::Finished);
    EXPECT_EQ(coordinates.size(), 2u);
    EXPECT_EQ(picture.pixel(3, 3), qRgb(255, 255, 255));
}

TEST(BakeRules, NoShadowKindsClearsThePictureAndStopsAtOnce)
{
    FakeLand land;
    BakeSetup setup = smallSetup(64, 16);
    setup.landShadows = setup.objectShadows = false;
    QImage picture(16, 16, QImage::Format_RGB32);
    picture.fill(Qt::black);
    std::vector<D3DVECTOR> coordinates{{}};
    std::vector<int> progress;
    BakeServices services = land.services();
    services.progress = [&](int x) { progress.push_back(x); };
    EXPECT_EQ(drawShadowMap(setup, services, picture, coordinates).end, BakeEnd::NoShadowKinds);
    EXPECT_TRUE(land.batches.empty());
    EXPECT_EQ(progress, std::vector<int>{0});
    EXPECT_EQ(picture.pixel(7, 7), qRgb(255, 255, 255));
}

TEST(BakeRules, AZeroStepFailsAtTheFirstShadowedSampleAfterStoringIt)
{
    FakeLand land;
    QImage picture(64, 64, QImage::Format_RGB32);
    std::vector<D3DVECTOR> coordinates{{7, 7, 7}, {8, 8, 8}};
    const BakeOutcome outcome = drawShadowMap(smallSetup(32, 64), land.services(), picture, coordinates);
    EXPECT_EQ(outcome.end, BakeEnd::Failed);
    EXPECT_EQ(outcome.errorNumber, 11);
    EXPECT_EQ(outcome.errorDescription, "Division by zero");
    ASSERT_EQ(coordinates.size(), 1u);
    EXPECT_FLOAT_EQ(coordinates[0].x, 1.0f);
}

TEST(BakeRules, EventsRunAtLeastEvery20MsAndRepaintsAtMost30ASecond)
{
    FakeLand land;
    land.msPerBatch = 3;
    std::vector<qint64> events;
    std::vector<qint64> repaints;
    BakeServices services = land.services();
    services.pumpEvents = [&] { events.push_back(land.clock); };
    services.repaint = [&] { repaints.push_back(land.clock); };
    QImage picture(256, 256, QImage::Format_RGB32);
    std::vector<D3DVECTOR> coordinates;
    ASSERT_EQ(drawShadowMap(smallSetup(1024, 256), services, picture, coordinates).end, BakeEnd::Finished);
    ASSERT_GT(events.size(), 3u);
    qint64 previous = 0;
    for (qint64 t : events) {
        EXPECT_LE(t - previous, 50);
        previous = t;
    }
    for (std::size_t i = 1; i + 1 < repaints.size(); ++i)
        EXPECT_GE(repaints[i] - repaints[i - 1], kRepaintIntervalMs);
    // One repaint at the end.
    EXPECT_EQ(repaints.back(), land.clock);
    // Bands stay bounded in size whatever the land.
    for (std::size_t n : land.batches)
        EXPECT_LE(n, std::size_t(1) << 20);
}

TEST(BakeRules, StoppingDuringEventsKeepsThePointsFoundSoFar)
{
    FakeLand land;
    land.msPerBatch = 25;
    bool generating = true;
    BakeServices services = land.services();
    services.keepGoing = [&] { return generating; };
    int turns = 0;
    services.pumpEvents = [&] { generating = ++turns < 3; };   // "Cancel" pressed in the third turn
    QImage picture(256, 256, QImage::Format_RGB32);
    std::vector<D3DVECTOR> coordinates;
    EXPECT_EQ(drawShadowMap(smallSetup(1024, 256), services, picture, coordinates).end, BakeEnd::Stopped);
    EXPECT_EQ(turns, 3);
    EXPECT_GT(coordinates.size(), 0u);
    EXPECT_LT(coordinates.size(), std::size_t(1024 * 1025 / 2));
}

TEST(ShadowCoordinatesFile, ShortestTextCrLfAndNothingForOnePoint)
{
    EXPECT_EQ(shadowCoordinatesText({{12.5f, 37.833333f, -87.25f}, {1e-5f, 0.0f, 100.0f}}),
              QByteArray("12.5,37.83333,-87.25\r\n1E-05,0,100\r\n"));
    QTemporaryDir dir;
    const QString path = dir.filePath("c.txt");
    EXPECT_EQ(saveShadowCoordinates({D3DVECTOR{}}, path), CoordinatesSaved::Nothing);
    EXPECT_EQ(saveShadowCoordinates({}, path), CoordinatesSaved::Nothing);
    EXPECT_FALSE(QFileInfo::exists(path));
    EXPECT_EQ(saveShadowCoordinates({{1, 2, 3}, {4, 5, 6}}, path), CoordinatesSaved::Saved);
    EXPECT_EQ(platform::readWholeFile(path).data, QByteArray("1,2,3\r\n4,5,6\r\n"));
    EXPECT_EQ(saveShadowCoordinates({{1, 2, 3}, {4, 5, 6}}, dir.filePath("missing/c.txt")),
              CoordinatesSaved::Failed);
}

// A coordinates file that cannot be replaced (read-only folder or file, a
// full disk, a failed flush or rename) keeps its old points byte for byte,
// with no temporary file left beside it.
TEST(ShadowCoordinatesFile, AFailedSaveKeepsThePreviousFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("points.txt");
    ASSERT_EQ(saveShadowCoordinates({{1, 2, 3}, {4, 5, 6}}, path), CoordinatesSaved::Saved);
    const QByteArray before = platform::readWholeFile(path).data;
    const std::vector<D3DVECTOR> more{{7, 8, 9}, {10, 11, 12}, {13, 14, 15}};

    for (const kltest::Unwritable what : {kltest::Unwritable::Folder, kltest::Unwritable::File}) {
        CoordinatesSaved saved = CoordinatesSaved::Saved;
        {
            const kltest::ScopedUnwritable unwritable(what, dir.path(), path);
            ASSERT_TRUE(unwritable.ok()) << kltest::unwritableName(what);
            saved = saveShadowCoordinates(more, path);
        }
        EXPECT_EQ(saved, CoordinatesSaved::Failed) << kltest::unwritableName(what);
        EXPECT_EQ(platform::readWholeFile(path).data, before) << kltest::unwritableName(what);
    }
    for (const platform::SaveFault fault :
         {platform::SaveFault::Write, platform::SaveFault::Flush, platform::SaveFault::Rename}) {
        const platform::ScopedSaveFault injected(fault);
        EXPECT_EQ(saveShadowCoordinates(more, path), CoordinatesSaved::Failed) << int(fault);
        EXPECT_EQ(platform::readWholeFile(path).data, before) << int(fault);
    }
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"points.txt"});
    ASSERT_EQ(saveShadowCoordinates(more, path), CoordinatesSaved::Saved);
    EXPECT_EQ(platform::readWholeFile(path).data, QByteArray("7,8,9\r\n10,11,12\r\n13,14,15\r\n"));
}

// The program dies between writing the new points and renaming them over the
// old file: the old file is there, whole.
TEST(ShadowCoordinatesFile, ACrashBeforeTheFileIsReplacedLeavesTheOldOne)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    QTemporaryDir dir;
    const QString path = dir.filePath("points.txt");
    ASSERT_EQ(saveShadowCoordinates({{1, 2, 3}, {4, 5, 6}}, path), CoordinatesSaved::Saved);
    EXPECT_EXIT(
        {
            qputenv("KORLITH3D_SAVE_FAULT", "crash");
            saveShadowCoordinates({{7, 8, 9}, {10, 11, 12}}, path);
        },
        ::testing::ExitedWithCode(platform::kSaveCrashExitCode), "");
    EXPECT_EQ(platform::readWholeFile(path).data, QByteArray("1,2,3\r\n4,5,6\r\n"));
}

} // namespace
} // namespace landlume
