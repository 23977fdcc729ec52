#include "ui/Form1.h"
#include "ui/ColourGroupEditor.h"
#include "ui/FilesPanel.h"
#include "ui/Form2.h"
#include "ui/Form3.h"
#include "ui/Form4.h"
#include "ui/LightPanel.h"
#include "ui/ObjectsPanel.h"
#include "ui/PanelControls.h"
#include "ui/PreviewScene.h"
#include "ui/SettingsColumn.h"
#include "ui/frmAbout.h"

#include "core/EditingRules.h"
#include "core/MaterialFile.h"
#include "core/ObjectsList.h"

#include <QAction>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QCoreApplication>
#include <QMenuBar>
#include <QSlider>

#include <platform/RuntimeError.h>
#include <platform/TextRules.h>

namespace glazery {
namespace {

const QString kWindowTitle = QStringLiteral("Glazery V1.0");
constexpr int ClientWidth = 800; // pixels
constexpr int ClientHeight = 560;
constexpr int BottomHeight = 44;
constexpr int BottomButtonSize = 36;
const QColor BottomBarColour(64, 84, 128);
// The order in which the material groups reach the engine.
constexpr std::array<Group, 4> kEngineGroupOrder = {Group::Ambient, Group::Diffuse, Group::Emissive,
                                                    Group::Specular};

D3DCOLORVALUE previewColour(const ColourTexts& texts)
{
    return {previewComponent(texts.red), previewComponent(texts.green), previewComponent(texts.blue),
            previewComponent(texts.alpha)};
}

} // namespace

Form1::Form1(const QString& programFolder, QWidget* parent)
    : QMainWindow(parent)
    , scene_(std::make_unique<PreviewScene>(programFolder))
{
    setObjectName("Form1");
    setWindowTitle(kWindowTitle);
    auto* client = new QWidget(this);
    client->setObjectName("Form1Client");
    setCentralWidget(client);
    buildMenus();
    buildColumn(client);
    buildBottomBar(client);
    buildPreview(client);
    wireMaterialGroups();
    resize(ClientWidth, ClientHeight + menuBar()->sizeHint().height());
    column_->applyGeometry();
    client->installEventFilter(this);
}

Form1::~Form1()
{
    shutdown();
}

// ---- layout -----------------------------------------------------------------

void Form1::buildMenus()
{
    QMenu* file = menuBar()->addMenu(tr("&File"));
    file->setObjectName("mnuFile");
    auto add = [this](QMenu* menu, const char* name, const QString& caption, const QKeySequence& key,
                      void (Form1::*slot)()) {
        QAction* action = menu->addAction(caption);
        action->setObjectName(name);
        if (!key.isEmpty())
            action->setShortcut(key);
        connect(action, &QAction::triggered, this, slot);
        return action;
    };
    add(file, "mnuNew", tr("&New"), QKeySequence::New, &Form1::menuNew);
    add(file, "mnuLoad", tr("&Load"), QKeySequence::Open, &Form1::menuLoad);
    add(file, "mnuSave", tr("&Save"), QKeySequence::Save, &Form1::menuSave);
    file->addSeparator();
    add(file, "mnuExit", tr("E&xit"), QKeySequence(Qt::CTRL | Qt::Key_Q), &Form1::menuExit);

    QMenu* view = menuBar()->addMenu(tr("&View"));
    view->setObjectName("mnuView");
    autoSpin_ = view->addAction(tr("&Auto Spin"));
    autoSpin_->setObjectName("mnuAutoSpin");
    autoSpin_->setCheckable(true);
    autoSpin_->setChecked(true);
    autoSpin_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_T));

    QMenu* help = menuBar()->addMenu(tr("&Help"));
    help->setObjectName("mnuHelp");
    add(help, "GlazeryHelp", tr("&Using Glazery"), QKeySequence::HelpContents, &Form1::showHelp);
    add(help, "mnuAbout", tr("&About"), QKeySequence(), &Form1::showAbout);
}

void Form1::buildColumn(QWidget* client)
{
    column_ = new SettingsColumn(client, ClientHeight - BottomHeight - 8);
    struct MaterialPanel {
        const char* caption;
        const char* prefix;
        const char* swatchName;
        int height;
    };
    // In Group order; the alpha box of the diffuse group alone drags.
    const std::array<MaterialPanel, 4> materialPanels = {{{"Ambient", "A", "picAmb", 148},
                                                          {"Diffuse", "D", "PicDif", 148},
                                                          {"Specular", "S", "picSpec", 174},
                                                          {"Emissive", "E", "picEmi", 148}}};
    for (size_t g = 0; g < materialPanels.size(); ++g) {
        const MaterialPanel& spec = materialPanels[g];
        QWidget* panel = column_->addPanel(tr(spec.caption), spec.height);
        groups_[g] = ColourGroupEditor::materialGroup(panel, spec.prefix, spec.swatchName, dragTracker_,
                                                      static_cast<Group>(g) == Group::Diffuse);
        if (static_cast<Group>(g) == Group::Specular)
            buildPowerControls(panel);
    }
    files_ = new FilesPanel(column_->addPanel(tr("Files"), 168), *scene_);
    objects_ = new ObjectsPanel(column_->addPanel(tr("Objects"), 114), *scene_);
    connect(objects_, &ObjectsPanel::optionsRequested, this, &Form1::showObjectsOptions);
    light_ = new LightPanel(column_->addPanel(tr("Light"), 388), *scene_, dragTracker_);
    connect(light_, &LightPanel::defaultRequested, this, [this] { loadLightSettings(defaultMaterialPath()); });
}

void Form1::buildPowerControls(QWidget* panel)
{
    controls::label(panel, tr("Power"), 8, 151);
    power_ = controls::numberBox(panel, "Pow", "0", 56, 148, 44);
    powerSlider_ = controls::slider(panel, "VPow", Qt::Horizontal, 255, QRect(108, 149, 120, 18));
}

void Form1::buildBottomBar(QWidget* client)
{
    picBottom_ = new PictureBox(client, "picBottom");
    picBottom_->setGeometry(0, ClientHeight - BottomHeight, ClientWidth, BottomHeight);
    picBottom_->setBackColor(BottomBarColour);
    struct Spec {
        const char* name;
        QPixmap (*icon)(int);
        const char* tip;
        void (Form1::*action)();
    };
    const std::array<Spec, 4> specs = {{{"picButtonLoad", icons::load, "Load material", &Form1::menuLoad},
                                        {"picButtonSave", icons::save, "Save material", &Form1::menuSave},
                                        {"picButtonCode", icons::code, "Material settings in KL-Code", &Form1::showCode},
                                        {"picButtonQuit", icons::quit, "Quit", &Form1::menuExit}}};
    for (size_t k = 0; k < specs.size(); ++k) {
        auto* button = new PictureBox(picBottom_, specs[k].name);
        button->setGeometry(10 + static_cast<int>(k) * 44, 4, BottomButtonSize, BottomButtonSize);
        button->setPicture(specs[k].icon(BottomButtonSize));
        button->setToolTip(tr(specs[k].tip));
        button->setCursor(Qt::PointingHandCursor);
        connect(button, &PictureBox::clicked, this, specs[k].action);
        quitButton_ = button; // the last one
    }
}

void Form1::buildPreview(QWidget* client)
{
    picture1_ = new PictureBox(client, "Picture1");
    picture1_->setBackColor(Qt::black);
    picture1_->setGeometry(column_->x() + column_->width() + 4, 4, 526, 502);
    picture1_->setFocusPolicy(Qt::ClickFocus);
    // The engine renders into this window: it needs a native window of its own.
    picture1_->setAttribute(Qt::WA_NativeWindow);
    connect(picture1_, &PictureBox::mousePressed, this, [this] {
        viewDragActive_ = true;
        picture1_->setFocus(Qt::MouseFocusReason);
    });
    connect(picture1_, &PictureBox::mouseReleased, this, [this] { viewDragActive_ = false; });
}

void Form1::wireMaterialGroups()
{
    for (size_t g = 0; g < groups_.size(); ++g) {
        const auto group = static_cast<Group>(g);
        connect(groups_[g], &ColourGroupEditor::edited, this, [this, group] { applyGroup(group); });
    }
    connect(power_, &TextBox::lostFocus, this, &Form1::powerBoxLostFocus);
    power_->enableDragAdjust(dragTracker_, kColourDrag);
    connect(power_, &TextBox::mouseMoved, this, [this] { applyGroup(Group::Specular); });
    connect(powerSlider_, &QSlider::valueChanged, this, [this](int value) {
        power_->setText(QString::number(value));
        applyGroup(Group::Specular);
    });
}

bool Form1::eventFilter(QObject* watched, QEvent* event)
{
    // The client area is the central widget: its size is exact once the
    // window's layout has placed it.
    if (watched == centralWidget() && event->type() == QEvent::Resize)
        applyResizeRules();
    return QMainWindow::eventFilter(watched, event);
}

void Form1::applyResizeRules()
{
    if (inResize_ || !picture1_)
        return;
    inResize_ = true;
    QWidget* client = centralWidget();
    // 1. Minimum client area of 640 x 480 pixels.
    const Size wanted = minimumClientSize({client->width(), client->height()});
    if (wanted.width != client->width() || wanted.height != client->height())
        resize(width() + wanted.width - client->width(), height() + wanted.height - client->height());
    const int clientWidth = std::max(client->width(), wanted.width);
    const int clientHeight = std::max(client->height(), wanted.height);

    // 2. and 4. Preview size and the right-aligned quit button. The column sits
    // left of the preview, so the preview's offset beyond the column is its left
    // minus the column's width: the preview ends 10 pixels from the right edge.
    picBottom_->setGeometry(0, clientHeight - picBottom_->height(), clientWidth, picBottom_->height());
    ResizeInput in;
    in.client = {clientWidth, clientHeight};
    in.containerWidth = column_->width();
    in.picture1Left = picture1_->x() - column_->width();
    in.picture1Top = picture1_->y();
    in.bottomBarHeight = picBottom_->height();
    in.quitButtonWidth = quitButton_->width();
    const ResizeResult out = resizeLayout(in);
    picture1_->resize(out.picture1.width, out.picture1.height);
    quitButton_->move(out.quitButtonLeft, quitButton_->y());

    // 3. The engine follows the picture box.
    scene_->windowResized();
    // 5. A column shorter than its container rests at the top.
    column_->fitContainerHeight(clientHeight - picBottom_->height() - 8);
    // 6. The 2D background follows the Background box.
    scene_->setBackgroundPicture(files_->path(FilesPanel::Background));
    // 7. Scroll bar height from the window height, then the scroll ratio.
    column_->fitScrollbar(toTwips(frameGeometry().height()));
    inResize_ = false;
}

// ---- start-up, loop, shutdown -------------------------------------------------

bool Form1::load(bool runLoop, const QString& fileToOpen)
{
    // 1. Dialogs report Cancel to their callers; no scrolling yet.
    column_->setScrollingUp(false);
    column_->setScrollingDown(false);

    // 2. Light types with their Direct3D type as item data; row 0 selected.
    light_->fillLightTypes();

    // 3. Full panel heights were recorded while building; panels 0-5 collapse.
    for (int i = 0; i < SettingsColumn::PanelCount - 1; ++i)
        column_->headerMouseDown(i, Qt::LeftButton, 0);

    // 4.-18. Engine, scene, light, materials, textures, meshes, default
    // material; the window shows.
    if (!startEngine()) {
        shutdown();
        return false;
    }
    applyResizeRules();
    if (!fileToOpen.isEmpty())
        openFileAtStart(fileToOpen);
    if (!runLoop)
        return true;
    while (runFrame()) {
    }
    shutdown();
    return true;
}

bool Form1::startEngine()
{
    try {
        // 4.-7. Engine objects, the engine in the preview, scene and input; a
        // window that cannot be rendered into ends the program.
        if (!scene_->start(static_cast<std::uintptr_t>(picture1_->winId())))
            return false;
        startEngineObjects();
    } catch (const SceneError& error) {
        reportRuntimeError(error);
        return false;
    }
    // 15. Preview meshes.
    loadMeshes();
    // 16.-17. No drag yet; the default material.
    viewDragActive_ = false;
    menuNew();
    // 18. The window shows, the preview holding the keyboard focus.
    show();
    picture1_->setFocus(Qt::OtherFocusReason);
    return true;
}

void Form1::startEngineObjects()
{
    // 8. The test light "Lys".
    light_->createTestLight();
    // 9. The edited material and the background's white material.
    scene_->createMaterials();
    // 10. Code names start as "My_Mat", "My_matfact", "My_Light", "My_D3DLight8".
    codeNames_ = CodeNames{};
    // 11.-12. Sliders follow the boxes; the four groups reach the engine.
    slidersFromTexts();
    applyAllGroups();
    // 13. Textures.
    scene_->loadStartTextures();
    // 14. Background wall (kept hidden) and the 2D background picture.
    scene_->createBackground();
}

void Form1::loadMeshes()
{
    const ObjectsListReadResult list = readObjectsList(scene_->programFile(kObjectsListFileName));
    if (!list.error.isEmpty())
        dialogs::message(list.error + tr("\n\nGlazery starts with the default objects."),
                         dialogs::Icon::Exclamation, windowTitle());
    for (int i = 0; i < ObjectsPanel::ObjectCount; ++i) {
        objects_->setChoosable(i, i < list.objects.size());
        if (i < list.objects.size())
            objects_->setCaption(i, list.objects[i].description);
    }
    const QStringList failures = scene_->loadObjects(list.objects);
    scene_->centreObject();
    if (!failures.isEmpty())
        dialogs::message(objectsLoadFailureMessage(failures), dialogs::Icon::Exclamation, windowTitle());
}

bool Form1::pumpEvents()
{
    // Events may run any action, Shutdown included: stop as soon as it has.
    QCoreApplication::processEvents();
    return !shutDown_ && scene_->ready();
}

bool Form1::runFrame()
{
    if (!pumpEvents())
        return false;
    try {
        const ObjectSteering steering{viewDragActive_, autoSpin_->isChecked()};
        if (!scene_->renderFrame(steering, [this] { return pumpEvents(); }))
            return false;
        column_->scrollStep(scene_->frameTime());
        if (!pumpEvents())
            return false;
        return !scene_->escapeDown();
    } catch (const SceneError& error) {
        // A frame that cannot be drawn ends the program with the error shown.
        reportRuntimeError(error);
        return false;
    }
}

void Form1::reportRuntimeError(const platform::RuntimeError& error)
{
    dialogs::message(platform::uncaughtErrorMessage(error), dialogs::Icon::Critical, windowTitle());
}

void Form1::shutdown()
{
    if (shutDown_)
        return;
    shutDown_ = true;
    scene_->release();
    hide();
}

void Form1::closeEvent(QCloseEvent* event)
{
    shutdown();
    event->accept();
}

// ---- material editing -----------------------------------------------------------

ColourGroupEditor& Form1::editor(Group group)
{
    return *groups_.at(static_cast<size_t>(group));
}

void Form1::applyGroup(Group group)
{
    ColourGroupEditor& controls = editor(group);
    controls.showColour();
    scene_->setMaterialGroup(group, previewColour(controls.colourTexts()));
    if (group == Group::Specular)
        scene_->setMaterialPower(platform::csng(platform::val(power_->text())));
}

void Form1::applyAllGroups()
{
    for (const Group group : kEngineGroupOrder)
        applyGroup(group);
}

void Form1::powerBoxLostFocus()
{
    const int value = materialBoxValue(power_->text());
    power_->setText(QString::number(value));
    powerSlider_->setValue(value);
    applyGroup(Group::Specular);
}

void Form1::slidersFromTexts()
{
    for (ColourGroupEditor* group : groups_)
        group->slidersFromTexts();
    powerSlider_->setValue(materialBoxValue(power_->text()));
}

// ---- material files ---------------------------------------------------------------

QString Form1::defaultMaterialPath() const
{
    return scene_->programFile(kDefaultMaterialFileName);
}

MaterialSettings Form1::currentSettings() const
{
    MaterialSettings s;
    s.material.ambient = groups_[static_cast<size_t>(Group::Ambient)]->colourTexts();
    s.material.diffuse = groups_[static_cast<size_t>(Group::Diffuse)]->colourTexts();
    s.material.specular = groups_[static_cast<size_t>(Group::Specular)]->colourTexts();
    s.material.emissive = groups_[static_cast<size_t>(Group::Emissive)]->colourTexts();
    s.material.power = power_->text();
    s.backgroundPath = files_->path(FilesPanel::Background);
    s.texturePath = files_->path(FilesPanel::Texture);
    s.bumpMapPath = files_->path(FilesPanel::BumpMap);
    s.bumpMappingOff = files_->bumpMappingOff();
    s.sphereMapping = objects_->sphereMapping();
    s.lightOn = light_->lightOn();
    s.shownObject = scene_->shownObject();
    s.light = light_->texts();
    return s;
}

void Form1::menuNew()
{
    loadMaterialFile(defaultMaterialPath());
}

void Form1::menuLoad()
{
    const std::optional<QString> path = dialogs::openFile(kOpenMaterialTitle, kMaterialFileFilter);
    if (path)
        loadMaterialFile(*path);
}

void Form1::menuSave()
{
    const std::optional<QString> path = dialogs::saveFile(kSaveMaterialTitle, kMaterialFileFilter);
    if (path)
        saveMaterialFile(*path);
}

bool Form1::saveMaterialFile(const QString& path)
{
    const SaveResult result = writeMaterialFile(path, currentSettings());
    if (!result.ok)
        dialogs::message(kSaveFailedMessage, dialogs::Icon::None, windowTitle());
    return result.ok;
}

void Form1::openFileAtStart(const QString& path)
{
    const QFileInfo file(path);
    if (!file.isFile()) {
        dialogs::message(QStringLiteral("The material file %1 was not found.").arg(QDir::toNativeSeparators(path)),
                         dialogs::Icon::Exclamation, windowTitle());
        return;
    }
    loadMaterialFile(file.absoluteFilePath());
}

bool Form1::loadMaterialFile(const QString& path)
{
    const MaterialReadResult read = readMaterialFile(path);
    if (!read.settings) {
        // A file that cannot be used leaves every control as it was; say why.
        dialogs::message(read.error, dialogs::Icon::Exclamation, windowTitle());
        return false;
    }
    const MaterialSettings& m = *read.settings;
    platform::StepByStep steps;

    // 1. Material boxes as they stand.
    editor(Group::Ambient).setTexts(m.material.ambient);
    editor(Group::Diffuse).setTexts(m.material.diffuse);
    editor(Group::Emissive).setTexts(m.material.emissive);
    editor(Group::Specular).setTexts(m.material.specular);
    power_->setText(m.material.power);

    // 2.-4. Background, texture and bump map, or the defaults.
    files_->loadPictures(m, steps);

    // 5.-6. Bump and sphere mapping switches.
    steps.step([&] { files_->setBumpMapping(!m.bumpMappingOff); });
    steps.step([&] { objects_->setSphereMapping(m.sphereMapping); });

    // 7.-13. The light part.
    applyLightPart(m, steps);

    // 14. Sliders follow the boxes; the four groups reach the engine.
    steps.step([&] { slidersFromTexts(); });
    for (const Group group : kEngineGroupOrder)
        steps.step([&] { applyGroup(group); });
    return true;
}

void Form1::applyLightPart(const MaterialSettings& m, platform::StepByStep& steps)
{
    // Light on or off, the object on show, then the light's boxes and type row
    // (type, field enabling, light update), then the whole light from the boxes.
    steps.step([&] { light_->setLightOn(m.lightOn); });
    steps.step([&] { objects_->showObject(m.shownObject); });
    light_->setTexts(m.light);
    steps.step([&] { light_->rebuildTestLight(); });
}

void Form1::loadLightSettings(const QString& path)
{
    // A missing or short file leaves the light as it is.
    const MaterialReadResult read = readLightSettings(path);
    if (!read.settings)
        return;
    platform::StepByStep steps;
    applyLightPart(*read.settings, steps);
}

// ---- other windows ---------------------------------------------------------------

void Form1::menuExit()
{
    shutdown();
}

void Form1::showHelp()
{
    auto* help = new Form4(this);
    help->setAttribute(Qt::WA_DeleteOnClose);
    help->loadReadme(scene_->programFolder());
    help->show();
}

void Form1::showAbout()
{
    frmAbout about(this);
    about.exec();
}

void Form1::showCode()
{
    Form2 code(*this);
    code.createCode();
    code.exec();
}

void Form1::showObjectsOptions()
{
    Form3 objects(*this);
    objects.exec();
}

} // namespace glazery
