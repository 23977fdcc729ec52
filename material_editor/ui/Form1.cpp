// Main window: construction, start-up sequence, render loop, Shutdown and the
// menu actions that open other windows.
#include "ui/Form1.h"
#include "ui/Form2.h"
#include "ui/Form3.h"
#include "ui/Form4.h"
#include "ui/PreviewScene.h"
#include "ui/frmAbout.h"

#include "core/EditingRules.h"
#include "core/MaterialFile.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QFile>
#include <QKeyEvent>
#include <QMenuBar>
#include <QRadioButton>
#include <QSlider>

#include <platform/RuntimeError.h>

namespace glazery {

Form1::Form1(const QString& programFolder, QWidget* parent)
    : QMainWindow(parent)
    , scene_(std::make_unique<PreviewScene>(programFolder))
{
    setObjectName("Form1");
    setWindowTitle("Glazery V1.0");
    auto* client = new QWidget(this);
    client->setObjectName("Form1Client");
    setCentralWidget(client);
    buildMenus();
    buildColumn(client);
    buildBottomBar(client);

    picture1_ = new PictureBox(client, "Picture1");
    picture1_->setBackColor(Qt::black);
    picture1_->setGeometry(picContainer_->x() + picContainer_->width() + 4, 4, 526, 502);
    picture1_->setFocusPolicy(Qt::ClickFocus);
    // The engine renders into this window: it needs a native window of its own.
    picture1_->setAttribute(Qt::WA_NativeWindow);
    connect(picture1_, &PictureBox::mousePressed, this, [this] {
        viewDragActive_ = true;
        picture1_->setFocus(Qt::MouseFocusReason);
    });
    connect(picture1_, &PictureBox::mouseReleased, this, [this] { viewDragActive_ = false; });

    wireEditing();
    resize(800, 560 + menuBar()->sizeHint().height());
    applyColumnGeometry();
    client->installEventFilter(this);
}

Form1::~Form1()
{
    shutdown();
}

QString Form1::defaultMaterialPath() const
{
    return scene_->programFile(kDefaultMaterialFileName);
}

void Form1::setObjectCaption(int index, const QString& caption)
{
    optObjects_.at(static_cast<size_t>(index))->setText(caption);
}

QString Form1::objectCaption(int index) const
{
    return optObjects_.at(static_cast<size_t>(index))->text();
}

void Form1::setObjectChoosable(int index, bool on)
{
    optObjects_.at(static_cast<size_t>(index))->setEnabled(on);
}

bool Form1::load(bool runLoop)
{
    // 1. Dialogs report Cancel to their callers; no scrolling yet.
    scrollingUp_ = scrollingDown_ = false;

    // 2. Light types with their Direct3D type as item data; row 0 selected.
    cboTypeOfLight_->clear();
    for (int row = 0; row < kLightTypeRowCount; ++row)
        cboTypeOfLight_->addItem(kLightTypeCaptions[static_cast<size_t>(row)], lightTypeForRow(row));
    cboTypeOfLight_->setCurrentIndex(0);
    lightTypeClicked();

    // 3. Full panel heights were recorded while building; panels 0-5 collapse.
    for (int i = 0; i < PanelCount - 1; ++i)
        panelHeaderMouseDown(i, Qt::LeftButton, 0);

    // 4.-18. Engine, scene, light, materials, textures, meshes, default
    // material; the window shows.
    if (!startEngine()) {
        shutdown();
        return false;
    }
    applyResizeRules();
    if (!runLoop)
        return true;
    while (runFrame()) {
    }
    shutdown();
    return true;
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
        const ObjectSteering steering{viewDragActive_, mnuAutoSpin_->isChecked()};
        if (!scene_->renderFrame(steering, [this] { return pumpEvents(); }))
            return false;
        scrollStep(scene_->frameTime());
        if (!pumpEvents())
            return false;
        return !scene_->escapeDown();
    } catch (const SceneError& error) {
        // A frame that cannot be drawn ends the program with the error shown.
        dialogs::message(platform::uncaughtErrorMessage(error), dialogs::Icon::Critical, windowTitle());
        return false;
    }
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
