// The search window on temporary trees: rows, drive choice, Cancel, and the
// register, unregister and delete actions.
#include "ui/Form2.h"

#include "support/WindowTestSupport.h"

#include <platform/FileSystem.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

namespace stewardex {
namespace {

using testing::child;
using testing::makeFile;

class Form2Test : public testing::WindowTest {
protected:
    // Search roots: two folders under the temporary root.
    QString driveA() const { return rootFolder() + "/driveA"; }
    QString driveB() const { return rootFolder() + "/driveB"; }

    Form2& window()
    {
        if (!form_) {
            QDir().mkpath(driveA());
            QDir().mkpath(driveB());
            form_ = std::make_unique<Form2>(QStringList{driveA(), driveB()}, [this] { ++refreshes_; });
            form_->show();
        }
        return *form_;
    }
    QTreeWidget* list() { return child<QTreeWidget>(window(), "LstResults"); }
    QStringList rowTexts()
    {
        QStringList texts;
        for (int i = 0; i < list()->topLevelItemCount(); ++i)
            texts.append(list()->topLevelItem(i)->text(0) + " | " + list()->topLevelItem(i)->text(1));
        return texts;
    }
    void select(int row) { list()->topLevelItem(row)->setSelected(true); }
    // A link to the built engine, so its version section is read.
    void placeEngine(const QString& folder)
    {
        QDir().mkpath(folder);
        ASSERT_TRUE(QFile::link(enginePath(), folder + "/libkorlith3d.so"));
    }

    int refreshes_ = 0;
    std::unique_ptr<Form2> form_;
};

TEST_F(Form2Test, StartsIdleWithTheWholeComputerTicked)
{
    EXPECT_EQ(window().windowTitle(), "Search for KL3D files...");
    EXPECT_EQ(window().statusText(), "Not searching ...");
    EXPECT_TRUE(child<QCheckBox>(window(), "Check1")->isChecked());
    EXPECT_FALSE(child<QComboBox>(window(), "Drive1")->isEnabled());
    EXPECT_EQ(list()->headerItem()->text(0), "Name");
    EXPECT_EQ(list()->headerItem()->text(1), "In Folder");
    EXPECT_EQ(list()->headerItem()->text(2), "Size");
    EXPECT_EQ(list()->headerItem()->text(3), "Modified");
}

TEST_F(Form2Test, DriveListBackgroundFollowsTheWholeComputerChoice)
{
    auto* drives = child<QComboBox>(window(), "Drive1");
    const QColor menuBar = window().palette().color(QPalette::Button);
    const QColor windowColour = window().palette().color(QPalette::Base);
    EXPECT_EQ(drives->palette().color(QPalette::Base), menuBar);
    child<QCheckBox>(window(), "Check1")->click();
    EXPECT_EQ(drives->palette().color(QPalette::Base), windowColour);
    child<QCheckBox>(window(), "Check1")->click();
    EXPECT_EQ(drives->palette().color(QPalette::Base), menuBar);
}

TEST_F(Form2Test, RightButtonReleasedOverTheListShowsTheMenu)
{
    window();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window()));
    auto* menu = child<QMenu>(window(), "mnMenu");
    QTest::mouseRelease(list()->viewport(), Qt::LeftButton, {}, QPoint(20, 20));
    EXPECT_FALSE(menu->isVisible());
    QTest::mouseRelease(list()->viewport(), Qt::RightButton, {}, QPoint(20, 20));
    EXPECT_TRUE(QTest::qWaitFor([menu] { return menu->isVisible(); }, 2000));
    QStringList items;
    for (const QAction* action : menu->actions())
        items.append(action->objectName() + "=" + action->text());
    EXPECT_EQ(items, QStringList({"mnRegister=Register", "mnUnRegister=UnRegister", "mnDelete=Delete"}));
    menu->hide();
}

TEST_F(Form2Test, BothKindsInOneFolderGiveTwoRowsEngineFirst)
{
    window();
    makeFile(driveB() + "/sdk/libklutil62.so", QByteArray(77, 'u'));
    placeEngine(driveB() + "/sdk");
    child<QPushButton>(window(), "Command2")->click();
    const QString folder = driveB() + "/sdk/";
    EXPECT_EQ(rowTexts(), QStringList({"libkorlith3d.so ( 6.0.0.0 ) | " + folder, "libklutil62.so (  ) | " + folder}));
    EXPECT_EQ(list()->topLevelItem(1)->text(2), "77");
    EXPECT_EQ(list()->topLevelItem(0)->text(2), QString::number(QFileInfo(enginePath()).size()));
    EXPECT_FALSE(list()->topLevelItem(1)->text(3).isEmpty());
    EXPECT_EQ(window().statusText(), folder) << "the status keeps the last folder";
    EXPECT_FALSE(window().searching());
}

TEST_F(Form2Test, UntickedSearchesOnlyTheSelectedDrive)
{
    window();
    makeFile(driveA() + "/libkorlith3d.so");
    makeFile(driveB() + "/libklutil62.so");
    auto* check = child<QCheckBox>(window(), "Check1");
    check->click();
    auto* drives = child<QComboBox>(window(), "Drive1");
    EXPECT_TRUE(drives->isEnabled());
    drives->setCurrentIndex(1);
    child<QPushButton>(window(), "Command2")->click();
    EXPECT_EQ(rowTexts(), QStringList({"libklutil62.so (  ) | " + driveB() + "/"}));

    check->click();
    EXPECT_FALSE(drives->isEnabled());
    child<QPushButton>(window(), "Command2")->click();
    EXPECT_EQ(rowTexts().size(), 2) << "both drives, the list emptied first";
    EXPECT_TRUE(rowTexts().front().startsWith("libkorlith3d.so"));
}

TEST_F(Form2Test, CancelWhileSearchingStopsBothNamesAndCancelWhenIdleCloses)
{
    window();
    for (int i = 0; i < 400; ++i) {
        makeFile(QStringLiteral("%1/f%2/libkorlith3d.so").arg(driveA()).arg(i));
        makeFile(QStringLiteral("%1/f%2/libklutil62.so").arg(driveB()).arg(i));
    }
    QStringList statusAfterCancel;
    QTimer::singleShot(0, &window(), [&] {
        child<QPushButton>(window(), "Command1")->click();
        statusAfterCancel.append(window().statusText());
    });
    child<QPushButton>(window(), "Command2")->click();
    EXPECT_EQ(statusAfterCancel, QStringList({"Not searching ..."}));
    EXPECT_EQ(window().statusText(), "Not searching ...") << "no folder shown after the Cancel";
    EXPECT_LT(rowTexts().size(), 10);
    for (const QString& row : rowTexts())
        EXPECT_FALSE(row.contains("driveB")) << "the second drive was never searched";
    EXPECT_TRUE(window().isVisible()) << "Cancel while searching keeps the window";

    child<QPushButton>(window(), "Command1")->click();
    EXPECT_FALSE(window().isVisible());
}

TEST_F(Form2Test, WriteProtectedEngineCancelKeepsFileAndRowOkRemovesExactlyOneRow)
{
    provideHelper("attrib");
    window();
    makeFile(driveA() + "/one/libkorlith3d.so");
    makeFile(driveA() + "/two/libkorlith3d.so");
    child<QPushButton>(window(), "Command2")->click();
    ASSERT_EQ(rowTexts().size(), 2);
    const QString file = list()->topLevelItem(0)->text(1) + "libkorlith3d.so";
    ASSERT_TRUE(platform::setReadOnly(file));

    select(0);
    dialogs_->expectMsgBox(platform::vbCancel, "This file was Write Protected");
    window().deleteSelected();
    ASSERT_EQ(dialogs_->calls().size(), 1u);
    EXPECT_EQ(dialogs_->calls().back().title, "Warning...");
    EXPECT_EQ(dialogs_->calls().back().style, platform::vbOKCancel);
    EXPECT_TRUE(QFileInfo::exists(file));
    EXPECT_EQ(rowTexts().size(), 2);

    dialogs_->expectMsgBox(platform::vbOK, "This file was Write Protected");
    window().deleteSelected();
    EXPECT_FALSE(QFileInfo::exists(file)) << "attrib gave the write permission back, the second delete worked";
    ASSERT_EQ(rowTexts().size(), 1);
    EXPECT_NE(list()->topLevelItem(0)->text(1) + "libkorlith3d.so", file);
}

TEST_F(Form2Test, DeletingAWritableOrVanishedFileRemovesItsRowWithoutAMessage)
{
    window();
    makeFile(driveA() + "/libkorlith3d.so");
    makeFile(driveA() + "/libklutil62.so");
    child<QPushButton>(window(), "Command2")->click();
    ASSERT_EQ(rowTexts().size(), 2);
    select(1);
    window().deleteSelected();
    EXPECT_FALSE(QFileInfo::exists(driveA() + "/libklutil62.so"));
    EXPECT_TRUE(QFileInfo::exists(driveA() + "/libkorlith3d.so")) << "the utility row's file, not the engine";
    ASSERT_TRUE(QFile::rename(driveA() + "/libkorlith3d.so", driveA() + "/LibKorlith3D.so"));
    select(0);
    window().deleteSelected();
    EXPECT_FALSE(QFileInfo::exists(driveA() + "/LibKorlith3D.so")) << "found and deleted whatever its letter case";
    ASSERT_EQ(rowTexts().size(), 0);
    makeFile(driveA() + "/libkorlith3d.so");
    child<QPushButton>(window(), "Command2")->click();
    ASSERT_TRUE(QFile::remove(driveA() + "/libkorlith3d.so"));
    select(0);
    window().deleteSelected();
    EXPECT_TRUE(rowTexts().isEmpty());
    window().deleteSelected();   // no row selected: nothing
    EXPECT_TRUE(dialogs_->calls().empty());
}

TEST_F(Form2Test, RegisterOnAUtilityRowOnlyRefuses)
{
    provideRecordingHelper("regsvr32");
    window();
    makeFile(driveA() + "/libklutil62.so");
    child<QPushButton>(window(), "Command2")->click();
    select(0);
    dialogs_->expectMsgBox(platform::vbOK, "You cannot register klutil62.DLL");
    window().registerSelected(false);
    dialogs_->expectMsgBox(platform::vbOK, "You cannot unregister klutil62.DLL");
    window().registerSelected(true);
    ASSERT_EQ(dialogs_->calls().size(), 2u);
    EXPECT_EQ(dialogs_->calls()[0].title, "klutil62.DLL Registration");
    EXPECT_EQ(dialogs_->calls()[1].title, "klutil62.DLL UnRegistration");
    EXPECT_EQ(dialogs_->calls()[0].style, platform::vbInformation);
    EXPECT_TRUE(window().isVisible());
    EXPECT_EQ(refreshes_, 0);
    EXPECT_TRUE(recordedCalls("regsvr32", 300).isEmpty()) << "the registration helper was not started";
}

TEST_F(Form2Test, RegisterAndUnregisterStartTheHelperRefreshTheMainWindowAndClose)
{
    provideRecordingHelper("regsvr32");
    window();
    placeEngine(driveA() + "/my sdk");
    child<QPushButton>(window(), "Command2")->click();
    select(0);
    dialogs_->expectMsgBox(platform::vbOK, "Stewardex will now try to init with the newly registered file.");
    window().registerSelected(false);
    EXPECT_EQ(recordedCalls("regsvr32"), QStringList({driveA() + "/my sdk/libkorlith3d.so"}));
    EXPECT_EQ(dialogs_->calls().back().title, "Stewardex Information...");
    EXPECT_EQ(refreshes_, 1);
    EXPECT_FALSE(window().isVisible());

    QFile::remove(programFolder() + "/regsvr32.calls");
    window().show();
    select(0);
    dialogs_->expectMsgBox(platform::vbOK, "Stewardex will now ReInit KL3D because a file has been unregistered.");
    window().registerSelected(true);
    EXPECT_EQ(recordedCalls("regsvr32"), QStringList({"/u", driveA() + "/my sdk/libkorlith3d.so"}));
    EXPECT_EQ(refreshes_, 2);
}

} // namespace
} // namespace stewardex
