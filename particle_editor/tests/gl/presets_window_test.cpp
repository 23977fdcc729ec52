// Presets and particle files through the main window's menus, and the export
// window, with scripted dialogs.
#include "support/window_test_support.h"

#include "core/mPresets.h"
#include "ui/frmExport.h"

#include <platform/Profile.h>
#include <platform/SaveFaults.h>

#include <FilePermissionFaults.h>

#include <QAbstractButton>
#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QSlider>
#include <QTest>
#include <QThread>
#include <QTimer>

namespace emberly::test {
namespace {

QByteArray bytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QStringList visibleCaptions(const QList<QAction*>& items)
{
    QStringList captions;
    for (QAction* item : items)
        if (item->isVisible())
            captions << item->text();
    return captions;
}

QAction* itemNamed(const QList<QAction*>& items, const QString& caption)
{
    for (QAction* item : items)
        if (item->isVisible() && item->text() == caption)
            return item;
    return nullptr;
}

const QStringList kShipped = {"Fire", "Smoke", "Snow", "Fountain", "Bubbles"};

TEST_F(EmberlyWindowTest, APresetAddedSurvivesARestartAndLoadsFromTheMenu)
{
    startWindow();
    EXPECT_EQ(visibleCaptions(presets->loadItems()), kShipped);
    EXPECT_EQ(visibleCaptions(presets->deleteItems()), kShipped);
    control<QSlider>("sldPartSize")->setValue(14);
    control<QSlider>("sldEmitSpeed")->setValue(30);
    form->setEmitterEnabled(1, true);   // emitter 1 becomes current
    control<QSlider>("sldMotionX")->setValue(9);
    control<QComboBox>("cmbMotion")->setCurrentIndex(2);
    form->runFrame();
    const EmitterRecords before = form->records();
    dialogs->expectInputBox(QString("Glow"), "Please Choose a unique name for your Preset.");
    presets->menuAddNew();
    EXPECT_EQ(dialogs->calls().back().title, "Emberly - Choose Name");
    EXPECT_EQ(visibleCaptions(presets->loadItems()), kShipped + QStringList{"Glow"});
    EXPECT_EQ(platform::getProfileString("Glow", "1Enabled", "", 255, file("presets.ini")), "1");

    // Restart.
    form.reset();
    startWindow();
    ASSERT_EQ(visibleCaptions(presets->loadItems()).last(), "Glow");
    EXPECT_FALSE(form->emitterEnabled(1));
    itemNamed(presets->loadItems(), "Glow")->trigger();
    EXPECT_TRUE(itemNamed(presets->loadItems(), "Glow")->isChecked());
    EXPECT_FALSE(itemNamed(presets->loadItems(), "Fire")->isChecked());
    EXPECT_TRUE(form->emitterEnabled(0));
    EXPECT_TRUE(form->emitterEnabled(1));
    EXPECT_FALSE(form->emitterEnabled(2));
    for (std::size_t i = 0; i < 2; ++i) {
        EXPECT_EQ(form->records().particles[i].Size, before.particles[i].Size);
        EXPECT_FLOAT_EQ(form->records().emitters[i].EmittorSpeed, before.emitters[i].EmittorSpeed);
        EXPECT_EQ(form->records().emitters[i].Motion, before.emitters[i].Motion);
        EXPECT_EQ(form->records().emitters[i].Distance.x, before.emitters[i].Distance.x);
    }
    EXPECT_EQ(form->factory(1).particleCopy().Size, before.particles[1].Size);
    EXPECT_EQ(control<QSlider>("sldPartSize")->value(), before.particles[0].Size);   // emitter 0 shown
    for (int t = 0; t < 15; ++t) {
        form->runFrame();
        QThread::msleep(40);
    }
    EXPECT_GT(liveParticles(1), 0);
}

TEST_F(EmberlyWindowTest, AddNewRefusesNamesTheStoreCannotHold)
{
    startWindow();
    const QByteArray store = bytes(file("presets.ini"));
    for (const char* name : {"a]b", "x=y", "   "}) {
        dialogs->expectInputBox(QString::fromLatin1(name));
        dialogs->expectMsgBox(platform::vbOK, QString::fromLatin1(name).trimmed().isEmpty() ? "needs a name"
                                                                                            : "cannot be used");
        presets->menuAddNew();
    }
    EXPECT_EQ(bytes(file("presets.ini")), store);
    dialogs->expectInputBox(std::nullopt);   // Cancel changes nothing
    presets->menuAddNew();
    EXPECT_EQ(bytes(file("presets.ini")), store);
}

TEST_F(EmberlyWindowTest, DeletingPresetsRebuildsBothListsWithoutGaps)
{
    startWindow();
    dialogs->expectMsgBox(platform::vbNo, "Are you sure you want to delete this HotKey?\rSmoke");
    itemNamed(presets->deleteItems(), "Smoke")->trigger();
    EXPECT_EQ(visibleCaptions(presets->loadItems()), kShipped);
    EXPECT_EQ(dialogs->calls().back().title, "Warning!");
    dialogs->expectMsgBox(platform::vbYes);
    itemNamed(presets->deleteItems(), "Smoke")->trigger();
    const QStringList rest = {"Fire", "Snow", "Fountain", "Bubbles"};
    EXPECT_EQ(visibleCaptions(presets->loadItems()), rest);
    EXPECT_EQ(presets->loadItems().size(), 4);
    EXPECT_EQ(presets->deleteItems().size(), 4);
    EXPECT_EQ(platform::getProfileString("Smoke", "0Size", "gone", 255, file("presets.ini")), "gone");
    for (const QString& name : rest) {
        dialogs->expectMsgBox(platform::vbYes);
        itemNamed(presets->deleteItems(), name)->trigger();
    }
    EXPECT_TRUE(visibleCaptions(presets->loadItems()).isEmpty());
    EXPECT_EQ(presets->loadItems().size(), 1);   // the hidden template
    EXPECT_FALSE(presets->loadItems().first()->isVisible());
    EXPECT_FALSE(presets->deleteItems().first()->isVisible());
}

TEST_F(EmberlyWindowTest, ParticleFilesSaveWithTheirNameAndLoadBack)
{
    startWindow();
    control<QSlider>("sldPartLife")->setValue(45);
    QDir(folder.path()).mkpath("fx");
    dialogs->expectSaveFile(file("fx/a.PKL"));
    presets->menuSave();
    EXPECT_EQ(dialogs->calls().back().title, "Emberly - Save File");
    EXPECT_EQ(dialogs->calls().back().file.filter, "Emberly File (*.pkl)|*.pkl");
    const QString saved = file("fx/a.PKL.pkl");
    EXPECT_EQ(platform::getProfileString("a.PKL.pkl", "0Life", "", 255, saved), "450");
    EXPECT_EQ(platform::getProfileString("Presets", "a.PKL.pkl", "", 255, saved), "a.PKL.pkl");

    // The record's Total changes on loading; the engine keeps its billboards.
    ASSERT_TRUE(platform::writeProfileString("a.PKL.pkl", "0ParticleTotal", "40", saved));
    form->menuReset();
    dialogs->expectOpenFile(saved);
    presets->menuLoad();
    EXPECT_EQ(dialogs->calls().back().title, "Emberly - Load File");
    EXPECT_FLOAT_EQ(form->records().particles[0].Life, 4.5f);
    EXPECT_EQ(form->records().particles[0].Total, 40);
    EXPECT_EQ(form->factory(0).Particle()->GetTotal(), 1000);
    dialogs->expectOpenFile(std::nullopt);   // Cancel
    presets->menuLoad();
}

TEST_F(EmberlyWindowTest, AParticleFileGivenAtStartUpLoadsAndAMissingOneIsNamed)
{
    startWindow();
    control<QSlider>("sldPartLife")->setValue(45);
    dialogs->expectSaveFile(file("start.pkl"));
    presets->menuSave();
    form.reset();

    startWindow(file("start.pkl"));
    EXPECT_FLOAT_EQ(form->records().particles[0].Life, 4.5f);
    EXPECT_EQ(control<QSlider>("sldPartLife")->value(), 45);
    form.reset();

    dialogs->expectMsgBox(platform::vbOK, "none.pkl was not found");
    startWindow(file("none.pkl"));
    EXPECT_NE(control<QSlider>("sldPartLife")->value(), 45);
    EXPECT_EQ(dialogs->pending(), 0u);
}

TEST_F(EmberlyWindowTest, ASaveThatFailsIsReportedOnceNamingTheFile)
{
    startWindow();
    QDir(folder.path()).mkpath("taken.pkl");   // a folder where the file should go
    dialogs->expectSaveFile(file("taken.pkl"));
    dialogs->expectMsgBox(platform::vbOK, file("taken.pkl"));
    presets->menuSave();
    EXPECT_EQ(dialogs->pending(), 0u);
}

// "Save" over a particle file that cannot be replaced: a read-only folder, a
// read-only file, a full disk. The old file stays byte for byte and the user
// hears once that it was not saved, with its name.
TEST_F(EmberlyWindowTest, AParticleFileThatCannotBeSavedKeepsItsContentAndSaysSo)
{
    startWindow();
    const QString path = file("fire.pkl");
    dialogs->expectSaveFile(path);
    presets->menuSave();
    const QByteArray before = bytes(path);
    ASSERT_FALSE(before.isEmpty());
    const QByteArray store = bytes(file("presets.ini"));
    control<QSlider>("sldPartLife")->setValue(45);

    const auto saveExpectingRefusal = [&](const char* name) {
        dialogs->expectSaveFile(path);
        dialogs->expectMsgBox(platform::vbOK, saveFailedMessage(path));
        presets->menuSave();
        EXPECT_EQ(dialogs->pending(), 0u) << name;
        EXPECT_EQ(dialogs->calls().back().style & platform::vbExclamation, platform::vbExclamation) << name;
        EXPECT_EQ(bytes(path), before) << name;
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
    EXPECT_EQ(bytes(file("presets.ini")), store);
    // Once the file can be written the same save goes through.
    dialogs->expectSaveFile(path);
    presets->menuSave();
    EXPECT_EQ(platform::getProfileString("fire.pkl", "0Life", "", 255, path), "450");
}

TEST_F(EmberlyWindowTest, AStoredCustomTextureIsOfferedAndLoaded)
{
    startWindow();
    const QString store = file("presets.ini");
    ASSERT_TRUE(platform::writeProfileString("Fire", "0TextureID", "20", store));
    dialogs->expectMsgBox(platform::vbYes, "has a Custom Texture");
    dialogs->expectOpenFile(file("media/pFlare.dds"));
    // The colour-key window is modal: choose "Black" and confirm when it shows.
    QTimer::singleShot(0, [] {
        if (auto* keys = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            if (auto* black = keys->findChild<QAbstractButton*>("optKey_1"))
                black->setChecked(true);
            keys->accept();
        }
    });
    itemNamed(presets->loadItems(), "Fire")->trigger();
    EXPECT_EQ(form->records().particles[0].TextureID, 20);
    EXPECT_EQ(form->scene().textureId("Custom"), 20);
    EXPECT_EQ(form->colorKey(), 0xFF000000);
    EXPECT_EQ(control<QComboBox>("cmbTex")->currentText(), "Custom");
    EXPECT_EQ(control<QComboBox>("cmbTex")->count(), 5);
    // With a custom texture loaded, id 20 is kept without asking.
    itemNamed(presets->loadItems(), "Fire")->trigger();
    EXPECT_EQ(form->records().particles[0].TextureID, 20);
}

TEST_F(EmberlyWindowTest, TheExportWindowWritesTheEnabledEmittersAndCopiesThem)
{
    startWindow();
    form->runFrame();
    frmExport first(*form);
    EXPECT_EQ(first.windowTitle(), "Emberly - Export");
    const int count = form->factory(0).Particle()->GetParticleCount();
    EXPECT_EQ(form->records().particles[0].Total, count + 100);
    EXPECT_EQ(form->records().particles[1].Total, 1000);
    EXPECT_TRUE(first.findChild<QWidget*>("txtPartName_0")->isVisibleTo(&first));
    EXPECT_FALSE(first.findChild<QWidget*>("txtPartName_1")->isVisibleTo(&first));
    EXPECT_TRUE(first.boxText(0).startsWith(
        QString("   With My_Particle1\r       .CreateBillboardSystem %1, 0, 3, Vector3(0,0,0), 0, ").arg(count + 100)));
    EXPECT_TRUE(first.boxText(2).startsWith("    My_Particle1.UpdateParticles"));

    first.findChild<QLineEdit*>("txtPosX")->setText("");
    EXPECT_TRUE(first.boxText(0).contains("Vector3(,0,0)"));
    first.findChild<QLineEdit*>("txtPartName_0")->setText("Sparks");
    EXPECT_TRUE(first.boxText(1).startsWith("'Event Code for Sparks :\r"));
    QTest::mouseClick(first.findChild<QWidget*>("optCodeType_1"), Qt::LeftButton, {}, QPoint(6, 8));
    EXPECT_TRUE(first.boxText(0).startsWith("   With Sparks do\r   begin\r"));
    first.copyToClipboard(1);
    EXPECT_EQ(QApplication::clipboard()->text(), first.boxText(1));
    EXPECT_TRUE(QApplication::clipboard()->text().contains("    LifeTime := 2;\r"));

    // Opening it again raises Total again from the live count.
    for (int t = 0; t < 10; ++t) {
        form->runFrame();
        QThread::msleep(40);
    }
    form->records().particles[0].Total = 7;
    frmExport second(*form);
    EXPECT_EQ(form->records().particles[0].Total, form->factory(0).Particle()->GetParticleCount() + 100);
}

TEST_F(EmberlyWindowTest, WithNoEmitterEnabledTheExportIsEmpty)
{
    startWindow();
    form->setEmitterEnabled(0, false);
    frmExport window(*form);
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(window.boxText(i).isEmpty());
    EXPECT_FALSE(window.findChild<QWidget*>("txtPartName_0")->isVisibleTo(&window));
}

} // namespace
} // namespace emberly::test
