#include "ui/FrmMain.h"

#include "core/LeadingNumber.h"
#include "core/PresetFile.h"
#include "core/Resolutions.h"

#include <platform/Interaction.h>
#include <platform/Paths.h>
#include <platform/RuntimeError.h>
#include <toolkit/Controls.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QDir>
#include <QFileInfo>
#include <QFont>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSlider>
#include <QTime>

namespace layerloom {

namespace {

constexpr int kWindowWidth = 760;
constexpr int kWindowHeight = 560;
constexpr int kPreviewSide = 400;

template <class Widget, class... Args>
Widget* make(QWidget* parent, const QString& name, QRect geometry, Args&&... args)
{
    auto* widget = new Widget(std::forward<Args>(args)..., parent);
    widget->setObjectName(name);
    widget->setGeometry(geometry);
    return widget;
}

QLabel* label(QWidget* parent, const QString& name, const QString& caption, QRect geometry)
{
    return make<QLabel>(parent, name, geometry, caption);
}

QPushButton* button(QWidget* parent, const QString& name, const QString& caption, QRect geometry)
{
    return make<QPushButton>(parent, name, geometry, caption);
}

QLineEdit* textBox(QWidget* parent, const QString& name, QRect geometry)
{
    return make<QLineEdit>(parent, name, geometry);
}

std::optional<QString> chooseFile(bool save, const QString& title, const QString& filter,
                                  const QString& initialFolder = {})
{
    platform::FileDialogRequest request;
    request.title = title;
    request.filter = filter;
    request.initialFolder = initialFolder;
    const std::optional<platform::FileChoice> choice =
        save ? platform::interaction().saveFile(request) : platform::interaction().openFile(request);
    if (!choice || choice->path.isEmpty())
        return std::nullopt;
    return choice->path;
}

// The wait cursor for the length of a blocking generation.
struct WaitCursor {
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

const QString kAppTitle = QStringLiteral("Layerloom");

} // namespace

FrmMain::FrmMain(QString programFolder, QWidget* parent)
    : QWidget(parent), programFolder_(std::move(programFolder)), scene_(std::make_unique<LoomScene>(programFolder_))
{
    setObjectName(QStringLiteral("FrmMain"));
    setWindowTitle(kWindowCaption);
    setFixedSize(kWindowWidth, kWindowHeight);
    buildControls();
    connectHandlers();
}

FrmMain::~FrmMain() = default;

void FrmMain::buildControls()
{
    lblWelcome_ = label(this, "lblWelcome", kWelcomeText, {12, 8, 330, 28});
    QFont big = lblWelcome_->font();
    big.setPointSize(14);
    big.setBold(true);
    lblWelcome_->setFont(big);

    label(this, "lblHeight", QStringLiteral("Height Map :"), {12, 48, 110, 22});
    txtheight_ = textBox(this, "txtheight", {124, 48, 188, 22});
    cmdHeightBrowse_ = button(this, "CmdHeightBrowse", QStringLiteral("..."), {316, 48, 30, 22});
    label(this, "lblFinal", QStringLiteral("Final Texture :"), {12, 76, 110, 22});
    txtFinal_ = textBox(this, "txtFinal", {124, 76, 188, 22});
    cmdFinalBrowse_ = button(this, "CmdFinalBrowse", QStringLiteral("..."), {316, 76, 30, 22});
    label(this, "lblResolution", QStringLiteral("Texture Resolution :"), {12, 104, 140, 22});
    cboResolution_ = make<QComboBox>(this, "CboResolution", {12, 128, 334, 24});
    cboResolution_->setEditable(false);
    cboResolution_->addItems(resolutionEntries());
    chkDithering_ = make<QCheckBox>(this, "ChkDithering", {12, 158, 120, 22}, QStringLiteral("Dithering"));
    chkMipMapping_ = make<QCheckBox>(this, "ChkMipMapping", {140, 158, 120, 22}, QStringLiteral("MipMapping"));

    lstLayers_ = make<QListWidget>(this, "LstLayers", {12, 188, 334, 120});
    cmdAdd_ = button(this, "CmdAdd", QStringLiteral("&Add Layer"), {12, 314, 106, 26});
    cmdRemove_ = button(this, "CmdRemove", QStringLiteral("&Remove Layer"), {126, 314, 106, 26});
    cmdClear_ = button(this, "CmdClear", QStringLiteral("Clear &All"), {240, 314, 106, 26});

    label(this, "lblLayerPath", QStringLiteral("Layer Path :"), {12, 350, 90, 22});
    txtLayerPath_ = textBox(this, "txtLayerPath", {104, 350, 242, 22});
    label(this, "lblMin", QStringLiteral("Tex Altitude Min:"), {12, 380, 120, 22});
    txtMin_ = textBox(this, "txtMin", {134, 380, 70, 22});
    label(this, "lblMax", QStringLiteral("Max:"), {214, 380, 40, 22});
    txtMax_ = textBox(this, "txtMax", {256, 380, 90, 22});
    label(this, "lblTexU", QStringLiteral("Tex U "), {12, 410, 50, 22});
    txtTexUScale_ = textBox(this, "txtTexUScale", {64, 410, 100, 22});
    label(this, "lblTexV", QStringLiteral("Tex V"), {188, 410, 50, 22});
    txtTexVScale_ = textBox(this, "txtTexVScale", {240, 410, 106, 22});
    label(this, "lblBlend", QStringLiteral("Power Of Blend :"), {12, 440, 120, 22});
    // The track runs from 30 at its left end to 0 at its right end; the value
    // counts only when the thumb is let go.
    hsTexBlend_ = make<QSlider>(this, "HSTexBlend", {134, 440, 170, 22}, Qt::Horizontal);
    hsTexBlend_->setRange(kSliderMinimum, kSliderMaximum);
    hsTexBlend_->setInvertedAppearance(true);
    hsTexBlend_->setInvertedControls(true);
    hsTexBlend_->setTracking(false);
    hsTexBlend_->setValue(kSliderMaximum);
    lblPower_ = label(this, "lblPower", QStringLiteral("1.5"), {310, 440, 36, 22});

    picPreview_ = new toolkit::PictureBox(this, QStringLiteral("PicPreview"));
    picPreview_->setGeometry(358, 12, kPreviewSide, kPreviewSide);
    picPreview_->setBackColor(Qt::black);
    cmdPreview_ = button(this, "CmdPreview", QStringLiteral("&Preview"), {358, 422, 128, 30});
    cmdCompile_ = button(this, "CmdCompile", QStringLiteral("&Compile"), {494, 422, 128, 30});
    cmd3DPreview_ = button(this, "Cmd3DPreview", QStringLiteral("&3D Preview"), {630, 422, 128, 30});
    cmdCompile_->setEnabled(false);
    cmd3DPreview_->setEnabled(false);
    cmdLoadPreset_ = button(this, "CmdLoadPreset", QStringLiteral("&Load Preset"), {358, 470, 128, 30});
    cmdSavePreset_ = button(this, "CmdSavePreset", QStringLiteral("&Save Preset"), {494, 470, 128, 30});
}

void FrmMain::connectHandlers()
{
    connect(cmdAdd_, &QPushButton::clicked, this, &FrmMain::addLayer);
    connect(cmdRemove_, &QPushButton::clicked, this, &FrmMain::removeLayer);
    connect(cmdClear_, &QPushButton::clicked, this, &FrmMain::clearLayers);
    connect(cmdHeightBrowse_, &QPushButton::clicked, this, &FrmMain::browseHeightMap);
    connect(cmdFinalBrowse_, &QPushButton::clicked, this, &FrmMain::browseFinal);
    connect(cmdCompile_, &QPushButton::clicked, this, &FrmMain::compile);
    connect(cmdPreview_, &QPushButton::clicked, this, &FrmMain::preview);
    connect(cmdSavePreset_, &QPushButton::clicked, this, &FrmMain::savePreset);
    connect(cmdLoadPreset_, &QPushButton::clicked, this, &FrmMain::loadPreset);
    // 3D Preview does nothing.
    connect(lstLayers_, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row < 0)
            return;
        layers_.select(row);
        ShowLayer(row);
    });
    connect(txtMin_, &QLineEdit::textChanged, this, &FrmMain::minChanged);
    connect(txtMax_, &QLineEdit::textChanged, this, &FrmMain::maxChanged);
    connect(txtTexUScale_, &QLineEdit::textChanged, this, &FrmMain::uScaleChanged);
    connect(txtTexVScale_, &QLineEdit::textChanged, this, &FrmMain::vScaleChanged);
    connect(hsTexBlend_, &QSlider::valueChanged, this, &FrmMain::sliderChanged);
    connect(txtFinal_, &QLineEdit::textChanged, this,
            [this](const QString& text) { cmdCompile_->setEnabled(!text.isEmpty()); });
}

bool FrmMain::load(const QString& presetToOpen)
{
    cboResolution_->setCurrentIndex(kStartResolutionEntry);
    show();
    bool started = false;
    try {
        started = scene_->start(static_cast<std::uintptr_t>(picPreview_->winId()));
    } catch (const SceneError& error) {
        platform::msgBox(error.description, platform::vbCritical, kAppTitle);
        return false;
    }
    if (!started)
        platform::msgBox(QStringLiteral("The 3D view cannot be started in this window."), platform::vbCritical,
                         kAppTitle);
    if (started && !presetToOpen.isEmpty()) {
        if (QFileInfo(presetToOpen).isFile())
            loadPresetFile(QFileInfo(presetToOpen).absoluteFilePath());
        else
            platform::msgBox(QStringLiteral("The preset %1 was not found.").arg(QDir::toNativeSeparators(presetToOpen)),
                             platform::vbExclamation, kAppTitle);
    }
    return started;
}

// ---- the layer list ---------------------------------------------------------

void FrmMain::RefreshLayerList()
{
    lstLayers_->clear();
    lstLayers_->addItems(layers_.lines());
    const int selected = layers_.selected();
    lstLayers_->setCurrentRow(selected >= 0 && selected < lstLayers_->count() ? selected : -1);
}

void FrmMain::ShowLayer(int index)
{
    if (index < 0 || index >= layers_.count())
        return;
    // A copy: each field's change handling writes its value back into the layer.
    const TextureLayer layer = layers_.layer(index);
    txtMin_->setText(QString::number(layer.AltitudeMin));
    txtMax_->setText(QString::number(layer.AltitudeMax));
    txtLayerPath_->setText(layer.TexturePath);
    lblPower_->setText(realText(layer.BlendPower));
    if (const std::optional<int> position = sliderPosition(layer.BlendPower))
        hsTexBlend_->setValue(*position);
    txtTexUScale_->setText(realText(layer.UScale));
    txtTexVScale_->setText(realText(layer.VScale));
    platform::StepByStep steps;
    steps.step([&] { scene_->showTexture(layer.TexturePath); });
}

void FrmMain::addLayer()
{
    const std::optional<QString> path = chooseFile(false, kLayerDialogTitle, kLayerDialogFilter);
    if (!path || !layers_.add(*path))
        return;
    RefreshLayerList();
}

void FrmMain::removeLayer()
{
    if (layers_.removeLine(lstLayers_->currentRow()))
        RefreshLayerList();
}

void FrmMain::clearLayers()
{
    layers_.clear();
    RefreshLayerList();
}

// ---- edit fields ------------------------------------------------------------

void FrmMain::minChanged(const QString& text)
{
    TextureLayer* layer = layers_.current();
    if (const std::optional<qint32> value = leadingInt32(text); layer && value)
        layer->AltitudeMin = *value;
}

void FrmMain::maxChanged(const QString& text)
{
    TextureLayer* layer = layers_.current();
    if (const std::optional<qint32> value = leadingInt32(text); layer && value)
        layer->AltitudeMax = *value;
}

void FrmMain::uScaleChanged(const QString& text)
{
    TextureLayer* layer = layers_.current();
    if (const std::optional<float> value = leadingFloat(text); layer && value)
        layer->UScale = *value;
}

void FrmMain::vScaleChanged(const QString& text)
{
    TextureLayer* layer = layers_.current();
    if (const std::optional<float> value = leadingFloat(text); layer && value)
        layer->VScale = *value;
}

void FrmMain::sliderChanged(int value)
{
    const float power = sliderPower(value);
    if (TextureLayer* layer = layers_.current())
        layer->BlendPower = power;
    lblPower_->setText(realText(power));
}

// ---- height map and output ----------------------------------------------------

void FrmMain::browseHeightMap()
{
    const std::optional<QString> path = chooseFile(false, kHeightDialogTitle, kHeightDialogFilter);
    if (!path)
        return;
    platform::StepByStep steps;
    steps.step([&] { scene_->showHeightMap(*path); });
    txtheight_->setText(*path);
}

void FrmMain::browseFinal()
{
    if (const std::optional<QString> path = chooseFile(true, kFinalDialogTitle, kFinalDialogFilter))
        txtFinal_->setText(*path);
}

// ---- generation ---------------------------------------------------------------

bool FrmMain::canGenerate() const
{
    return lstLayers_->count() > 0 && !txtheight_->text().isEmpty() && scene_->started();
}

bool FrmMain::generateInto(const QString& output, int resolution)
{
    WaitCursor wait;
    platform::StepByStep steps;
    QString failure;
    if (steps.step([&] { scene_->clearLayers(); }))
        failure = steps.lastDescription();
    for (int i = 0; i < layers_.count(); ++i)
        if (steps.step([&] { scene_->addLayer(layers_.layer(i)); }) && failure.isEmpty())
            failure = steps.lastDescription();
    steps.step([&] { scene_->showCompilingMessage(); });
    if (failure.isEmpty() && steps.step([&] { scene_->generate(txtheight_->text(), output, resolution); }))
        failure = steps.lastDescription();
    if (!failure.isEmpty()) {
        steps.step([&] { scene_->restoreView(); });
        platform::msgBox(QStringLiteral("The texture was not generated.\n\n%1").arg(failure), platform::vbExclamation,
                         kAppTitle);
        return false;
    }
    steps.step([&] { scene_->showGenerated(output); });
    return true;
}

void FrmMain::compile()
{
    if (!canGenerate())
        return;
    if (generateInto(txtFinal_->text(), entryResolution(cboResolution_->currentText())))
        cmd3DPreview_->setEnabled(true);
}

void FrmMain::preview()
{
    if (!canGenerate())
        return;
    const double seconds = QTime::currentTime().msecsSinceStartOfDay() / 1000.0;
    const QString temporary = platform::joinPath(programFolder_, previewFileName(seconds));
    generateInto(temporary, kPreviewResolution);
    QFile::remove(temporary);
}

// ---- presets --------------------------------------------------------------------

void FrmMain::savePreset()
{
    const std::optional<QString> path = chooseFile(true, kSavePresetTitle, kPresetFilter);
    if (!path)
        return;
    Preset preset;
    preset.heightMap = txtheight_->text();
    preset.output = txtFinal_->text();
    preset.resolutionEntry = cboResolution_->currentIndex();
    preset.layers = layers_.layers();
    const platform::SaveResult saved = writePresetFile(platform::resolvePath(*path), preset);
    if (!saved)
        platform::msgBox(QStringLiteral("The preset was not saved: %1").arg(saved.error), platform::vbExclamation,
                         kAppTitle);
}

void FrmMain::loadPreset()
{
    // The dialog opens on the shipped samples, so a first preset is a click away.
    const QString samples = platform::joinPath(programFolder_, QStringLiteral("samples"));
    const std::optional<QString> path =
        chooseFile(false, kLoadPresetTitle, kPresetFilter, QFileInfo(samples).isDir() ? samples : QString());
    if (path)
        loadPresetFile(*path);
}

void FrmMain::loadPresetFile(const QString& path)
{
    const PresetReadResult read = readPresetFile(path);
    if (!read.preset) {
        // The window keeps the set-up it had.
        platform::msgBox(read.error, platform::vbExclamation, kAppTitle);
        return;
    }
    clearLayers();
    const Preset& preset = *read.preset;
    txtheight_->setText(preset.heightMap);
    txtFinal_->setText(preset.output);
    if (preset.resolutionEntry >= 0 && preset.resolutionEntry < kResolutionEntryCount)
        cboResolution_->setCurrentIndex(preset.resolutionEntry);
    layers_.replace(preset.layers);
    RefreshLayerList();
    if (!read.warnings.isEmpty())
        platform::msgBox(read.warnings.join(u'\n'), platform::vbInformation, kAppTitle);
}

} // namespace layerloom
