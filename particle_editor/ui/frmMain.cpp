#include "ui/frmMain.h"

#include "core/EmberlyRegistry.h"
#include "ui/EmberlyScene.h"
#include "ui/StyleIcons.h"
#include "ui/UpDown.h"
#include "ui/frmKL_ColorKey.h"

#include <korlith3d/KLEngine.h>

#include <platform/Interaction.h>
#include <platform/RuntimeError.h>
#include <platform/TextRules.h>
#include <toolkit/AboutWindow.h>
#include <toolkit/Controls.h>
#include <toolkit/Dialogs.h>
#include <toolkit/EngineStartup.h>
#include <toolkit/HelpWindow.h>

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QComboBox>
#include <QFile>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QSlider>
#include <QTabBar>
#include <QThread>
#include <QToolButton>

#include <cmath>

namespace emberly {

namespace {

constexpr int kPanelWidth = 252;
constexpr int kViewLeft = 256;
constexpr int kViewTop = 4;
constexpr int kMinWidth = 640;
constexpr int kMinHeight = 465;
const QPoint kPageOrigin(24, 8);   // page 0's place inside the tab area

QLabel* label(QWidget* parent, const QString& name, const QString& caption, QRect at)
{
    auto* l = new QLabel(caption, parent);
    l->setObjectName(name);
    l->setGeometry(at);
    return l;
}

QGroupBox* frame(QWidget* parent, const QString& name, const QString& caption, QRect at)
{
    auto* box = new QGroupBox(caption, parent);
    box->setObjectName(name);
    box->setGeometry(at);
    return box;
}

// Slider value as stored: the value through "###0.000" and back.
double formatted(double value, QString& text)
{
    text = platform::formatDouble(value, QStringLiteral("###0.000"));
    return platform::val(text);
}

} // namespace

frmMain::frmMain(const QString& programFolder, QWidget* parent)
    : QMainWindow(parent), scene_(std::make_unique<EmberlyScene>(programFolder))
{
    toolkit::registerEngineErrors();
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Emberly - v1.2"));
    client_ = new QWidget(this);
    client_->setObjectName(QStringLiteral("frmMainClient"));
    setCentralWidget(client_);
    buildMenus();
    panel_ = new QWidget(client_);
    panel_->setObjectName(QStringLiteral("picPanel"));
    panel_->setGeometry(0, 0, kPanelWidth, 460);
    buildSelector(panel_);
    buildTabs(panel_);
    picture1_ = new toolkit::PictureBox(client_, QStringLiteral("Picture1"));
    picture1_->setBackColor(Qt::black);
    picture1_->setAttribute(Qt::WA_NativeWindow);
    picture1_->setGeometry(kViewLeft, kViewTop, 540, 560);
    wireSliders();
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

void frmMain::buildSelector(QWidget* parent)
{
    QGroupBox* box = frame(parent, QStringLiteral("fraEmittors"), QStringLiteral("Emittors"), {6, 2, 240, 88});
    for (int i = 0; i < 3; ++i) {
        const auto u = std::size_t(i);
        chkPause_[u] = new QCheckBox(box);
        chkPause_[u]->setObjectName(QStringLiteral("chkPause_%1").arg(i));
        chkPause_[u]->setToolTip(QStringLiteral("Enables/Disables Emittor"));
        chkPause_[u]->setGeometry(14, 20 + i * 22, 20, 20);
        chkPause_[u]->setChecked(i == 0);
        optTotEmit_[u] = new QRadioButton(QStringLiteral("Emittor %1").arg(i + 1), box);
        optTotEmit_[u]->setObjectName(QStringLiteral("optTotEmit_%1").arg(i));
        optTotEmit_[u]->setToolTip(QStringLiteral("Click here to switch Emittors"));
        optTotEmit_[u]->setGeometry(40, 20 + i * 22, 120, 20);
        optTotEmit_[u]->setChecked(i == 0);
        optTotEmit_[u]->setEnabled(i == 0);
        connect(chkPause_[u], &QCheckBox::clicked, this,
                [this, i] { guarded("chkPause_Click", [this, i] { pauseClicked(i); }); });
        connect(optTotEmit_[u], &QRadioButton::clicked, this,
                [this, i] { guarded("optTotEmit_Click", [this, i] { selectEmitter(i); }); });
    }
}

void frmMain::buildTabs(QWidget* parent)
{
    tabStrip_ = new QTabBar(parent);
    tabStrip_->setObjectName(QStringLiteral("TabStrip1"));
    const char* const tabs[][2] = {{"Particles", "Changes Properties of Current Particles"},
                                   {"Emittor", "Changes Properties of Current Emittor"},
                                   {"Options", "Misc. Options"}};
    for (const auto& [caption, tip] : tabs) {
        const int index = tabStrip_->addTab(QString::fromLatin1(caption));
        tabStrip_->setTabToolTip(index, QString::fromLatin1(tip));
    }
    tabStrip_->setGeometry(6, 96, 240, 26);
    auto* area = new QFrame(parent);
    area->setObjectName(QStringLiteral("fraTabArea"));
    area->setFrameShape(QFrame::StyledPanel);
    area->setGeometry(6, 121, 240, 338);
    for (int i = 0; i < 3; ++i) {
        auto* page = new QFrame(area);
        page->setObjectName(QStringLiteral("Frame1_%1").arg(i));
        page->setAutoFillBackground(true);   // the page in front hides the others
        // Pages 1 and 2 are laid aside at design time; loading moves them onto page 0.
        page->setGeometry(kPageOrigin.x() - 20 + i * 260, kPageOrigin.y() - 6, 232, 330);
        pages_[std::size_t(i)] = page;
    }
    buildParticlesPage(pages_[0]);
    buildEmitterPage(pages_[1]);
    buildOptionsPage(pages_[2]);
    connect(tabStrip_, &QTabBar::currentChanged, this, [this](int index) {
        // The page of the selected tab's 1-based index minus 1 comes to the front.
        if (index >= 0 && index < 3)
            pages_[std::size_t(index)]->raise();
    });
}

QSlider* frmMain::addSlider(QWidget* parent, const QString& name, const QString& caption, int min, int max, int value,
                            QPoint at, int width)
{
    if (!caption.isEmpty())
        label(parent, QStringLiteral("lbl") + name.mid(3), caption, {at.x(), at.y(), 100, 20});
    auto* s = new QSlider(Qt::Horizontal, parent);
    s->setObjectName(name);
    s->setRange(min, max);
    s->setValue(value);
    s->setGeometry(at.x() + (caption.isEmpty() ? 0 : 100), at.y(), width - (caption.isEmpty() ? 0 : 100), 20);
    return s;
}

void frmMain::buildParticlesPage(QFrame* page)
{
    QGroupBox* colour = frame(page, QStringLiteral("fraColor"), QStringLiteral("Particle Color"), {2, 0, 226, 118});
    picker_ = new toolkit::PictureBox(colour, QStringLiteral("Picker"));
    picker_->setGeometry(8, 20, 72, 72);
    picker_->setPicture(pickerPicture({72, 72}));
    picker_->setCursor(Qt::CrossCursor);
    connect(picker_, &toolkit::PictureBox::mousePressed, this, [this](Qt::MouseButton button, QPoint pos) {
        if (button == Qt::LeftButton)
            pickColour(pos);
    });
    connect(picker_, &toolkit::PictureBox::mouseMoved, this, [this](Qt::MouseButtons buttons, QPoint pos) {
        if (buttons & Qt::LeftButton)
            pickColour(pos);
    });
    const char* const names[] = {"Red", "Green", "Blue"};
    for (int c = 0; c < 3; ++c) {
        const QString channel = QString::fromLatin1(names[c]);
        label(colour, QStringLiteral("lbl") + channel, channel.left(1), {88, 22 + c * 24, 12, 18});
        auto* box = new QLineEdit(QStringLiteral("255"), colour);
        box->setObjectName(QStringLiteral("txt") + channel);
        box->setGeometry(102, 20 + c * 24, 40, 21);
        box->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), box));
        box->installEventFilter(this);
        colourBoxes_[std::size_t(c)] = box;
        auto* ud = new UpDown(colour, QStringLiteral("ud") + channel, box, 0, 255);
        ud->setGeometry(143, 20 + c * 24, 16, 20);
        connect(box, &QLineEdit::textChanged, this,
                [this, c] { guarded("txtColor_Change", [this, c] { colourBoxChanged(c); }); });
    }
    auto* random = new QPushButton(QStringLiteral("Random"), colour);
    random->setObjectName(QStringLiteral("cmdRndColor"));
    random->setToolTip(QStringLiteral("Generates a Random Color"));
    random->setGeometry(164, 20, 56, 24);
    connect(random, &QPushButton::clicked, this, [this] { guarded("cmdRndColor_Click", [this] { randomColourClicked(); }); });
    chkRnd_ = new QCheckBox(QStringLiteral("Constant Randomness"), colour);
    chkRnd_->setObjectName(QStringLiteral("chkRnd"));
    chkRnd_->setGeometry(8, 94, 210, 20);

    label(page, QStringLiteral("lblTexture"), QStringLiteral("ParticleTexture"), {4, 124, 120, 18});
    cmbTex_ = new QComboBox(page);
    cmbTex_->setObjectName(QStringLiteral("cmbTex"));
    cmbTex_->addItems({QStringLiteral("Flake"), QStringLiteral("Flare"), QStringLiteral("Smoke"), QStringLiteral("Bubble")});
    cmbTex_->setGeometry(4, 142, 186, 24);
    auto* loadButton = new QPushButton(QStringLiteral("..."), page);
    loadButton->setObjectName(QStringLiteral("cmdLoadTex"));
    loadButton->setGeometry(194, 142, 32, 24);
    connect(loadButton, &QPushButton::clicked, this, [this] { guarded("loadTex", [this] { loadTex(); }); });

    addSlider(page, QStringLiteral("sldPartSize"), QStringLiteral("Particle Size"), 1, 32, 5, {4, 180}, 224);
    addSlider(page, QStringLiteral("sldPartLife"), QStringLiteral("Particle Life"), 1, 100, 20, {4, 208}, 224);
    addSlider(page, QStringLiteral("sldBounce"), QStringLiteral("Particle Bounce"), 0, 20, 3, {4, 236}, 224);
    addSlider(page, QStringLiteral("sldPartSpeed"), QStringLiteral("Particle Speed"), 1, 10, 3, {4, 264}, 224);
}

void frmMain::buildEmitterPage(QFrame* page)
{
    QGroupBox* motion = frame(page, QStringLiteral("fraMotion"), QStringLiteral("Emittor Motion"), {2, 0, 226, 120});
    label(motion, QStringLiteral("lblMotion"), QStringLiteral("Motion:"), {8, 22, 48, 20});
    cmbMotion_ = new QComboBox(motion);
    cmbMotion_->setObjectName(QStringLiteral("cmbMotion"));
    const char* const motions[] = {"Stationary", "Cycle 360", "Reverse 360", "Random Circle", "Random Cube",
                                   "Random Sphere", "Random Line"};
    for (int i = 0; i < 7; ++i)
        cmbMotion_->addItem(QString::fromLatin1(motions[i]), i);
    cmbMotion_->setGeometry(58, 20, 160, 24);
    const char* const axes[][3] = {{"sldMotionX", "X", "X Distance"},
                                   {"sldMotionY", "Y", "Y Distance"},
                                   {"sldMotionZ", "Z", "Z Distance"},
                                   {"sldMotionSpeed", "S", "Sets the speed of the Motion"}};
    for (int i = 0; i < 4; ++i) {
        label(motion, QStringLiteral("lblAxis_%1").arg(i), QString::fromLatin1(axes[i][1]), {10, 46 + i * 18, 14, 18});
        QSlider* s = addSlider(motion, QString::fromLatin1(axes[i][0]), {}, 0, i < 3 ? 30 : 100, i < 3 ? 5 : 50,
                               {28, 46 + i * 18}, 190);
        s->setToolTip(QString::fromLatin1(axes[i][2]));
    }

    QGroupBox* style = frame(page, QStringLiteral("fraStyle"), QStringLiteral("Emittor Style"), {2, 122, 226, 60});
    auto* styles = new QButtonGroup(this);
    const char* const tips[] = {"Beam", "Spray", "Burst", "Implode"};
    for (int i = 0; i < 4; ++i) {
        auto* b = new QToolButton(style);
        b->setObjectName(QStringLiteral("OptStyle_%1").arg(i));
        b->setToolTip(QString::fromLatin1(tips[i]));
        b->setCheckable(true);
        b->setIcon(styleIcon(i));
        b->setIconSize({36, 28});
        b->setGeometry(10 + i * 53, 20, 46, 36);
        styles->addButton(b, i);
        optStyle_[std::size_t(i)] = b;
    }
    optStyle_[1]->setChecked(true);

    QGroupBox* velocity =
        frame(page, QStringLiteral("fraVelocity"), QStringLiteral("Emittor Velocity"), {2, 184, 226, 78});
    const char* const rot[] = {"X", "Y", "Z"};
    for (int i = 0; i < 3; ++i) {
        auto* box = new QLineEdit(QStringLiteral("0"), velocity);
        box->setObjectName(QStringLiteral("txtRot") + QString::fromLatin1(rot[i]));
        box->setGeometry(8, 18 + i * 19, 48, 18);
        velocityBoxes_[std::size_t(i)] = box;
        connect(box, &QLineEdit::textChanged, this, [this] { guarded("txtRot_Change", [this] { updateVelocity(); }); });
        addSlider(velocity, QStringLiteral("sldRot") + QString::fromLatin1(rot[i]), {}, -50, 50, 0,
                  {62, 18 + i * 19}, 156);
    }
    addSlider(page, QStringLiteral("sldPartPower"), QStringLiteral("Emittor Power"), 1, 50, 10, {4, 266}, 224)
        ->setToolTip(QStringLiteral("Sets the velocity of the particles."));
    addSlider(page, QStringLiteral("sldEmitSpeed"), QStringLiteral("Emittor Speed"), 1, 50, 5, {4, 288}, 224);
    addSlider(page, QStringLiteral("sldGravity"), QStringLiteral("Emittor Gravity"), -10, 10, 2, {4, 310}, 224);
}

void frmMain::buildOptionsPage(QFrame* page)
{
    chkIntro_ = new QCheckBox(QStringLiteral("Show Intro"), page);
    chkIntro_->setObjectName(QStringLiteral("chkIntro"));
    chkIntro_->setGeometry(8, 6, 200, 20);
    connect(chkIntro_, &QCheckBox::clicked, this, [this](bool on) {
        writeSetting(kShowIntroValue, on ? QStringLiteral("1") : QStringLiteral("0"));
    });
    chkViewRotate_ = new QCheckBox(QStringLiteral("View Auto-Rotate"), page);
    chkViewRotate_->setObjectName(QStringLiteral("chkViewRotate"));
    chkViewRotate_->setGeometry(8, 30, 200, 20);
    connect(chkViewRotate_, &QCheckBox::clicked, this, [this](bool on) {
        autoRotate_ = !autoRotate_;
        writeSetting(kAutoRotateValue, on ? QStringLiteral("1") : QStringLiteral("0"));
    });
    QGroupBox* alpha =
        frame(page, QStringLiteral("SetAlphaBlendingMode"), QString(), {2, 58, 226, 106});
    label(alpha, QStringLiteral("lblAlpha"), QStringLiteral("Set AlphaBlending Mode"), {8, 18, 200, 18});
    const char* const modes[] = {"KL_CHANGE_ALPHA", "KL_CHANGE_COLOR", "KL_CHANGE_NO"};
    for (int i = 1; i <= 3; ++i) {
        auto* b = new QRadioButton(QString::fromLatin1(modes[i - 1]), alpha);
        b->setObjectName(QStringLiteral("optAlpha_%1").arg(i));
        b->setGeometry(12, 18 + i * 21, 200, 20);
        b->setChecked(i == 1);
        optAlpha_[std::size_t(i - 1)] = b;
        connect(b, &QRadioButton::clicked, this, [this, i] { guarded("optAlpha_Click", [this, i] { alphaClicked(i); }); });
    }
    auto* sky = new QWidget(page);
    sky->setObjectName(QStringLiteral("fraSky"));
    sky->setGeometry(2, 170, 226, 70);
    label(sky, QStringLiteral("lblBackground"), QStringLiteral("Background"), {8, 2, 200, 18});
    const char* const skies[] = {"Mountains", "Grid"};
    for (int i = 0; i < 2; ++i) {
        auto* b = new QRadioButton(QString::fromLatin1(skies[i]), sky);
        b->setObjectName(QStringLiteral("optSky_%1").arg(i));
        b->setGeometry(12, 22 + i * 21, 200, 20);
        b->setChecked(i == 0);
        optSky_[std::size_t(i)] = b;
        connect(b, &QRadioButton::clicked, this, [this, i] { guarded("optSky_Click", [this, i] { skyClicked(i); }); });
    }
}

void frmMain::wireSliders()
{
    for (QSlider* s : findChildren<QSlider*>()) {
        const auto write = [this, s] { guarded(s->objectName() + QStringLiteral("_Scroll"), [this, s] { sliderWritten(s); }); };
        connect(s, &QSlider::valueChanged, this, write);
    }
}

QSlider* frmMain::slider(const QString& name) const
{
    return findChild<QSlider*>(name);
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

bool frmMain::load(bool runLoop)
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
    cmbTex_->setCurrentIndex(0);                                          // 10
    chkIntro_->setChecked(readFlag(kShowIntroValue));
    for (int i = 0; i < kEmitterCount; ++i)                               // 11
        setupParticles(i);
    currentEmitter_ = 0;                                                  // 12
    cmbMotion_->setCurrentIndex(0);
    layOutPages();                                                        // 13
    applyResizeRules();
    if (runLoop) {
        while (runFrame()) {
        }
        shutdown();
    }
    return true;
}

void frmMain::layOutPages()
{
    const QPoint origin = pages_[0]->pos();
    pages_[1]->move(origin);
    pages_[2]->move(origin);
    pages_[0]->raise();
}

void frmMain::setupParticles(int index)
{
    checkEmitterIndex(index);
    const auto u = std::size_t(index);
    ParticleSettings particle;
    particle.TextureID = scene_->textureId(cmbTex_->itemText(0));
    particle.ColorRnd = chkRnd_->isChecked() ? 1.0f : 0.0f;
    particle.Velocity = {float(platform::val(velocityBoxes_[0]->text())), float(platform::val(velocityBoxes_[1]->text())),
                         float(platform::val(velocityBoxes_[2]->text()))};
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
    return chkPause_[std::size_t(index)]->isChecked();
}

bool frmMain::onlyBuiltInTextures() const
{
    return cmbTex_->count() == 4;
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
    emitter.Gravity = qint16(slider(QStringLiteral("sldGravity"))->value());
    emitter.Motion = qint16(cmbMotion_->currentData().toInt());
    particle.Color = records_.colours[u];
    particle.Velocity = {velocityX_, velocityY_, velocityZ_};
    particle.TextureID = scene_->textureId(cmbTex_->currentText());
    particle.ColorRnd = chkRnd_->isChecked() ? 1.0f : 0.0f;
    for (int s = 0; s < 4; ++s)
        if (optStyle_[std::size_t(s)]->isChecked())
            emitter.Style = qint16(s);
    applyEmitter(factory(index), particle, emitter);
}

void frmMain::updateVelocity()
{
    // A box that holds no number counts as 0.
    velocityX_ = float(platform::val(velocityBoxes_[0]->text()));
    velocityY_ = float(platform::val(velocityBoxes_[1]->text()));
    velocityZ_ = float(platform::val(velocityBoxes_[2]->text()));
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

// ---- controls ------------------------------------------------------------------

void frmMain::sliderWritten(QSlider* s)
{
    if (showing_ || currentEmitter_ < 0)
        return;
    const QString name = s->objectName();
    const auto u = std::size_t(currentEmitter_);
    ParticleSettings& particle = records_.particles[u];
    EmitterSettings& emitter = records_.emitters[u];
    const double v = s->value();
    QString tip;
    if (name == QLatin1String("sldPartSize"))
        particle.Size = platform::cint(formatted(v, tip));
    else if (name == QLatin1String("sldPartLife"))
        particle.Life = float(formatted(v / 10, tip));
    else if (name == QLatin1String("sldPartSpeed"))
        particle.Speed = float(formatted(v / 100, tip));
    else if (name == QLatin1String("sldBounce"))
        emitter.Bounce = float(formatted(v / 10, tip));
    else if (name == QLatin1String("sldPartPower"))
        emitter.Power = float(formatted(v / 10, tip));
    else if (name == QLatin1String("sldEmitSpeed"))
        emitter.EmittorSpeed = float(formatted(v, tip));
    else if (name == QLatin1String("sldMotionSpeed"))
        emitter.MotionSpeed = float(formatted(v / 100, tip));
    else if (name.startsWith(QLatin1String("sldMotion"))) {
        const int axis = name.back().toLatin1() - 'X';
        float& d = axis == 0 ? emitter.Distance.x : axis == 1 ? emitter.Distance.y : emitter.Distance.z;
        d = float(v);
        tip = QString::number(int(v));
    } else if (name.startsWith(QLatin1String("sldRot"))) {
        const int axis = name.back().toLatin1() - 'X';
        const float value = float(formatted(v / 10, tip));
        velocityBoxes_[std::size_t(axis)]->setText(platform::singleText(value));
    } else if (name == QLatin1String("sldGravity"))
        formatted(v, tip);
    s->setToolTip(tip);
}

void frmMain::setSliderValue(const QString& name, double value)
{
    slider(name)->setValue(int(platform::cint(value)));
}

void frmMain::colourBoxChanged(int channel)
{
    QLineEdit* box = colourBoxes_[std::size_t(channel)];
    // An emptied box counts as 0 and leaves the record until a digit comes back.
    if (box->text().isEmpty())
        return;
    const double value = platform::cint(platform::val(box->text()));
    if (value < 0) {
        box->setText(QStringLiteral("0"));
        return;
    }
    if (value > 255) {
        box->setText(QStringLiteral("255"));
        return;
    }
    D3DCOLORVALUE& c = records_.colours[std::size_t(currentEmitter_)];
    (channel == 0 ? c.r : channel == 1 ? c.g : c.b) = float(value / 255.0);
}

void frmMain::colourBoxClicked(int channel)
{
    for (int other = 0; other < 3; ++other)
        if (other != channel && colourBoxes_[std::size_t(other)]->text().isEmpty())
            colourBoxes_[std::size_t(other)]->setText(QStringLiteral("0"));
}

bool frmMain::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonPress)
        for (int c = 0; c < 3; ++c)
            if (watched == colourBoxes_[std::size_t(c)])
                colourBoxClicked(c);
    return QMainWindow::eventFilter(watched, event);
}

void frmMain::pickColour(QPoint pos)
{
    const QImage image = picker_->picture().toImage();
    if (image.isNull() || !image.rect().contains(pos))
        return;
    const QColor colour = image.pixelColor(pos);
    colourBoxes_[0]->setText(QString::number(colour.red()));
    colourBoxes_[1]->setText(QString::number(colour.green()));
    colourBoxes_[2]->setText(QString::number(colour.blue()));
}

void frmMain::randomColourClicked()
{
    thread_local ClockSeededRandom rnd;
    int values[3];
    for (int c = 0; c < 3; ++c) {
        values[c] = int(std::floor(rnd.next() * 256.0f));
        colourBoxes_[std::size_t(c)]->setText(QString::number(values[c]));
    }
    records_.particles[std::size_t(currentEmitter_)].Color = {float(values[0]) / 255.0f, float(values[1]) / 255.0f,
                                                             float(values[2]) / 255.0f, 1.0f};
}

void frmMain::pauseClicked(int index)
{
    const auto u = std::size_t(index);
    if (chkPause_[u]->isChecked()) {
        optTotEmit_[u]->setEnabled(true);
        selectEmitter(index);
        return;
    }
    optTotEmit_[u]->setEnabled(false);
    if (optTotEmit_[u]->isChecked())
        for (int j = 0; j < kEmitterCount; ++j)
            if (chkPause_[std::size_t(j)]->isChecked())
                selectEmitter(j);
}

void frmMain::setEmitterEnabled(int index, bool on)
{
    checkEmitterIndex(index);
    chkPause_[std::size_t(index)]->setChecked(on);
    pauseClicked(index);
}

void frmMain::selectEmitter(int index)
{
    checkEmitterIndex(index);
    optTotEmit_[std::size_t(index)]->setChecked(true);
    currentEmitter_ = index;
    showEmitter(index);
}

void frmMain::alphaClicked(int mode)
{
    for (int i = 0; i < kEmitterCount; ++i)
        if (ParticleSystemPort* system = factory(i).Particle())
            system->SetAlphaBlendingMode(mode, 5, 2);
}

void frmMain::skyClicked(int index)
{
    scene_->setSkyBox(index == 1);
}

void frmMain::showEmitter(int index)
{
    checkEmitterIndex(index);
    const auto u = std::size_t(index);
    const ParticleSettings& p = records_.particles[u];
    const EmitterSettings& e = records_.emitters[u];
    showing_ = true;
    currentEmitter_ = index;   // the colour boxes below write into this emitter's colour
    setSliderValue(QStringLiteral("sldPartSize"), p.Size);
    records_.colours[u] = p.Color;
    colourBoxes_[0]->setText(platform::singleText(p.Color.r * 255.0f));
    colourBoxes_[1]->setText(platform::singleText(p.Color.g * 255.0f));
    colourBoxes_[2]->setText(platform::singleText(p.Color.b * 255.0f));
    setSliderValue(QStringLiteral("sldPartLife"), double(p.Life) * 10);
    setSliderValue(QStringLiteral("sldPartSpeed"), double(p.Speed) * 100);
    velocityBoxes_[0]->setText(platform::singleText(p.Velocity.x));
    velocityBoxes_[1]->setText(platform::singleText(p.Velocity.y));
    velocityBoxes_[2]->setText(platform::singleText(p.Velocity.z));
    setSliderValue(QStringLiteral("sldRotX"), double(p.Velocity.x) * 10);
    setSliderValue(QStringLiteral("sldRotY"), double(p.Velocity.y) * 10);
    setSliderValue(QStringLiteral("sldRotZ"), double(p.Velocity.z) * 10);
    try {
        const int found = cmbTex_->findText(scene_->textureName(p.TextureID));
        if (found >= 0)
            cmbTex_->setCurrentIndex(found);
    } catch (...) {
        // an unknown texture leaves the list as it is
    }
    chkRnd_->setChecked(platform::cint(p.ColorRnd) != 0);
    setSliderValue(QStringLiteral("sldBounce"), double(e.Bounce) * 10);
    setSliderValue(QStringLiteral("sldGravity"), e.Gravity);
    setSliderValue(QStringLiteral("sldPartPower"), double(e.Power) * 10);
    setSliderValue(QStringLiteral("sldEmitSpeed"), e.EmittorSpeed);
    if (e.Style >= 0 && e.Style < 4)
        optStyle_[std::size_t(e.Style)]->setChecked(true);
    if (e.Motion >= 0 && e.Motion < cmbMotion_->count())
        cmbMotion_->setCurrentIndex(e.Motion);
    setSliderValue(QStringLiteral("sldMotionSpeed"), double(e.MotionSpeed) * 100);
    setSliderValue(QStringLiteral("sldMotionX"), e.Distance.x);
    setSliderValue(QStringLiteral("sldMotionY"), e.Distance.y);
    setSliderValue(QStringLiteral("sldMotionZ"), e.Distance.z);
    optTotEmit_[u]->setChecked(true);
    showing_ = false;
}

void frmMain::menuReset()
{
    for (int i = 0; i < kEmitterCount; ++i) {
        const auto u = std::size_t(i);
        records_.particles[u] = resetParticleSettings();
        records_.colours[u] = {1, 1, 1, 1};
        chkRnd_->setChecked(false);
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
    const QString custom = QStringLiteral("Custom");
    // One "Custom" entry at most, however often a texture is loaded.
    if (cmbTex_->findText(custom) < 0)
        cmbTex_->addItem(custom);
    cmbTex_->setCurrentIndex(cmbTex_->findText(custom));
}

} // namespace emberly
