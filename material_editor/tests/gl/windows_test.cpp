// Objects configuration, help and About windows.
#include "support/window_test_support.h"

#include "core/ObjectsList.h"
#include "ui/Form3.h"
#include "ui/Form4.h"
#include "ui/Module1.h"
#include "ui/frmAbout.h"

#include <QAction>
#include <QApplication>
#include <QTimer>
#include <QCoreApplication>
#include <QDir>
#include <QLabel>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

#include <platform/Registry.h>
#include <platform/SaveFaults.h>

#include <FilePermissionFaults.h>

#include <functional>

namespace glazery::test {
namespace {

class ObjectsWindow : public GlazeryWindowTest {
protected:
    void SetUp() override
    {
        GlazeryWindowTest::SetUp();
        startWindow();
        objects = std::make_unique<Form3>(*form);
    }
    void TearDown() override
    {
        objects.reset();
        GlazeryWindowTest::TearDown();
    }
    QLineEdit* row(const char* box, int i) { return objects->findChild<QLineEdit*>(QString("%1_%2").arg(box).arg(i)); }
    QByteArray listFile()
    {
        QFile list(file("glazeryobjects.ini"));
        return list.open(QIODevice::ReadOnly) ? list.readAll() : QByteArray();
    }
    std::unique_ptr<Form3> objects;
};

TEST_F(ObjectsWindow, ShowsTheListAndRewritesScaleBoxes)
{
    EXPECT_EQ(objects->windowTitle(), "Objects configuration");
    EXPECT_EQ(row("txtFileName", 1)->text(), "data\\models\\Teapot.X");
    EXPECT_EQ(row("txtDesc", 1)->text(), "Teapot");
    EXPECT_EQ(row("txtScale", 1)->text(), "100");

    row("txtScale", 1)->setText("-20");
    objects->scaleLostFocus(1);
    EXPECT_EQ(row("txtScale", 1)->text(), "1");
    EXPECT_FLOAT_EQ(scene().previewMesh(1).GetScale().x, 0.01f);

    row("txtScale", 2)->setText("050");
    objects->scaleLostFocus(2);
    EXPECT_EQ(row("txtScale", 2)->text(), "50");
    EXPECT_FLOAT_EQ(scene().previewMesh(2).GetScale().y, 0.5f);

    row("txtDesc", 5)->setText("Wedge");
    objects->descriptionLostFocus(5);
    EXPECT_EQ(form->objectsPanel().caption(5), "Wedge");
}

TEST_F(ObjectsWindow, OkWritesTwentySevenLinesAndReloads)
{
    row("txtScale", 0)->setText("150");
    row("txtScale", 1)->setText("50");
    row("txtDesc", 2)->setText("Box");
    objects->findChild<QPushButton*>("Command2")->click();
    const QStringList lines = readLines(file("glazeryobjects.ini"));
    ASSERT_EQ(lines.size(), 27);
    EXPECT_EQ(lines[2], " 1.5 ");
    EXPECT_EQ(lines[5], " .5 ");
    EXPECT_EQ(lines[7], "Box");
    EXPECT_EQ(lines[8], " 1 ");
    EXPECT_EQ(form->objectsPanel().caption(2), "Box");
    EXPECT_FLOAT_EQ(scene().previewMesh(0).GetScale().x, 1.5f);
    EXPECT_GT(scene().previewMesh(2).GetVertexCount(), 0);
    EXPECT_EQ(listFile().count("\r\n"), 27);
}

TEST_F(ObjectsWindow, ResetWithoutOkChangesNothing)
{
    row("txtDesc", 0)->setText("Ball");
    objects->findChild<QPushButton*>("Command2")->click();
    const QByteArray saved = listFile();
    objects = std::make_unique<Form3>(*form);
    EXPECT_EQ(row("txtDesc", 0)->text(), "Ball");
    objects->findChild<QPushButton*>("Command3")->click();
    EXPECT_EQ(row("txtDesc", 0)->text(), "Sphere");
    EXPECT_EQ(row("txtScale", 0)->text(), "100");
    objects->close();
    objects.reset();
    EXPECT_EQ(listFile(), saved);
    EXPECT_EQ(form->objectsPanel().caption(0), "Ball");
}

// "OK" with a list that cannot be written: a read-only program folder, a
// read-only list, a full disk. The old list stays byte for byte, the user is
// told it was not saved, and the window still applies the rows to the scene.
TEST_F(ObjectsWindow, AListThatCannotBeSavedIsKeptAndTheUserIsTold)
{
    const QString list = file("glazeryobjects.ini");
    const QByteArray before = listFile();
    ASSERT_FALSE(before.isEmpty());
    const std::vector<std::pair<const char*, std::function<void()>>> faults{
        {"read-only folder",
         [&] {
             const kltest::ScopedUnwritable unwritable(kltest::Unwritable::Folder, folderPath(), list);
             ASSERT_TRUE(unwritable.ok());
             objects->findChild<QPushButton*>("Command2")->click();
         }},
        {"read-only file",
         [&] {
             const kltest::ScopedUnwritable unwritable(kltest::Unwritable::File, folderPath(), list);
             ASSERT_TRUE(unwritable.ok());
             objects->findChild<QPushButton*>("Command2")->click();
         }},
        {"full disk",
         [&] {
             const platform::ScopedSaveFault full(platform::SaveFault::Write);
             objects->findChild<QPushButton*>("Command2")->click();
         }},
    };
    int round = 0;
    for (const auto& [name, pressOk] : faults) {
        objects = std::make_unique<Form3>(*form);
        const QString caption = QStringLiteral("Changed %1").arg(++round);
        row("txtDesc", 3)->setText(caption);
        dialogs->expectMsgBox(platform::vbOK, "The objects list could not be saved");
        pressOk();
        EXPECT_EQ(dialogs->pending(), 0u) << name;
        ASSERT_FALSE(dialogs->calls().empty());
        EXPECT_TRUE(dialogs->calls().back().prompt.contains(list)) << dialogs->calls().back().prompt.toStdString();
        EXPECT_EQ(dialogs->calls().back().style & platform::vbExclamation, platform::vbExclamation) << name;
        EXPECT_EQ(listFile(), before) << name;
        EXPECT_EQ(form->objectsPanel().caption(3), caption) << name;
    }
    EXPECT_EQ(QDir(folderPath()).entryList({"*.ini*"}, QDir::Files), QStringList{"glazeryobjects.ini"});
}

TEST_F(ObjectsWindow, BrowseLoadsAtOnceAndCancelKeepsTheRow)
{
    QDir().mkpath(file("other"));
    QFile model(file("other/flat.x"));
    ASSERT_TRUE(model.open(QIODevice::WriteOnly));
    model.write(tinyXModel());
    model.close();
    dialogs->expectOpenFile(file("other/flat.x"));
    objects->browse(4);
    EXPECT_EQ(row("txtFileName", 4)->text(), file("other/flat.x"));
    EXPECT_EQ(scene().previewMesh(4).GetVertexCount(), 4);
    EXPECT_EQ(dialogs->calls().back().title, "Open 3D file");

    dialogs->expectOpenFile(std::nullopt);
    objects->browse(4);
    EXPECT_EQ(row("txtFileName", 4)->text(), file("other/flat.x"));

    // A name that is not an X model goes to the 3D Studio loader.
    QFile fake(file("other/fake.3ds"));
    ASSERT_TRUE(fake.open(QIODevice::WriteOnly));
    fake.write(tinyXModel());
    fake.close();
    dialogs->expectOpenFile(file("other/fake.3ds"));
    dialogs->expectMsgBox(platform::vbOK, "Load3DS");
    objects->browse(4);
}

TEST_F(ObjectsWindow, StudioModelsLoadThroughTheirLoader)
{
    const QString sample = QCoreApplication::applicationDirPath() + "/../Emberly/mesh/pole.3ds";
    if (!QFile::exists(sample))
        GTEST_SKIP() << "no 3DS sample in the build tree";
    dialogs->expectOpenFile(sample);
    objects->browse(6);
    EXPECT_GT(scene().previewMesh(6).GetVertexCount(), 0);
}

using OtherWindows = GlazeryWindowTest;

TEST_F(OtherWindows, HelpMenuShowsTheReadmeUnderGlazerysNames)
{
    startWindow();
    form->findChild<QAction*>("GlazeryHelp")->trigger();
    auto* help = form->findChild<Form4*>("Form4");
    ASSERT_NE(help, nullptr);
    EXPECT_TRUE(help->isVisible());
    EXPECT_EQ(help->windowTitle(), "Help for Glazery");
    EXPECT_EQ(help->findChild<QPlainTextEdit*>("Text1")->font().family(), "Courier");
    EXPECT_EQ(help->text(), "Glazery help\nSecond line\n");
    help->close();
}

TEST_F(OtherWindows, AboutShowsGlazerysTitleAndTheSystemInformationButton)
{
    frmAbout about(nullptr);
    EXPECT_EQ(about.objectName(), "frmAbout");
    EXPECT_EQ(about.findChild<QLabel*>("lblTitle")->text(), "Glazery - A Material Editor for KL3D SDK 6.0");
    dialogs->expectMsgBox(platform::vbOK, "System Information Is Unavailable At This Time");
    about.findChild<QPushButton*>("cmdSysInfo")->click();
    EXPECT_EQ(dialogs->pending(), 0u);
}

TEST_F(OtherWindows, ProgramRunsItsLoopUntilTheWindowCloses)
{
    // Closing the main window from inside the loop ends the program normally.
    bool closed = false;
    QTimer poll;
    poll.setInterval(50);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        for (QWidget* window : QApplication::topLevelWidgets())
            if (window->objectName() == "Form1" && window->isVisible()) {
                poll.stop();
                window->close();
                closed = true;
                return;
            }
    });
    poll.start();
    EXPECT_EQ(runGlazery(folderPath(), 0.0), 0);
    EXPECT_TRUE(closed);
}

} // namespace
} // namespace glazery::test
