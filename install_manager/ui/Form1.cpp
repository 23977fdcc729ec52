#include "ui/Form1.h"

#include "ui/Form2.h"
#include "ui/Form3.h"
#include "ui/Logo.h"

#include "core/DirectXCheck.h"
#include "core/UtilityLibrary.h"
#include "core/VersionStrings.h"

#include <platform/FileSystem.h>
#include <platform/Interaction.h>
#include <platform/Paths.h>
#include <platform/Process.h>
#include <platform/Registry.h>
#include <platform/RuntimeError.h>
#include <platform/Ui.h>

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFrame>
#include <QLabel>
#include <QPushButton>

namespace stewardex {

namespace {

const QString StartRender = QString::fromLatin1(StartRenderText);
const QString StopRender = QString::fromLatin1(StopRenderText);

QLabel* addLabel(QWidget* parent, const char* name, const QString& text, const QRect& geometry)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(geometry);
    return label;
}

QPushButton* addButton(QWidget* parent, const char* name, const char* text, const QRect& geometry)
{
    auto* button = new QPushButton(QString::fromLatin1(text), parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(geometry);
    return button;
}

QFrame* addPanel(QWidget* parent, const char* name, const QRect& geometry)
{
    auto* panel = new QFrame(parent);
    panel->setObjectName(QString::fromLatin1(name));
    panel->setFrameShape(QFrame::StyledPanel);
    panel->setFrameShadow(QFrame::Sunken);
    panel->setGeometry(geometry);
    return panel;
}

void setTextColour(QLabel* label, const QColor& colour)
{
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
}

// A step that needs the engine object fails as a call on no object does.
platform::DispatchObject& held(std::optional<platform::DispatchObject>& engine)
{
    if (!engine)
        throw platform::RuntimeError(platform::err::ObjectNotSet);
    return *engine;
}

} // namespace

Form1::Form1(const QString& programFolder, QWidget* parent)
    : QWidget(parent), programFolder_(programFolder), programEnd_([] { QCoreApplication::exit(0); })
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Korlith3D Manager v1.0"));
    setFixedSize(480, 540);

    auto* picture1 = addLabel(this, "Picture1", {}, {0, 0, 480, 64});
    picture1->setPixmap(logoPicture(programFolder_, 480, 64));

    QFrame* picture2 = addPanel(this, "Picture2", {8, 72, 464, 132});
    addLabel(picture2, "Label4", QStringLiteral("Info about the DLLs :"), {8, 4, 440, 18})
        ->setStyleSheet(QStringLiteral("font-weight: bold"));
    addLabel(picture2, "Label11", QStringLiteral("KL3D DLL:"), {8, 26, 80, 18});
    label9_ = addLabel(picture2, "Label9", QStringLiteral("File used : "), {90, 26, 366, 18});
    label10_ = addLabel(picture2, "Label10", QStringLiteral("Version : "), {90, 44, 366, 18});
    addLabel(picture2, "Label5", QStringLiteral("KLUTIL DLL:"), {8, 70, 80, 18});
    label6_ = addLabel(picture2, "Label6", QStringLiteral("File used : "), {90, 70, 366, 18});
    label7_ = addLabel(picture2, "Label7", QStringLiteral("Version : "), {90, 88, 366, 18});
    addLabel(picture2, "Label8", QStringLiteral("(should be in <winsys> directory)"), {90, 106, 366, 18});

    QFrame* picture3 = addPanel(this, "Picture3", {8, 212, 464, 72});
    addLabel(picture3, "Label13", QStringLiteral("Info about DirectX and your 3D card :"), {8, 4, 440, 18})
        ->setStyleSheet(QStringLiteral("font-weight: bold"));
    addLabel(picture3, "Label15", QStringLiteral("DirectX Version :"), {8, 26, 120, 18});
    label16_ = addLabel(picture3, "Label16", {}, {130, 26, 326, 18});
    addLabel(picture3, "Label17", QStringLiteral("Card/Driver name :"), {8, 46, 120, 18});
    label18_ = addLabel(picture3, "Label18", {}, {130, 46, 326, 18});

    // The engine draws into this panel's own native window.
    viewTest_ = new QWidget(this);
    viewTest_->setObjectName(QStringLiteral("ViewTest"));
    viewTest_->setGeometry(8, 292, 320, 240);
    viewTest_->setAttribute(Qt::WA_NativeWindow);
    viewTest_->setAutoFillBackground(true);
    QPalette black = viewTest_->palette();
    black.setColor(QPalette::Window, Qt::black);
    viewTest_->setPalette(black);
    label14_ = addLabel(viewTest_, "Label14",
                        QStringLiteral("Couldn't initialize engine, check the Info about DLLs section"),
                        {16, 80, 288, 80});
    label14_->setWordWrap(true);
    label14_->setAlignment(Qt::AlignCenter);
    setTextColour(label14_, Qt::white);

    auto* command3 = addButton(this, "Command3", "Search for DLLs", {340, 292, 132, 32});
    command5_ = addButton(this, "Command5", StartRenderText, {340, 332, 132, 32});
    command4_ = addButton(this, "Command4", "View Debug file", {340, 372, 132, 32});
    auto* command2 = addButton(this, "Command2", "Check new versions", {340, 412, 132, 32});
    auto* command1 = addButton(this, "Command1", "Quit", {340, 500, 132, 32});

    connect(command3, &QPushButton::clicked, this, &Form1::showSearchWindow);
    connect(command5_, &QPushButton::clicked, this, &Form1::toggleRender);
    connect(command4_, &QPushButton::clicked, this, &Form1::viewDebugFile);
    connect(command2, &QPushButton::clicked, this, &Form1::showVersionWindow);
    connect(command1, &QPushButton::clicked, this, &QWidget::close);
}

Form1::~Form1() = default;

void Form1::load()
{
    RenderIt(0);
    show();
    checkDirectX();
    DoGlobalInitFirstTime();
}

QString Form1::debugFile() const
{
    return platform::joinPath(programFolder_, QStringLiteral("debug.txt"));
}

void Form1::Getklutil63Version()
{
    const std::optional<QString> path = callGetPathDLL(programFolder_);
    label6_->setText(path ? QStringLiteral("File used : ") + *path
                          : QStringLiteral("File used : Not correct version of klutil63.dll !"));
    const VersionStrings version = ReadVersionStrings(path.value_or(QString()));
    label7_->setText(QStringLiteral("Version : ") + utilityVersionText(version.FileVersion));
}

void Form1::GetKLVersion() { engineCheck(CheckVariant::Render); }
void Form1::GetKLVersion2() { engineCheck(CheckVariant::AfterRegistration); }
void Form1::GetKLVersionFirstTime() { engineCheck(CheckVariant::FirstTime); }

void Form1::DoGlobalInit()
{
    Getklutil63Version();
    GetKLVersion();
}

void Form1::DoGlobalInit2()
{
    Getklutil63Version();
    GetKLVersion2();
}

void Form1::DoGlobalInitFirstTime()
{
    Getklutil63Version();
    GetKLVersionFirstTime();
}

void Form1::engineCheck(CheckVariant variant)
{
    platform::StepByStep steps;
    steps.clear();
    steps.step([this] { engine_.emplace(platform::createObject(QString::fromLatin1(EngineProgId))); });
    if (variant == CheckVariant::Render && !engine_) {
        label9_->setText(QStringLiteral("File used : Unable to initialize"));
        return;
    }
    if (steps.lastError() == platform::err::CantCreateObject) {
        RenderIt(0);
        platform::msgBox(QStringLiteral("A correct Korlith3D.Dll is not registered.\r\nYou should use the \"Search "
                                        "DLL\" option in this program and register Korlith3D correctly."),
                         platform::vbInformation, QStringLiteral("Stewardex Information"));
        label9_->setText(QStringLiteral("File used : No file, bad registration"));
        return;
    }
    if (steps.lastError() == platform::err::NoAutomationInterface) {
        RenderIt(0);
        platform::msgBox(QStringLiteral("There was a problem with registration ! Try to reregister the files."),
                         platform::vbOKOnly, QStringLiteral("Stewardex"));
        label9_->setText(QStringLiteral("File used : No file, bad registration"));
        return;
    }
    QString path;
    const int pathError = steps.step([this, &path] { path = held(engine_).invoke(QStringLiteral("GetDLLPath")).toString(); });
    label9_->setText(pathError == 0 ? QStringLiteral("File used : ") + path
                                    : QStringLiteral("Not Correct version of Korlith3D.dll !"));
    label10_->setText(QStringLiteral("Version : ") + ReadVersionStrings(path).FileVersion);
    engine_.reset();
    if (variant == CheckVariant::Render)
        InitEngine();
    else if (variant == CheckVariant::FirstTime)
        InitEngineFirstTime();
}

void Form1::InitEngine() { initEngine(false); }
void Form1::InitEngineFirstTime() { initEngine(true); }

void Form1::initEngine(bool firstTime)
{
    platform::StepByStep steps;
    steps.clear();
    steps.step([this] { engine_.emplace(platform::createObject(QString::fromLatin1(EngineProgId))); });
    steps.step([this] { held(engine_).invoke(QStringLiteral("SetDebugFile"), {debugFile()}); });
    steps.step([this] {
        const auto window = static_cast<qulonglong>(viewTest_->winId());
        held(engine_).invoke(QStringLiteral("Init3DWindowedMode"), {window});
    });
    steps.step([this] { held(engine_).set(QStringLiteral("DisplayFPS"), true); });
    if (firstTime) {
        RenderIt(0);
        label14_->setText(QStringLiteral("Please click 'Start Render' to render a empty screen."));
        return;
    }
    label14_->hide();
    RenderIt(-1);
}

bool Form1::renderTestRunning() const
{
    return !ending_ && command5_->text() == StopRender;
}

void Form1::RenderIt(int enabled)
{
    if (enabled == 0) {
        command5_->setText(StartRender);
        command4_->setEnabled(true);
        engine_.reset();
        return;
    }
    command5_->setText(StopRender);
    command4_->setEnabled(false);
    // Every other action of the window runs between two frames, inside the
    // event pump; a stop only changes the caption, noticed here.
    platform::StepByStep steps;
    while (renderTestRunning()) {
        steps.step([this] { held(engine_).invoke(QStringLiteral("Clear")); });
        platform::doEvents();
        if (!renderTestRunning())
            break;
        if (steps.step([this] { held(engine_).invoke(QStringLiteral("RenderToScreen")); }) == 0)
            ++framesRendered_;
    }
}

void Form1::checkDirectX()
{
    label16_->setText(QStringLiteral("Testing..."));
    platform::doEvents();
    // Any failure ends the check where it is; the label keeps its last text.
    const std::optional<DirectXVerdict> verdict = judgeDirectXVersion(readDirectXValue());
    if (!verdict)
        return;
    label16_->setText(verdict->shown);
    if (!verdict->suitable) {
        setTextColour(label16_, QColor(255, 0, 0));
        label18_->setText(QString::fromLatin1(BadDirectXText));
        return;
    }
    setTextColour(label16_, QColor(0, 255, 0));
    if (const std::optional<QString> adapter = platform::adapterDescription())
        label18_->setText(*adapter);
}

void Form1::toggleRender()
{
    if (command5_->text() == StopRender)
        RenderIt(0);
    else
        DoGlobalInit();
}

void Form1::showSearchWindow()
{
    RenderIt(0);
    Form2 search(platform::driveList(), [this] { DoGlobalInit2(); }, this);
    search.exec();
}

void Form1::showVersionWindow()
{
    Form3 query(readSiteAddress(programFolder_), programFolder_, this);
    query.exec();
}

void Form1::viewDebugFile()
{
    platform::shellOpen(debugFile());
}

void Form1::closeEvent(QCloseEvent* event)
{
    // Quit and closing end the program at once, a running render test included.
    ending_ = true;
    engine_.reset();
    event->accept();
    if (programEnd_)
        programEnd_();
}

} // namespace stewardex
