// Layerloom's window under a display: start-up, the layer list and its edit
// fields, Compile and Preview through the engine, presets and failures.
#include "core/PresetFile.h"
#include "core/Resolutions.h"
#include "ui/FrmMain.h"

#include "ProgramWithoutDisplay.h"

#include <platform/Interaction.h>
#include <platform/Paths.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace layerloom {
namespace {

using platform::ScriptedInteraction;

// The view may round a channel by one on its way to the screen.
bool sameColour(QRgb a, QRgb b)
{
    return std::abs(qRed(a) - qRed(b)) <= 2 && std::abs(qGreen(a) - qGreen(b)) <= 2 && std::abs(qBlue(a) - qBlue(b)) <= 2;
}

class LayerloomWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder.isValid());
        platform::setProgramFolder(folder.path());
        dialogs = std::make_shared<ScriptedInteraction>();
        scoped = std::make_unique<platform::ScopedInteraction>(dialogs);
        solidPicture("red.bmp", qRgb(255, 0, 0));
        solidPicture("green.bmp", qRgb(0, 255, 0));
        solidPicture("blue.png", qRgb(0, 0, 255));
        QImage grey(16, 16, QImage::Format_Grayscale8);
        grey.fill(100);
        ASSERT_TRUE(grey.save(file("height.bmp")));
        form = std::make_unique<FrmMain>(folder.path());
        ASSERT_TRUE(form->load());
    }
    void TearDown() override
    {
        form.reset();
        scoped.reset();
        platform::setProgramFolder({});
    }

    void solidPicture(const QString& name, QRgb colour)
    {
        QImage image(32, 32, QImage::Format_RGB32);
        image.fill(colour);
        ASSERT_TRUE(image.save(file(name)));
    }
    QString file(const QString& name) const { return folder.filePath(name); }
    template <class T>
    T* control(const QString& name) const
    {
        T* widget = form->findChild<T*>(name);
        EXPECT_NE(widget, nullptr) << name.toStdString();
        return widget;
    }
    void click(const QString& name) { QTest::mouseClick(control<QPushButton>(name), Qt::LeftButton); }
    void addLayer(const QString& path)
    {
        dialogs->expectOpenFile(path);
        click("CmdAdd");
    }
    void setHeightMap(const QString& path)
    {
        dialogs->expectOpenFile(path);
        click("CmdHeightBrowse");
    }
    void typeInto(const QString& name, const QString& text)
    {
        QLineEdit* box = control<QLineEdit>(name);
        box->selectAll();
        if (text.isEmpty())
            QTest::keyClick(box, Qt::Key_Delete);
        else
            QTest::keyClicks(box, text);
    }
    // The colour at the middle of the view as last presented.
    QRgb viewCentre()
    {
        const QString shot = QDir(shots.path()).filePath("view.bmp");
        form->scene().saveView(shot);
        const QImage image(shot);
        EXPECT_FALSE(image.isNull());
        return image.isNull() ? 0 : image.pixel(image.width() / 2, image.height() / 2) & 0xFFFFFF;
    }
    QStringList listLines() const
    {
        QStringList lines;
        auto* list = form->findChild<QListWidget*>("LstLayers");
        for (int i = 0; i < list->count(); ++i)
            lines << list->item(i)->text();
        return lines;
    }
    QStringList temporaryFiles() const
    {
        return QDir(folder.path()).entryList({"temp*.bmp"}, QDir::Files);
    }

    QTemporaryDir folder;
    QTemporaryDir shots;
    std::shared_ptr<ScriptedInteraction> dialogs;
    std::unique_ptr<platform::ScopedInteraction> scoped;
    std::unique_ptr<FrmMain> form;
};

TEST_F(LayerloomWindow, StartsWithItsControlsCaptionsAndDefaults)
{
    EXPECT_EQ(form->windowTitle(), "Layerloom V1.0");
    EXPECT_EQ(control<QLabel>("lblWelcome")->text(), "Welcome To Layerloom!");
    const std::pair<const char*, const char*> buttons[] = {
        {"CmdHeightBrowse", "..."},         {"CmdFinalBrowse", "..."},       {"CmdAdd", "&Add Layer"},
        {"CmdRemove", "&Remove Layer"},     {"CmdClear", "Clear &All"},      {"CmdPreview", "&Preview"},
        {"CmdCompile", "&Compile"},         {"Cmd3DPreview", "&3D Preview"}, {"CmdLoadPreset", "&Load Preset"},
        {"CmdSavePreset", "&Save Preset"}};
    for (const auto& [name, caption] : buttons)
        EXPECT_EQ(control<QPushButton>(name)->text(), caption) << name;
    const std::pair<const char*, const char*> labels[] = {
        {"lblHeight", "Height Map :"}, {"lblFinal", "Final Texture :"}, {"lblResolution", "Texture Resolution :"},
        {"lblLayerPath", "Layer Path :"}, {"lblMin", "Tex Altitude Min:"}, {"lblMax", "Max:"},
        {"lblTexU", "Tex U "}, {"lblTexV", "Tex V"}, {"lblBlend", "Power Of Blend :"}, {"lblPower", "1.5"}};
    for (const auto& [name, caption] : labels)
        EXPECT_EQ(control<QLabel>(name)->text(), caption) << name;
    EXPECT_EQ(control<QCheckBox>("ChkDithering")->text(), "Dithering");
    EXPECT_EQ(control<QCheckBox>("ChkMipMapping")->text(), "MipMapping");
    for (const char* box : {"txtheight", "txtFinal", "txtLayerPath", "txtMin", "txtMax", "txtTexUScale", "txtTexVScale"})
        EXPECT_TRUE(control<QLineEdit>(box)->text().isEmpty()) << box;
    EXPECT_NE(form->findChild<QWidget*>("PicPreview"), nullptr);

    QComboBox* resolution = control<QComboBox>("CboResolution");
    EXPECT_EQ(resolution->count(), 7);
    EXPECT_EQ(resolution->currentIndex(), 4);
    EXPECT_FALSE(resolution->isEditable());
    QSlider* slider = control<QSlider>("HSTexBlend");
    EXPECT_EQ(slider->minimum(), 0);
    EXPECT_EQ(slider->maximum(), 30);
    EXPECT_EQ(slider->value(), 30);
    EXPECT_TRUE(slider->invertedAppearance());   // 30 at the left end
    EXPECT_FALSE(control<QPushButton>("CmdCompile")->isEnabled());
    EXPECT_FALSE(control<QPushButton>("Cmd3DPreview")->isEnabled());

    // A non-empty output text enables Compile, an empty one disables it.
    control<QLineEdit>("txtFinal")->setText("x.bmp");
    EXPECT_TRUE(control<QPushButton>("CmdCompile")->isEnabled());
    control<QLineEdit>("txtFinal")->clear();
    EXPECT_FALSE(control<QPushButton>("CmdCompile")->isEnabled());
}

TEST_F(LayerloomWindow, ThreeLayersAddedShowTheThirdAndItsTexture)
{
    addLayer(file("red.bmp"));
    addLayer(file("green.bmp"));
    addLayer(file("blue.png"));
    ASSERT_EQ(dialogs->calls().size(), 3u);
    EXPECT_EQ(dialogs->calls()[0].file.title, "Load A Layer Texture");
    EXPECT_EQ(dialogs->calls()[0].file.filter,
              "Color Texture Map (*.bmp,*.jpg,*.png,*.gif)|*.bmp;*.jpg;*.png;*.gif");
    EXPECT_EQ(listLines(), QStringList({"Layer #0 (" + file("red.bmp") + ")", "Layer #1 (" + file("green.bmp") + ")",
                                        "Layer #2 (" + file("blue.png") + ")"}));
    EXPECT_EQ(control<QListWidget>("LstLayers")->currentRow(), 2);
    EXPECT_EQ(control<QLineEdit>("txtMin")->text(), "0");
    EXPECT_EQ(control<QLineEdit>("txtMax")->text(), "255");
    EXPECT_EQ(control<QLineEdit>("txtTexUScale")->text(), "1");
    EXPECT_EQ(control<QLineEdit>("txtTexVScale")->text(), "1");
    EXPECT_EQ(control<QLineEdit>("txtLayerPath")->text(), file("blue.png"));
    EXPECT_EQ(control<QLabel>("lblPower")->text(), "1.5");
    EXPECT_EQ(control<QSlider>("HSTexBlend")->value(), 15);
    EXPECT_PRED2(sameColour, viewCentre(), 0x0000FFu);

    // Clicking a line shows that layer.
    control<QListWidget>("LstLayers")->setCurrentRow(0);
    EXPECT_EQ(control<QLineEdit>("txtLayerPath")->text(), file("red.bmp"));
    EXPECT_PRED2(sameColour, viewCentre(), 0xFF0000u);

    // A height map that cannot be loaded still empties the view and fills the box.
    setHeightMap(file("not there.bmp"));
    EXPECT_PRED2(sameColour, viewCentre(), 0x000000u);
    EXPECT_EQ(control<QLineEdit>("txtheight")->text(), file("not there.bmp"));

    // A cancelled dialog adds nothing.
    dialogs->expectOpenFile(std::nullopt);
    click("CmdAdd");
    EXPECT_EQ(form->layers().count(), 3);
}

TEST_F(LayerloomWindow, RemovingLineOneOfThreeShowsTheFormerThird)
{
    addLayer(file("red.bmp"));
    addLayer(file("green.bmp"));
    addLayer(file("blue.png"));
    control<QListWidget>("LstLayers")->setCurrentRow(2);
    typeInto("txtMin", "40");
    control<QListWidget>("LstLayers")->setCurrentRow(1);
    click("CmdRemove");
    EXPECT_EQ(listLines(), QStringList({"Layer #0 (" + file("red.bmp") + ")", "Layer #1 (" + file("blue.png") + ")"}));
    EXPECT_EQ(control<QLineEdit>("txtLayerPath")->text(), file("blue.png"));
    EXPECT_EQ(control<QLineEdit>("txtMin")->text(), "40");

    // Removing the last line leaves no selection; edits then change no layer.
    click("CmdRemove");
    EXPECT_EQ(form->layers().count(), 1);
    EXPECT_EQ(control<QListWidget>("LstLayers")->currentRow(), -1);
    const TextureLayer kept = form->layers().layer(0);
    typeInto("txtMax", "99");
    EXPECT_EQ(form->layers().layer(0), kept);
    click("CmdRemove");   // nothing selected: nothing removed
    EXPECT_EQ(form->layers().count(), 1);

    click("CmdClear");
    EXPECT_EQ(form->layers().count(), 0);
    EXPECT_TRUE(listLines().isEmpty());
}

TEST_F(LayerloomWindow, EditFieldsWriteBackByTheLeadingNumberRule)
{
    addLayer(file("red.bmp"));
    typeInto("txtTexVScale", "2.5");
    TextureLayer expected = newLayer(file("red.bmp"));
    expected.VScale = 2.5f;
    EXPECT_EQ(form->layers().layer(0), expected);   // only VScale changed

    typeInto("txtMin", "12abc");
    EXPECT_EQ(form->layers().layer(0).AltitudeMin, 12);
    typeInto("txtMin", "");
    EXPECT_EQ(form->layers().layer(0).AltitudeMin, 0);
    control<QLineEdit>("txtMax")->setText("99999999999");   // beyond 32 bits: the field keeps its value
    EXPECT_EQ(form->layers().layer(0).AltitudeMax, 255);
    typeInto("txtTexUScale", ".5x");
    EXPECT_EQ(form->layers().layer(0).UScale, 0.5f);

    // The slider: fully right is power 0, fully left 3.
    QSlider* slider = control<QSlider>("HSTexBlend");
    slider->setValue(0);
    EXPECT_EQ(form->layers().layer(0).BlendPower, 0.0f);
    EXPECT_EQ(control<QLabel>("lblPower")->text(), "0");
    slider->setValue(30);
    EXPECT_EQ(form->layers().layer(0).BlendPower, 3.0f);
    EXPECT_EQ(control<QLabel>("lblPower")->text(), "3");
    // Keys move the thumb the way it looks: Right lowers the power.
    slider->setFocus();
    QTest::keyClick(slider, Qt::Key_Right);
    EXPECT_EQ(slider->value(), 29);
}

TEST_F(LayerloomWindow, CompileAndPreviewNeedLayersAndAHeightMap)
{
    control<QLineEdit>("txtFinal")->setText(file("out.bmp"));
    click("CmdCompile");
    click("CmdPreview");
    addLayer(file("red.bmp"));
    click("CmdCompile");
    click("CmdPreview");
    EXPECT_TRUE(form->scene().generations().empty());
    EXPECT_FALSE(QFile::exists(file("out.bmp")));
    EXPECT_FALSE(control<QPushButton>("Cmd3DPreview")->isEnabled());
    EXPECT_TRUE(temporaryFiles().isEmpty());
}

TEST_F(LayerloomWindow, PreviewGeneratesAt256AndLeavesNoTemporaryFile)
{
    addLayer(file("green.bmp"));
    setHeightMap(file("height.bmp"));
    EXPECT_EQ(dialogs->calls().back().file.title, "Load A Gray-Scale HeightMap");
    EXPECT_EQ(dialogs->calls().back().file.filter, "Gray-Scale HeightMap (*.bmp,*.jpg)|*.bmp;*.jpg");
    EXPECT_EQ(control<QLineEdit>("txtheight")->text(), file("height.bmp"));
    EXPECT_PRED2(sameColour, viewCentre(), 0x000000u);   // choosing the height map empties the view

    click("CmdPreview");
    ASSERT_EQ(form->scene().generations().size(), 1u);
    const GenerationRequest& request = form->scene().generations()[0];
    EXPECT_EQ(request.resolution, 256);
    EXPECT_EQ(request.heightMap, file("height.bmp"));
    EXPECT_TRUE(QFileInfo(request.output).fileName().startsWith("temp"));
    EXPECT_EQ(QFileInfo(request.output).absolutePath(), QFileInfo(folder.path()).absoluteFilePath());
    EXPECT_EQ(request.layerCount, 1);
    EXPECT_PRED2(sameColour, viewCentre(), 0x00FF00u);   // the generated texture is shown
    EXPECT_TRUE(temporaryFiles().isEmpty());
    EXPECT_FALSE(control<QPushButton>("Cmd3DPreview")->isEnabled());
    EXPECT_TRUE(control<QLineEdit>("txtFinal")->text().isEmpty());
}

TEST_F(LayerloomWindow, CompileWithTheLastEntryPasses2048AndEnables3DPreview)
{
    addLayer(file("red.bmp"));
    setHeightMap(file("height.bmp"));
    dialogs->expectSaveFile(file("final.bmp"));
    click("CmdFinalBrowse");
    EXPECT_EQ(dialogs->calls().back().file.title, "Save Final Texture");
    EXPECT_EQ(dialogs->calls().back().file.filter, "Color heightmap (*.bmp)|*.bmp");
    EXPECT_EQ(control<QLineEdit>("txtFinal")->text(), file("final.bmp"));

    // The 2048 texture itself is the engine's test; here a small one stands in,
    // and the view is looked at while "generating".
    const QString during = QDir(shots.path()).filePath("during.bmp");
    form->scene().setGenerator([&](const GenerationRequest& request) {
        form->scene().saveView(during);
        QImage small(8, 8, QImage::Format_RGB32);
        small.fill(qRgb(10, 20, 30));
        small.save(request.output);
    });
    control<QComboBox>("CboResolution")->setCurrentIndex(6);
    click("CmdCompile");
    ASSERT_EQ(form->scene().generations().size(), 1u);
    EXPECT_EQ(form->scene().generations()[0].resolution, 2048);
    EXPECT_EQ(form->scene().generations()[0].output, file("final.bmp"));
    // "Please Wait Compiling..." was on screen in yellow from (30, 100), on black.
    const QImage message(during);
    ASSERT_FALSE(message.isNull());
    int yellow = 0, elsewhere = 0;
    for (int y = 0; y < message.height(); ++y)
        for (int x = 0; x < message.width(); ++x) {
            const QRgb p = message.pixel(x, y);
            const bool isYellow = qRed(p) > 180 && qGreen(p) > 180 && qBlue(p) < 90;
            const bool inText = x >= 30 && x < 260 && y >= 100 && y < 124;
            (inText ? yellow : elsewhere) += isYellow;
        }
    EXPECT_GT(yellow, 40);
    EXPECT_EQ(elsewhere, 0);
    EXPECT_PRED2(sameColour, viewCentre(), 0x0A141Eu);
    EXPECT_TRUE(control<QPushButton>("Cmd3DPreview")->isEnabled());

    // The real generation at the selected entry.
    form->scene().setGenerator({});
    control<QComboBox>("CboResolution")->setCurrentIndex(0);
    click("CmdCompile");
    EXPECT_EQ(QImage(file("final.bmp")).size(), QSize(32, 32));
    EXPECT_PRED2(sameColour, viewCentre(), 0xFF0000u);
}

TEST_F(LayerloomWindow, AFailedGenerationSaysWhatFailedAndKeepsThePreviousView)
{
    addLayer(file("blue.png"));
    EXPECT_PRED2(sameColour, viewCentre(), 0x0000FFu);
    control<QLineEdit>("txtheight")->setText(file("missing.bmp"));
    control<QLineEdit>("txtFinal")->setText(file("out.bmp"));
    dialogs->expectMsgBox(platform::vbOK, "missing.bmp");
    click("CmdCompile");
    EXPECT_EQ(dialogs->pending(), 0u);
    EXPECT_PRED2(sameColour, viewCentre(), 0x0000FFu);
    EXPECT_FALSE(control<QPushButton>("Cmd3DPreview")->isEnabled());
    EXPECT_FALSE(QFile::exists(file("out.bmp")));

    // An unwritable output, after a good compile: the compiled view stays.
    control<QLineEdit>("txtheight")->setText(file("height.bmp"));
    click("CmdCompile");
    EXPECT_PRED2(sameColour, viewCentre(), 0x0000FFu);
    addLayer(file("red.bmp"));   // shows red
    control<QLineEdit>("txtFinal")->setText(file("no folder/out.bmp"));
    dialogs->expectMsgBox(platform::vbOK, "no folder");
    click("CmdCompile");
    EXPECT_PRED2(sameColour, viewCentre(), 0xFF0000u);

    // A layer that cannot be read, in Preview: named; no temporary file left.
    addLayer(file("nothing.gif"));
    dialogs->expectMsgBox(platform::vbOK, "nothing.gif");
    click("CmdPreview");
    EXPECT_TRUE(temporaryFiles().isEmpty());
}

TEST_F(LayerloomWindow, APresetGivenAtStartUpLoadsAndAMissingOneIsNamed)
{
    addLayer(file("red.bmp"));
    addLayer(file("green.bmp"));
    typeInto("txtMin", "60");
    const QList<TextureLayer> saved = form->layers().layers();
    dialogs->expectSaveFile(file("start.llp"));
    click("CmdSavePreset");
    form.reset();

    form = std::make_unique<FrmMain>(folder.path());
    ASSERT_TRUE(form->load(file("start.llp")));
    EXPECT_EQ(form->layers().layers(), saved);
    EXPECT_EQ(listLines().size(), 2);
    form.reset();

    dialogs->expectMsgBox(platform::vbOK, "none.llp was not found");
    form = std::make_unique<FrmMain>(folder.path());
    ASSERT_TRUE(form->load(file("none.llp")));
    EXPECT_TRUE(listLines().isEmpty());
    EXPECT_EQ(dialogs->pending(), 0u);
}

TEST_F(LayerloomWindow, PresetsSaveClearAndLoadBack)
{
    addLayer(file("red.bmp"));
    addLayer(file("green.bmp"));
    typeInto("txtMin", "60");
    typeInto("txtTexUScale", "3");
    control<QSlider>("HSTexBlend")->setValue(7);
    control<QLineEdit>("txtheight")->setText(file("height.bmp"));
    control<QLineEdit>("txtFinal")->setText(file("out.bmp"));
    control<QComboBox>("CboResolution")->setCurrentIndex(2);
    const QList<TextureLayer> before = form->layers().layers();

    dialogs->expectSaveFile(file("set.llp"));
    click("CmdSavePreset");
    EXPECT_EQ(dialogs->calls().back().file.title, "Save Setup As Preset");
    EXPECT_EQ(dialogs->calls().back().file.filter, "Layerloom Preset (*.llp)|*.llp");

    click("CmdClear");
    control<QLineEdit>("txtheight")->clear();
    control<QLineEdit>("txtFinal")->clear();
    control<QComboBox>("CboResolution")->setCurrentIndex(5);

    dialogs->expectOpenFile(file("set.llp"));
    click("CmdLoadPreset");
    EXPECT_EQ(dialogs->calls().back().file.title, "Load Setup Preset");
    EXPECT_TRUE(dialogs->calls().back().file.initialFolder.isEmpty());   // no samples folder here
    EXPECT_EQ(form->layers().layers(), before);
    EXPECT_EQ(control<QLineEdit>("txtheight")->text(), file("height.bmp"));
    EXPECT_EQ(control<QLineEdit>("txtFinal")->text(), file("out.bmp"));
    EXPECT_TRUE(control<QPushButton>("CmdCompile")->isEnabled());
    EXPECT_EQ(control<QComboBox>("CboResolution")->currentIndex(), 2);
    EXPECT_EQ(control<QLineEdit>("txtMin")->text(), "60");
    EXPECT_EQ(control<QLabel>("lblPower")->text(), "0.7");

    // A power of 1.57 in a file becomes 1.6 once its layer is shown; an entry
    // of 9 leaves the selection as it was and is reported.
    Preset odd;
    odd.layers << newLayer(file("red.bmp"));
    odd.layers[0].BlendPower = 1.57f;
    odd.resolutionEntry = 9;
    ASSERT_TRUE(writePresetFile(file("odd.llp"), odd));
    dialogs->expectOpenFile(file("odd.llp"));
    dialogs->expectMsgBox(platform::vbOK, "entry 9");
    click("CmdLoadPreset");
    EXPECT_EQ(control<QComboBox>("CboResolution")->currentIndex(), 2);
    EXPECT_EQ(form->layers().count(), 1);
    form->layers();
    control<QListWidget>("LstLayers")->setCurrentRow(0);
    EXPECT_EQ(form->layers().layer(0).BlendPower, 1.6f);
    EXPECT_EQ(control<QLabel>("lblPower")->text(), "1.6");
}

TEST_F(LayerloomWindow, PresetsThatCannotBeReadOrSavedChangeNothing)
{
    addLayer(file("red.bmp"));
    control<QLineEdit>("txtheight")->setText("h.bmp");
    dialogs->expectOpenFile(file("absent.llp"));
    dialogs->expectMsgBox(platform::vbOK, "absent.llp");
    click("CmdLoadPreset");
    EXPECT_EQ(form->layers().count(), 1);
    EXPECT_EQ(control<QLineEdit>("txtheight")->text(), "h.bmp");
    EXPECT_EQ(control<QComboBox>("CboResolution")->currentIndex(), 4);

    // A save onto a folder fails with a message; cancel writes nothing.
    QDir(folder.path()).mkdir("taken.llp");
    dialogs->expectSaveFile(file("taken.llp"));
    dialogs->expectMsgBox(platform::vbOK, "taken.llp");
    click("CmdSavePreset");
    dialogs->expectSaveFile(std::nullopt);
    click("CmdSavePreset");
    EXPECT_TRUE(QDir(folder.path()).entryList({"*.llp"}, QDir::Files).isEmpty());

    // A negative count loads as no layers, with the stored paths.
    QFile negative(file("negative.llp"));
    ASSERT_TRUE(negative.open(QIODevice::WriteOnly));
    negative.write("\"hm.bmp\"\r\n\"o.bmp\"\r\n1\r\n-2\r\n");
    negative.close();
    dialogs->expectOpenFile(file("negative.llp"));
    dialogs->expectMsgBox(platform::vbOK, "-2");
    click("CmdLoadPreset");
    EXPECT_EQ(form->layers().count(), 0);
    EXPECT_EQ(control<QLineEdit>("txtheight")->text(), "hm.bmp");
    EXPECT_EQ(control<QComboBox>("CboResolution")->currentIndex(), 1);
}

TEST_F(LayerloomWindow, TheSamplePresetCompilesIntoATerrainTexture)
{
    const QDir samples(KL_LAYERLOOM_SAMPLES);
    QDir(folder.path()).mkdir("samples");
    for (const QString& name : samples.entryList(QDir::Files))
        ASSERT_TRUE(QFile::copy(samples.filePath(name), folder.filePath("samples/" + name))) << name.toStdString();
    dialogs->expectOpenFile(file("samples/sample.llp"));
    click("CmdLoadPreset");
    EXPECT_EQ(QFileInfo(dialogs->calls().back().file.initialFolder).fileName(), "samples");
    ASSERT_EQ(form->layers().count(), 4);
    control<QComboBox>("CboResolution")->setCurrentIndex(3);
    click("CmdCompile");
    const QImage texture(file("samples/terrain.bmp"));
    ASSERT_EQ(texture.size(), QSize(256, 256));
    // Every layer shows somewhere: the sand, grass, rock and snow colours differ
    // enough that the picture holds many distinct colours and light and dark parts.
    int darkest = 255, lightest = 0;
    for (int y = 0; y < 256; y += 4)
        for (int x = 0; x < 256; x += 4) {
            const int grey = qGray(texture.pixel(x, y));
            darkest = std::min(darkest, grey);
            lightest = std::max(lightest, grey);
        }
    EXPECT_GT(lightest, 200);   // snow
    EXPECT_LT(darkest, 120);
    EXPECT_TRUE(control<QPushButton>("Cmd3DPreview")->isEnabled());

    // layerloom --compile of the same preset writes the same bytes.
    const kltest::ProgramRun run = kltest::runWithoutDisplay(
        kltest::builtProgramFolder("Layerloom") + "/layerloom",
        {"--compile", file("samples/sample.llp"), "--output", file("command.bmp"), "--resolution", "256"}, file("."));
    ASSERT_EQ(run.exitCode, 0) << run.errors.toStdString();
    QFile windowed(file("samples/terrain.bmp"));
    QFile command(file("command.bmp"));
    ASSERT_TRUE(windowed.open(QIODevice::ReadOnly) && command.open(QIODevice::ReadOnly));
    const QByteArray bytes = windowed.readAll();
    EXPECT_EQ(bytes.size(), 54 + 256 * 256 * 3);
    EXPECT_TRUE(bytes == command.readAll());
}

} // namespace
} // namespace layerloom
