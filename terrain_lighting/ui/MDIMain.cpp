#include "ui/MDIMain.h"

#include "ui/FrmInfo.h"

#include "core/NumberInput.h"

#include <korlith3d/KLEngine.h>

#include <platform/Interaction.h>
#include <platform/Ui.h>

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QProgressBar>
#include <QScreen>
#include <QVBoxLayout>

#include <cstring>

namespace landlume {

MDIMain::MDIMain(QString programFolder) : programFolder_(std::move(programFolder))
{
    setObjectName(QStringLiteral("MDIMain"));
    setWindowTitle(kProgramTitle);
    buildLayout();

    EngineHooks hooks;
    hooks.setLightmapSize = [this](float w, float h) { setLightmapSize(w, h); };
    hooks.cameraTick = [this](bool ticked) { cameraItem_->setChecked(ticked); };
    hooks.showMeshInfo = [this](int slot) { showMeshInfo(slot); };
    engine_ = std::make_unique<MdEngine>(programFolder_, std::move(hooks));

    buildMenus();
    connectPanels();
    main_->setOptionsMenu(optionsMenu_);
    shadowMap_->picture()->setEffectsMenu(effectsMenu_);
    connect(shadowMap_->picture(), &LightmapPicture::sizeChanged, this, &MDIMain::fitLightmapWindow);
    main_->setResizeHandler([this] {
        if (engine_->started() && engine_->engine()) {
            int status = 0;
            engine_->engine()->Resize(status);
        }
    });
    // Wide enough for the 3D view and the lightmap window side by side, on
    // screens that have the room.
    QSize size(1600, 1000);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        size = size.boundedTo(screen->availableGeometry().size());
    resize(size);
}

void MDIMain::buildLayout()
{
    auto* central = new QWidget(this);
    auto* column = new QVBoxLayout(central);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    auto* row = new QHBoxLayout;
    row->setSpacing(0);
    landPanel_ = new LandPanel(central);
    objectPanel_ = new ObjectPanel(central);
    area_ = new QMdiArea(central);
    area_->setObjectName(QStringLiteral("MdiArea"));
    row->addWidget(landPanel_);
    row->addWidget(area_, 1);
    row->addWidget(objectPanel_);
    column->addLayout(row, 1);
    progress_ = new QProgressBar(central);
    progress_->setObjectName(QStringLiteral("Progress"));
    progress_->setTextVisible(false);
    progress_->setRange(0, 100);
    progress_->setValue(0);
    column->addWidget(progress_);
    setCentralWidget(central);

    main_ = new FrmMain(area_);
    shadowMap_ = new FrmShadowMap(area_);
    mainWindow_ = area_->addSubWindow(main_);
    shadowMapWindow_ = area_->addSubWindow(shadowMap_);
    for (QMdiSubWindow* child : {mainWindow_, shadowMapWindow_}) {
        // The child windows stay: closing them only hides nothing away.
        child->setWindowFlags(child->windowFlags() & ~Qt::WindowCloseButtonHint);
    }
}

MDIMain::~MDIMain() { shutdown(); }

QAction* MDIMain::menuItem(QMenu* menu, const QString& name, const QString& caption, const QKeySequence& shortcut)
{
    QAction* action = menu->addAction(caption);
    action->setObjectName(name);
    if (!shortcut.isEmpty())
        action->setShortcut(shortcut);
    return action;
}

void MDIMain::buildMenus()
{
    QMenu* file = menuBar()->addMenu(QStringLiteral("File"));
    file->setObjectName(QStringLiteral("mnuMenu"));
    connect(menuItem(file, QStringLiteral("mnuNew"), QStringLiteral("New scene"), QKeySequence(Qt::CTRL | Qt::Key_N)),
            &QAction::triggered, this, [this] { mapFiles_.newScene(); });
    file->addSeparator()->setObjectName(QStringLiteral("mnuDiv"));
    connect(menuItem(file, QStringLiteral("mnuOpen"), QStringLiteral("Open LDM"), QKeySequence(Qt::CTRL | Qt::Key_O)),
            &QAction::triggered, this, [this] { mapFiles_.openMap(); });
    connect(menuItem(file, QStringLiteral("mnuSave"), QStringLiteral("Save LDM"), QKeySequence(Qt::CTRL | Qt::Key_S)),
            &QAction::triggered, this, [this] { mapFiles_.saveMap(); });
    file->addSeparator()->setObjectName(QStringLiteral("mnuDiv1"));
    connect(menuItem(file, QStringLiteral("mnuExit"), QStringLiteral("Exit"), QKeySequence(Qt::CTRL | Qt::Key_X)),
            &QAction::triggered, this, &MDIMain::exitProgram);

    optionsMenu_ = menuBar()->addMenu(QStringLiteral("Options"));
    optionsMenu_->setObjectName(QStringLiteral("mnuOptions"));
    cameraItem_ = menuItem(optionsMenu_, QStringLiteral("mnuCamera"), QStringLiteral("Activate camera"),
                           QKeySequence(Qt::CTRL | Qt::Key_M));
    cameraItem_->setCheckable(true);
    connect(cameraItem_, &QAction::triggered, this, &MDIMain::toggleCamera);

    effectsMenu_ = menuBar()->addMenu(QStringLiteral("Lightmap effects"));
    effectsMenu_->setObjectName(QStringLiteral("mnuEffects"));
    const struct {
        const char* name;
        const char* caption;
        Qt::Key key;
        int number;
        int strength;
    } filters[] = {{"mnuSmooth", "Smooth", Qt::Key_F2, kFilterSmooth, 0},
                   {"mnuSharpen", "Sharpen", Qt::Key_F3, kFilterSharpen, 0},
                   {"mnuBrighter", "Brighten", Qt::Key_F4, kFilterBrightness, 10},
                   {"mnuDarker", "Darken", Qt::Key_F5, kFilterBrightness, -10}};
    for (const auto& filter : filters) {
        QAction* item = menuItem(effectsMenu_, QString::fromLatin1(filter.name), QString::fromLatin1(filter.caption),
                                 QKeySequence(filter.key));
        connect(item, &QAction::triggered, this, [this, number = filter.number, strength = filter.strength] {
            lightmap_.applyLightmapFilter(number, strength);
        });
    }

    QMenu* help = menuBar()->addMenu(QStringLiteral("Help"));
    help->setObjectName(QStringLiteral("mnuInfo"));
    connect(menuItem(help, QStringLiteral("mnuAbout"), QStringLiteral("About"), QKeySequence(Qt::Key_F1)),
            &QAction::triggered, this, &MDIMain::showAbout);
}

void MDIMain::connectPanels()
{
    const auto wire = [this](ShapeButton* button, auto action) { connect(button, &ShapeButton::clicked, this, action); };
    wire(landPanel_->loadHeight, [this] { landscape_.loadHeightmap(); });
    wire(landPanel_->applyLand, [this] { landscape_.applyLand(); });
    wire(landPanel_->applyShadow, [this] { lightmap_.applyShadow(); });
    wire(landPanel_->applyAlpha, [this] { lightmap_.applyAlpha(); });
    wire(landPanel_->generate, [this] { lightmap_.generateLightmap(); });
    wire(landPanel_->loadLight, [this] { lightmap_.loadLightmap(); });
    wire(landPanel_->removeLight, [this] { lightmap_.removeLightmap(); });
    wire(landPanel_->saveLightmap, [this] { lightmap_.saveLightmap(); });
    wire(landPanel_->saveCoords, [this] { lightmap_.saveCoordinates(); });
    wire(objectPanel_->loadObject, [this] { objects_.loadObject(); });
    wire(objectPanel_->applyObject, [this] { objects_.applyObject(); });
    wire(objectPanel_->applyLight, [this] { objects_.applyLight(); });
}

void MDIMain::arrangeChildren()
{
    const QSize area = area_->viewport()->size();
    const int lightmapWidth = shadowMapWindow_->width();
    const int mainWidth = std::max(320, area.width() - lightmapWidth - 4);
    mainWindow_->setGeometry(0, 0, mainWidth, std::max(240, std::min(area.height(), mainWidth * 3 / 4 + 30)));
    shadowMapWindow_->move(std::max(0, area.width() - lightmapWidth), 0);
}

bool MDIMain::load(bool runLoop, const QString& mapToOpen)
{
    show();
    mainWindow_->show();
    shadowMapWindow_->show();
    setLightmapSize(kDefaultLightmapSize, kDefaultLightmapSize);
    arrangeChildren();
    arranged_ = true;
    QApplication::processEvents();

    StartError error;
    if (!engine_->startEngine(std::uintptr_t(main_->winId()), error)) {
        engine_->stopEngine();
        platform::msgBox(error.message, platform::vbCritical, kProgramTitle);
        return false;
    }
    mainWindow_->show();
    main_->setFocus();
    if (!mapToOpen.isEmpty())
        mapFiles_.openMapAtStart(mapToOpen);
    if (!runLoop)
        return true;
    while (frame()) {
    }
    shutdown();
    return true;
}

bool MDIMain::frame()
{
    if (!engine_->started() || !engine_->settings().running)
        return false;
    engine_->runFrame([] { platform::doEvents(); });
    return engine_->settings().running;
}

void MDIMain::shutdown()
{
    engine_->stopEngine();
}

void MDIMain::closeEvent(QCloseEvent* event)
{
    // The close is refused: it ends the loop, and the shutdown after the loop
    // ends the program.
    event->ignore();
    engine_->settings().running = false;
}

void MDIMain::setLightmapSize(float width, float height)
{
    if (!legalLightmapSize(width, height)) {
        platform::msgBox(kIllegalLightmapSize, platform::vbExclamation, kInvalidSettingsTitle);
        return;
    }
    const int w = int(width);
    const int h = int(height);
    LightmapPicture* picture = shadowMap_->picture();
    if (picture->image().width() != w || picture->image().height() != h) {
        QImage resized(w, h, QImage::Format_RGB32);
        resized.fill(Qt::white);
        for (int y = 0; y < std::min(h, picture->image().height()); ++y)
            std::memcpy(resized.scanLine(y), picture->image().constScanLine(y),
                        std::size_t(std::min(w, picture->image().width())) * 4);
        picture->setPicture(resized);
    }
    fitLightmapWindow(QSize(w, h));
    engine_->settings().texWidth = width;
    engine_->settings().texHeight = height;
}

void MDIMain::fitLightmapWindow(QSize picture)
{
    shadowMap_->setFixedSize(picture);
    // The window's outer size: the picture + 90 twips across and + 370 down,
    // and never less than what shows the whole picture.
    const QSize frame = shadowMapWindow_->size() - shadowMapWindow_->contentsRect().size();
    const int outerW = std::max(picture.width() + platform::pixelsFromTwips(90), picture.width() + frame.width());
    const int outerH = std::max(picture.height() + platform::pixelsFromTwips(370), picture.height() + frame.height());
    shadowMapWindow_->resize(outerW, outerH);
    if (arranged_)
        shadowMapWindow_->move(std::max(0, area_->viewport()->width() - outerW), shadowMapWindow_->y());
}

void MDIMain::showLightmapWindow()
{
    shadowMapWindow_->show();
    area_->setActiveSubWindow(shadowMapWindow_);
    shadowMap_->setFocus();
}

void MDIMain::exitProgram() { engine_->settings().running = false; }

void MDIMain::toggleCamera()
{
    SceneSettings& s = engine_->settings();
    s.cameraActive = !s.cameraActive;
    cameraItem_->setChecked(s.cameraActive);
}

void MDIMain::showAbout()
{
    if (!info_)
        info_ = new FrmInfo(this);
    info_->show();
    info_->raise();
}

void MDIMain::showMeshInfo(int slot)
{
    if (slot < 0 || slot >= engine_->objectCount() + 1)
        return;
    objectPanel_->showObject(engine_->record(slot));
}

} // namespace landlume
