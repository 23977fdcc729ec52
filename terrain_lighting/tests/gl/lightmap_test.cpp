// The lightmap in the frame window: its size, generating and cancelling,
// saving the picture and the coordinates, and the filters of the menu.
#include "support/landlume_fixture.h"

#include <korlith3d/KLGlobals.h>
#include <korlith3d/KLLandscape.h>
#include <korlith3d/KLTextureFactory.h>

#include <platform/SaveFaults.h>

#include <FilePermissionFaults.h>
#include <platform/TextFile.h>
#include <platform/TextRules.h>

#include <QAction>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QMdiSubWindow>
#include <QProgressBar>
#include <QTimer>

#include <set>

namespace landlume::test {
namespace {

class Lightmap : public LandlumeWindowTest {
protected:
    QImage& picture() { return frame->lightmapWindow()->picture()->image(); }
    void smallLand()
    {
        setText("TxtLandSet_0", "2");
        setText("TxtLandSet_1", "2");
        click("LblApplyLand");
        ASSERT_FLOAT_EQ(settings().landWidth, 512.0f);
    }
    void lightmapSize(const QString& w, const QString& h)
    {
        setText("TxtShadowSet_0", w);
        setText("TxtShadowSet_1", h);
        click("LblApplyShadow");
    }
    int count(QRgb colour)
    {
        int n = 0;
        for (int y = 0; y < picture().height(); ++y)
            for (int x = 0; x < picture().width(); ++x)
                n += picture().pixel(x, y) == colour ? 1 : 0;
        return n;
    }
};

// "Save shadow coordinates" over a file that cannot be replaced: a read-only
// folder, a read-only file, a full disk. The old points stay byte for byte
// and the user is told the file was not saved.
TEST_F(Lightmap, CoordinatesThatCannotBeSavedKeepTheOldFileAndSaySo)
{
    startWindow();
    const QString path = file("points.txt");
    settings().shadowCoordinates = {{1, 2, 3}, {4, 5, 6}};
    dialogs->expectSaveFile(path);
    dialogs->expectMsgBox(platform::vbOK, "Coordinates saved to file.");
    click("LblSaveCoords");
    const QByteArray before = platform::readWholeFile(path).data;
    ASSERT_EQ(before, QByteArray("1,2,3\r\n4,5,6\r\n"));
    settings().shadowCoordinates = {{7, 8, 9}, {10, 11, 12}, {13, 14, 15}};

    const auto saveExpectingRefusal = [&](const char* name) {
        dialogs->expectSaveFile(path);
        dialogs->expectMsgBox(platform::vbOK, "The shadow coordinates could not be saved to " + path);
        click("LblSaveCoords");
        EXPECT_EQ(dialogs->pending(), 0u) << name;
        EXPECT_EQ(dialogs->calls().back().style & platform::vbExclamation, platform::vbExclamation) << name;
        EXPECT_EQ(platform::readWholeFile(path).data, before) << name;
    };
    for (const kltest::Unwritable what : {kltest::Unwritable::Folder, kltest::Unwritable::File}) {
        const kltest::ScopedUnwritable unwritable(what, folder.path(), path);
        ASSERT_TRUE(unwritable.ok());
        saveExpectingRefusal(kltest::unwritableName(what));
    }
    {
        const platform::ScopedSaveFault full(platform::SaveFault::Write);
        saveExpectingRefusal("full disk");
    }
    dialogs->expectSaveFile(path);
    dialogs->expectMsgBox(platform::vbOK, "Coordinates saved to file.");
    click("LblSaveCoords");
    EXPECT_EQ(platform::readWholeFile(path).data, QByteArray("7,8,9\r\n10,11,12\r\n13,14,15\r\n"));
}

TEST_F(Lightmap, SizesOutside64To2048WarnAndKeepTheSize)
{
    startWindow();
    for (const auto& [w, h] : {std::pair{"63", "512"}, {"512", "2049"}}) {
        dialogs->expectMsgBox(platform::vbOK, "Only legal values between 64 and 2048 are allowed.");
        lightmapSize(w, h);
        EXPECT_EQ(picture().size(), QSize(512, 512));
        EXPECT_FLOAT_EQ(settings().texWidth, 512.0f);
    }
    EXPECT_EQ(dialogs->calls().at(0).title, "Invalid settings");
    EXPECT_EQ(dialogs->calls().at(0).style, platform::vbExclamation);
    lightmapSize("64", "2048");
    EXPECT_EQ(picture().size(), QSize(64, 2048));
    EXPECT_FLOAT_EQ(settings().texHeight, 2048.0f);
    // The window shows the whole picture at 1:1.
    QWidget* window = frame->lightmapSubWindow();
    EXPECT_GE(window->width(), 64 + 6);
    EXPECT_GE(window->height(), 2048 + 25);
    EXPECT_EQ(frame->lightmapWindow()->picture()->size(), QSize(64, 2048));
}

TEST_F(Lightmap, CoordinatesRightAfterStartWriteNothing)
{
    startWindow();
    dialogs->expectSaveFile(file("points"));
    click("LblSaveCoords");
    EXPECT_EQ(dialogs->calls().at(0).title, "Save shadow coordinates:");
    EXPECT_FALSE(QFileInfo::exists(file("points.txt")));
    EXPECT_FALSE(QFileInfo::exists(file("points")));
}

TEST_F(Lightmap, ABakeOnASmallLandThenSavingThePictureAndThePoints)
{
    startWindow();
    smallLand();
    lightmapSize("128", "128");
    PlacedObject house;
    house.fileName = "Models\\house.3ds";
    house.meshPosition = {260, 0, 250};
    house.meshScale = {3, 3, 3};
    ASSERT_TRUE(engine().placeObject("3ds", house));

    click("LblGenerate");
    EXPECT_EQ(text("LblGenerate"), "Generate lightmap");
    EXPECT_FALSE(settings().generating);
    EXPECT_EQ(frame->progress()->value(), 0);
    EXPECT_EQ(frame->progress()->maximum(), 512);
    EXPECT_EQ(frame->lightmap().lastBake().end, BakeEnd::Finished);
    const int shadowed = count(qRgb(153, 153, 153));
    EXPECT_GT(shadowed, 20);
    EXPECT_EQ(shadowed + count(qRgb(255, 255, 255)), 128 * 128);
    const std::size_t points = settings().shadowCoordinates.size();
    EXPECT_GT(points, 100u);

    // A name without extension saves name.bmp and puts it on the land.
    dialogs->expectSaveFile(file("baked"));
    dialogs->expectMsgBox(platform::vbOK, "Lightmap saved to file.");
    click("LblSaveMap");
    EXPECT_EQ(dialogs->calls().at(0).title, "Save lightmap:");
    const QString saved = file("baked.bmp");
    ASSERT_TRUE(QFileInfo::exists(saved));
    EXPECT_EQ(settings().lightmap, saved);
    const QImage written(saved);
    EXPECT_EQ(written.convertToFormat(QImage::Format_RGB32), picture());
    const int id = KLGlobals().GetTex("LightMap");
    EXPECT_EQ(engine().landscape()->GetLightmap(), id);
    EXPECT_EQ(KLTextureFactory().GetTextureWidth(id), 128);
    EXPECT_EQ(dialogs->calls().at(1).style, platform::vbInformation);

    // A save that fails (here: the new file cannot replace the old one)
    // keeps the saved lightmap as it was and says it was not saved.
    {
        QFile before(saved);
        ASSERT_TRUE(before.open(QIODevice::ReadOnly));
        const QByteArray bytes = before.readAll();
        before.close();
        const platform::ScopedSaveFault injected(platform::SaveFault::Rename);
        dialogs->expectSaveFile(saved);
        dialogs->expectMsgBox(platform::vbOK, "The lightmap could not be saved to " + saved);
        const std::size_t shown = dialogs->calls().size();
        click("LblSaveMap");
        EXPECT_EQ(dialogs->pending(), 0u);
        ASSERT_EQ(dialogs->calls().size(), shown + 2);   // the file dialog and the message
        EXPECT_EQ(dialogs->calls().back().style, platform::vbExclamation);
        ASSERT_TRUE(before.open(QIODevice::ReadOnly));
        EXPECT_EQ(before.readAll(), bytes);
    }

    dialogs->expectSaveFile(file("points.TXT"));
    dialogs->expectMsgBox(platform::vbOK, "Coordinates saved to file.");
    click("LblSaveCoords");
    const QStringList lines = platform::readTextLines(file("points.TXT")).lines;
    ASSERT_EQ(std::size_t(lines.size()), points);
    const D3DVECTOR first = settings().shadowCoordinates.front();
    EXPECT_EQ(lines.first(), platform::singleText(first.x) + "," + platform::singleText(first.y) + "," +
                                 platform::singleText(first.z));

    // The filters of the menu work on the picture in place.
    control<QAction>("mnuBrighter")->trigger();
    EXPECT_EQ(count(qRgb(168, 168, 168)), shadowed);
    control<QAction>("mnuDarker")->trigger();
    EXPECT_EQ(count(qRgb(151, 151, 151)), shadowed);   // 168 x 0.9 = 151.2
    control<QAction>("mnuSmooth")->trigger();
    EXPECT_LT(count(qRgb(151, 151, 151)), shadowed);

    // "Load lightmap" brings the saved picture back into the window and onto the land.
    const QImage filteredPicture = picture();
    dialogs->expectOpenFile(saved);
    click("LblLoadLight");
    EXPECT_EQ(dialogs->calls().back().title, "Open lightmap:");
    EXPECT_EQ(picture(), written.convertToFormat(QImage::Format_RGB32));
    EXPECT_NE(picture(), filteredPicture);
    EXPECT_EQ(settings().lightmap, saved);
    const int loaded = KLGlobals().GetTex("LightMap");
    EXPECT_EQ(engine().landscape()->GetLightmap(), loaded);

    // "Remove lightmap" rebuilds the land without it; "Apply" under the
    // alpha puts it back.
    click("LblRemoveLight");
    EXPECT_EQ(engine().landscape()->GetLightmap(), 0);
    setText("TxtShadowSet_2", "0.5");
    click("LblApplyAlpha");
    EXPECT_EQ(engine().landscape()->GetLightmap(), loaded);
    EXPECT_FLOAT_EQ(settings().alpha, 0.5f);
}

TEST_F(Lightmap, AHalfUnitStepReportsADivisionByZeroAndStaysOnCancel)
{
    startWindow();
    smallLand();
    lightmapSize("1024", "1024");
    dialogs->expectMsgBox(platform::vbOK, "Division by zero");
    click("LblGenerate");
    EXPECT_EQ(dialogs->calls().back().title, "Landlume - Lightmap generation tool");
    EXPECT_TRUE(settings().generating);
    EXPECT_EQ(text("LblGenerate"), "Cancel");
    EXPECT_EQ(settings().shadowCoordinates.size(), 1u);
    click("LblGenerate");
    EXPECT_FALSE(settings().generating);
    EXPECT_EQ(text("LblGenerate"), "Generate lightmap");
}

TEST_F(Lightmap, NoShadowKindsLeavesAClearedPictureWithoutAMessage)
{
    startWindow();
    picture().fill(Qt::black);
    control<QCheckBox>("ChkLShadows")->setChecked(false);
    control<QCheckBox>("ChkOShadows")->setChecked(false);
    click("LblGenerate");
    EXPECT_EQ(count(qRgb(255, 255, 255)), 512 * 512);
    EXPECT_FALSE(settings().generating);
    EXPECT_EQ(text("LblGenerate"), "Generate lightmap");
}

TEST_F(Lightmap, CancelStopsTheDefaultBakeWithin50MsAndKeepsThePoints)
{
    startWindow();
    QElapsedTimer clock;
    qint64 clicked = -1;
    std::size_t pointsAtClick = 0;
    // Looks at every turn of events the bake gives; once it has found
    // shadows, "Cancel" is clicked.
    QTimer watcher;
    watcher.setInterval(0);
    QObject::connect(&watcher, &QTimer::timeout, frame.get(), [&] {
        if (clicked >= 0 || settings().shadowCoordinates.size() < 50)
            return;
        clicked = clock.elapsed();
        pointsAtClick = settings().shadowCoordinates.size();
        click("LblGenerate");   // "Cancel"
    });
    watcher.start();
    clock.start();
    click("LblGenerate");
    const qint64 stopped = clock.elapsed();
    watcher.stop();
    ASSERT_GE(clicked, 0);
    EXPECT_LE(stopped - clicked, 50);
    EXPECT_EQ(frame->lightmap().lastBake().end, BakeEnd::Stopped);
    EXPECT_FALSE(settings().generating);
    EXPECT_EQ(text("LblGenerate"), "Generate lightmap");
    // The points found up to the click stay (the bake may finish the sample it was on).
    EXPECT_GE(settings().shadowCoordinates.size(), pointsAtClick);
    EXPECT_LT(settings().shadowCoordinates.size(), 1000000u);
    EXPECT_GT(count(qRgb(153, 153, 153)), 0);
}

} // namespace
} // namespace landlume::test
