#include "ui/frmMain.h"

#include "core/DirectXCheck.h"
#include "core/EmberlyRegistry.h"
#include "core/SliderTable.h"
#include "ui/EditorTabs.h"
#include "ui/EmberlyScene.h"
#include "ui/EmitterPage.h"
#include "ui/EmitterSelector.h"
#include "ui/OptionsPage.h"
#include "ui/ParticlesPage.h"
#include "ui/frmKL_ColorKey.h"

#include <platform/Interaction.h>
#include <platform/RuntimeError.h>
#include <platform/TextRules.h>
#include <toolkit/AboutWindow.h>
#include <toolkit/Controls.h>
#include <toolkit/Dialogs.h>
#include <toolkit/EngineStartup.h>
#include <toolkit/HelpWindow.h>

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QMenuBar>
#include <QScopedValueRollback>
#include <QSlider>
#include <QThread>

namespace emberly {

namespace {

constexpr int kPanelWidth = 252;
constexpr int kViewLeft = 256;
constexpr int kViewTop = 4;
constexpr int kMinWidth = 640;
constexpr int kMinHeight = 465;

} // namespace

frmMain::frmMain(const QString& programFolder, QWidget* parent)
    : QMainWindow(parent), scene_(std::make_unique<EmberlyScene>(programFolder)),
      sliders_(guard(), [this](QSlider* s) { sliderWritten(s); })
{
    toolkit::registerEngineErrors();
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Emberly - v1.2"));
    client_ = new QWidget(this);
    client_->setObjectName(QStringLiteral("frmMainClient"));
    setCentralWidget(client_);
    buildMenus();
    buildPanel();
    picture1_ = new toolkit::PictureBox(client_, QStringLiteral("Picture1"));
    picture1_->setBackColor(Qt::black);
    picture1_->setAttribute(Qt::WA_NativeWindow);
    picture1_->setGeometry(kViewLeft, kViewTop, 540, 560);
    resize(kViewLeft + 800 + 5, 640);
}

frmMain::~frmMain()
{
    shutdown();
}

QString frmMain::programFolder() const
{
    return scene_->programFolder();
}

Guard frmMain::guard()
{
    return [this](const QString& procedure, const std::function<void()>& action) { guarded(procedure, action); };
}

// ---- building the window --------------------------------------------------

void frmMain::buildMenus()
{
    const auto add = [this](QMenu* menu, const QString& name, const QString& caption, auto slot) {
        QAction* action = menu->addAction(caption);
        action->setObjectName(name);
        connect(action, &QAction::triggered, this, slot);
        return action;
    };
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    file->setObjectName(QStringLiteral("mnuFile"));
    add(file, QStringLiteral("mnuReset"), QStringLiteral("&Reset"), [this] { guarded("mnuReset_Click", [this] { menuReset(); }); });
    add(file, QStringLiteral("mnuLoad"), QStringLiteral("&Load"), [this] {
        if (menuHandlers_.load)
            menuHandlers_.load();
    });
    add(file, QStringLiteral("mnuSave"), QStringLiteral("&Save"), [this] {
        if (menuHandlers_.save)
            menuHandlers_.save();
    });
    file->addSeparator();
    add(file, QStringLiteral("mnuCode"), QStringLiteral("Generate &Code"), [this] {
        if (menuHandlers_.code)
            menuHandlers_.code();
    });
    file->addSeparator();
    add(file, QStringLiteral("mnuExit"), QStringLiteral("E&xit"), [this] { running_ = false; });

    presetsMenu_ = menuBar()->addMenu(QStringLiteral("&Presets"));
    presetsMenu_->setObjectName(QStringLiteral("mnuPresets"));
    add(presetsMenu_, QStringLiteral("mnuAddNew"), QStringLiteral("&Add New"), [this] {
        if (menuHandlers_.addNew)
            menuHandlers_.addNew();
    });
    deleteMenu_ = presetsMenu_->addMenu(QStringLiteral("Delete"));
    deleteMenu_->setObjectName(QStringLiteral("mnuDelete"));
    QAction* deleteTemplate = deleteMenu_->addAction(QStringLiteral("temp"));
    deleteTemplate->setObjectName(QStringLiteral("mnuPresetList2_0"));
    deleteTemplate->setVisible(false);
    presetSeparator_ = presetsMenu_->addSeparator();
    presetSeparator_->setObjectName(QStringLiteral("mnuPresetSep"));
    QAction* loadTemplate = presetsMenu_->addAction(QStringLiteral("temp"));
    loadTemplate->setObjectName(QStringLiteral("mnuPresetList_0"));
    loadTemplate->setVisible(false);
    loadTemplate->setCheckable(true);

    QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
    help->setObjectName(QStringLiteral("mnuHelp"));
    add(help, QStringLiteral("mnuUsage"), QStringLiteral("&Usage"), [this] {
        toolkit::HelpWindow usage(this, {QStringLiteral("frmUsage"), QStringLiteral("Emberly - Usage"),
                                         QStringLiteral("txtUsage"), QStringLiteral("Courier New")});
        usage.loadReadme(programFolder());
        usage.exec();
    });
    add(help, QStringLiteral("mnuAbout"), QStringLiteral("&About"), [this] {
        toolkit::AboutTexts texts;
        texts.caption = QStringLiteral("About - Emberly");
        texts.title = QStringLiteral("Emberly");
        texts.version = QStringLiteral("Version 1.2.0");
        texts.description = QStringLiteral("A billboard particle editor for the Korlith3D engine.");
        texts.disclaimer = QStringLiteral("This program is provided as is, without warranty of any kind.");
        texts.links = {QStringLiteral("http://www.korlith3d.com")};
        toolkit::AboutWindow about(this, texts);
        about.exec();
    });
}

void frmMain::buildPanel()
{
    auto* panel = new QWidget(client_);
    panel->setObjectName(QStringLiteral("picPanel"));
    panel->setGeometry(0, 0, kPanelWidth, 460);
    selector_ = new EmitterSelector(panel, guard(), [this](int index) {
        currentEmitter_ = index;
        showEmitter(index);
    });
    tabs_ = new EditorTabs(panel);

    ColourGroupEditor::Actions colourActions;
    colourActions.channelEdited = [this](int channel, float value) { colourChannelEdited(channel, value); };
    colourActions.randomChosen = [this](const D3DCOLORVALUE& colour) { randomColourChosen(colour); };
    particlesPage_ = new ParticlesPage(tabs_->area(), sliders_, guard(), std::move(colourActions), [this] { loadTex(); });
    tabs_->addPage(particlesPage_);

    emitterPage_ = new EmitterPage(tabs_->area(), sliders_, guard());
    tabs_->addPage(emitterPage_);

    OptionsPage::Actions options;
    options.autoRotateToggled = [this] { autoRotate_ = !autoRotate_; };
    options.alphaModeChosen = [this](int mode) { alphaModeChosen(mode); };
    options.skyChosen = [this](bool grid) { scene_->setSkyBox(grid); };
    optionsPage_ = new OptionsPage(tabs_->area(), guard(), std::move(options));
    tabs_->addPage(optionsPage_);
}

// ---- start-up ------------------------------------------------------------

bool frmMain::directXCheck()
{
    const std::optional<QString> warning = directXWarning(installedDirectXVersion());
    if (!warning)
        return true;
    return platform::msgBox(*warning, platform::vbOKCancel | platform::vbCritical, kDirectXProblemTitle) ==
           platform::vbOK;
}

bool frmMain::load(bool runLoop, const std::function<void()>& afterStart)
{
    autoRotate_ = readFlag(kAutoRotateValue);                             // 1
    if (!directXCheck())                                                  // 2
        return false;
    if (QFile::exists(QDir(programFolder()).filePath(QStringLiteral("presets.ini"))) && menuHandlers_.buildPresetMenus)
        menuHandlers_.buildPresetMenus();                                 // 3
    scene_->createEngine();                                               // 4
    show();
    // A window shown at start-up is the active one, as the desktop makes it.
    raise();
    activateWindow();
    QApplication::processEvents();
    const QString debug = scene_->debugFile();                            // 5
    if (QFile::exists(debug))
        QFile::remove(debug);
    running_ = scene_->start(std::uintptr_t(picture1_->winId()));         // 6
    if (!running_) {
        // The view could not be started: nothing can be drawn, so the scene is
        // not built on an engine without a view.
        shutdown();
        return false;
    }
    alphaMode_ = 1;                                                       // 7
    scene_->createInput();
    scene_->setupScene();                                                 // 8
    updateVelocity();                                                     // 9
    particlesPage_->selectFirstTexture();                                 // 10
    optionsPage_->setShowIntro(readFlag(kShowIntroValue));
    for (int i = 0; i < kEmitterCount; ++i)                               // 11
        setupParticles(i);
    currentEmitter_ = 0;                                                  // 12
    emitterPage_->setMotion(0);
    tabs_->layOut();                                                      // 13
    applyResizeRules();
    if (afterStart)
        afterStart();
    if (runLoop) {
        while (runFrame()) {
        }
        shutdown();
    }
    return true;
}

void frmMain::setupParticles(int index)
{
    checkEmitterIndex(index);
    const auto u = std::size_t(index);
    ParticleSettings particle;
    particle.TextureID = scene_->textureId(particlesPage_->firstTexture());
    particle.ColorRnd = particlesPage_->colours().constantRandomness() ? 1.0f : 0.0f;
    particle.Velocity = emitterPage_->velocity();
    records_.particles[u] = particle;
    records_.emitters[u] = EmitterSettings{};
    setupFactoryFrom(factory(index), records_.particles[u], records_.emitters[u]);
}

clsParticleFactory& frmMain::factory(int index)
{
    checkEmitterIndex(index);
    auto& slot = factories_[std::size_t(index)];
    if (!slot) {
        FactoryEnvironment env;
        env.createSystem = [this] { return scene_->createParticleSystem(); };
        env.alphaMode = [this] { return alphaMode_; };
        env.tickCount = [] { return EmberlyScene::tickCount(); };
        slot = std::make_unique<clsParticleFactory>(std::move(env));
    }
    return *slot;
}

bool frmMain::hasFactory(int index) const
{
    return index >= 0 && index < kEmitterCount && factories_[std::size_t(index)];
}

bool frmMain::emitterEnabled(int index) const
{
    checkEmitterIndex(index);
    return selector_->emitterEnabled(index);
}

bool frmMain::onlyBuiltInTextures() const
{
    return particlesPage_->onlyBuiltInTextures();
}

// ---- the loop --------------------------------------------------------------

bool frmMain::isMainWindowActive() const
{
    return activeQuery_ ? activeQuery_() : QApplication::activeWindow() == this;
}

bool frmMain::runFrame()
{
    if (!running_ || scene_->escapeDown())
        return false;
    const bool active = isMainWindowActive();
    if (active)
        guarded(QStringLiteral("RenderScreen"), [this] { RenderScreen(); });
    QApplication::processEvents();
    if (!active)
        QThread::msleep(5);   // nothing to draw: let the processor rest between passes
    return running_;
}

void frmMain::RenderScreen()
{
    if (!running_)
        return;
    scene_->beginFrame();
    for (int i = 0; i < kEmitterCount; ++i)
        if (emitterEnabled(i))
            factory(i).Render();
    scene_->present();
    ++renderedFrames_;
    updateEmettor(currentEmitter_);
    for (int i = 0; i < kEmitterCount; ++i)
        if (emitterEnabled(i))
            factory(i).Update();
    scene_->updateCamera(autoRotate_);
}

void frmMain::updateEmettor(int index)
{
    checkEmitterIndex(index);
    const auto u = std::size_t(index);
    ParticleSettings& particle = records_.particles[u];
    EmitterSettings& emitter = records_.emitters[u];
    emitter.Gravity = qint16(emitterPage_->gravity());
    emitter.Motion = qint16(emitterPage_->motion());
    particle.Color = records_.colours[u];
    particle.Velocity = emitterPage_->velocity();
    particle.TextureID = scene_->textureId(particlesPage_->currentTexture());
    particle.ColorRnd = particlesPage_->colours().constantRandomness() ? 1.0f : 0.0f;
    if (const std::optional<int> style = emitterPage_->style())
        emitter.Style = qint16(*style);
    applyEmitter(factory(index), particle, emitter);
}

void frmMain::updateVelocity()
{
    emitterPage_->readVelocity();
}

D3DVECTOR frmMain::velocityValues() const
{
    return emitterPage_->velocity();
}

void frmMain::shutdown()
{
    if (shutDown_)
        return;
    shutDown_ = true;
    running_ = false;
    for (auto& f : factories_)
        f.reset();
    scene_->release();
}

void frmMain::closeEvent(QCloseEvent* event)
{
    running_ = false;
    event->accept();
}

// ---- errors ----------------------------------------------------------------

void frmMain::logError(const QString& procedure, const platform::RuntimeError& error)
{
    scene_->log(QStringLiteral("Error : ") + procedure + QStringLiteral(" : #") + QString::number(error.number) +
                QStringLiteral(" : ") + error.description);
}

void frmMain::guarded(const QString& procedure, const std::function<void()>& action)
{
    platform::runCaught(action, [this, &procedure](const platform::RuntimeError& e) { logError(procedure, e); });
}

// ---- resize ------------------------------------------------------------------

void frmMain::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    applyResizeRules();
}

void frmMain::applyResizeRules()
{
    if (inResize_ || !client_)
        return;
    inResize_ = true;
    platform::StepByStep steps;
    const auto logged = [this, &steps](const std::function<void()>& step) {
        steps.clear();
        if (steps.step(step) != 0)
            logError(QStringLiteral("Form_Resize"),
                     platform::RuntimeError(steps.lastError(), steps.lastDescription()));
    };
    logged([this] {
        if (client_->width() < kMinWidth)
            resize(width() + kMinWidth - client_->width(), height());
    });
    logged([this] {
        if (client_->height() < kMinHeight)
            resize(width(), height() + kMinHeight - client_->height());
    });
    logged([this] {
        picture1_->setGeometry(kViewLeft, kViewTop, std::max(1, client_->width() - kViewLeft - 5),
                               std::max(1, client_->height() - kViewTop - 5));
    });
    logged([this] {
        if (scene_->initialised())
            scene_->resize();
    });
    inResize_ = false;
}

// ---- wiring the panel's parts to the records ----------------------------------

void frmMain::sliderWritten(QSlider* s)
{
    if (showing_ || currentEmitter_ < 0)
        return;
    const auto u = std::size_t(currentEmitter_);
    const SliderWrite written = writeSlider(s->objectName(), s->value(), records_.particles[u], records_.emitters[u]);
    if (written.velocityAxis >= 0)
        emitterPage_->setVelocityText(written.velocityAxis, platform::singleText(written.velocity));
    s->setToolTip(written.tip);
}

void frmMain::colourChannelEdited(int channel, float value)
{
    D3DCOLORVALUE& c = records_.colours[std::size_t(currentEmitter_)];
    (channel == 0 ? c.r : channel == 1 ? c.g : c.b) = value;
}

void frmMain::randomColourChosen(const D3DCOLORVALUE& colour)
{
    records_.particles[std::size_t(currentEmitter_)].Color = colour;
}

void frmMain::setEmitterEnabled(int index, bool on)
{
    selector_->setEmitterEnabled(index, on);
}

void frmMain::selectEmitter(int index)
{
    selector_->select(index);
}

void frmMain::alphaModeChosen(int mode)
{
    for (int i = 0; i < kEmitterCount; ++i)
        if (ParticleSystemPort* system = factory(i).Particle())
            system->SetAlphaBlendingMode(mode, 5, 2);
}

void frmMain::showEmitter(int index)
{
    checkEmitterIndex(index);
    const auto u = std::size_t(index);
    const ParticleSettings& p = records_.particles[u];
    const EmitterSettings& e = records_.emitters[u];
    // Filling the controls must not write them back, and a value no control
    // can show must not leave later edits unrecorded.
    const QScopedValueRollback<bool> filling(showing_, true);
    currentEmitter_ = index;   // the colour boxes below write into this emitter's colour
    records_.colours[u] = p.Color;
    particlesPage_->colours().showColour(p.Color);
    emitterPage_->showVelocity(p.Velocity);
    sliders_.show(p, e);
    try {
        particlesPage_->selectTexture(scene_->textureName(p.TextureID));
    } catch (...) {
        // an unknown texture leaves the list as it is
    }
    particlesPage_->colours().setConstantRandomness(platform::cint(p.ColorRnd) != 0);
    emitterPage_->setStyle(e.Style);
    emitterPage_->setMotion(e.Motion);
    selector_->markSelected(index);
}

void frmMain::menuReset()
{
    for (int i = 0; i < kEmitterCount; ++i) {
        const auto u = std::size_t(i);
        records_.particles[u] = resetParticleSettings();
        records_.colours[u] = {1, 1, 1, 1};
        particlesPage_->colours().setConstantRandomness(false);
        records_.emitters[u] = resetEmitterSettings(i);
        applyEmitter(factory(i), records_.particles[u], records_.emitters[u]);
    }
    currentEmitter_ = 0;
    showEmitter(0);
}

void frmMain::loadTex()
{
    const std::optional<QString> file = toolkit::dialogs::openFile(
        QStringLiteral("Emberly - Open File"), QStringLiteral("Particle Texture File (*.bmp;*.dds)|*.bmp;*.dds"));
    if (!file)
        return;
    frmKL_ColorKey keys(this);
    keys.exec();
    colorKey_ = keys.colorKey();
    scene_->loadCustomTexture(*file, colorKey_);
    particlesPage_->selectCustomTexture();
}

} // namespace emberly
