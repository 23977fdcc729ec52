// The main window: start-up checks with and without a registered engine,
// the utility library, the DirectX verdict, the render test and the buttons.
#include "ui/Form1.h"
#include "ui/Logo.h"

#include "support/WindowTestSupport.h"

#include <platform/Component.h>
#include <platform/Registry.h>

#include <QDesktopServices>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUrl>

namespace stewardex {
namespace {

using testing::child;

const QString FirstLabel14 = "Couldn't initialize engine, check the Info about DLLs section";
const QString ProgId = "Korlith3D.KLEngine";

class Form1Test : public testing::WindowTest {
protected:
    QString text(const char* name) { return child<QLabel>(form_, name)->text(); }
    QPushButton* button(const char* name) { return child<QPushButton>(form_, name); }

    // Runs `action` from inside the render loop once `frames` more frames
    // have been presented (or after 30 s): the first frames of a new view
    // take long on a software renderer.
    void afterFrames(int frames, std::function<void()> action)
    {
        const int target = form_.framesRendered() + frames;
        auto* poll = new QTimer(&form_);
        auto started = std::make_shared<QElapsedTimer>();
        started->start();
        QObject::connect(poll, &QTimer::timeout, &form_, [this, poll, target, started, action] {
            if (form_.framesRendered() < target && started->elapsed() < 30000)
                return;
            poll->stop();
            poll->deleteLater();
            action();
        });
        poll->start(20);
    }

    Form1 form_{programFolder()};
};

TEST(StewardexLogo, ProgramFolderLogoOnWhiteElseDrawn)
{
    QTemporaryDir folder;
    const QImage drawn = logoPicture(folder.path(), 200, 50).toImage();
    EXPECT_EQ(drawn.size(), QSize(200, 50));
    EXPECT_LT(qGray(drawn.pixel(1, 1)), 80) << "the drawn logo's dark background";
    QImage file(100, 100, QImage::Format_RGB32);
    file.fill(QColor(255, 0, 0));
    ASSERT_TRUE(file.save(folder.filePath("logo.png")));
    const QImage loaded = logoPicture(folder.path(), 200, 50).toImage();
    EXPECT_EQ(loaded.pixel(1, 1), qRgb(255, 255, 255));
    EXPECT_EQ(loaded.pixel(20, 25), qRgb(255, 0, 0)) << "the file, scaled to the height";
    EXPECT_EQ(loaded.pixel(120, 25), qRgb(255, 255, 255)) << "its shape kept";
}

TEST_F(Form1Test, NothingRegisteredShowsTheMessageOnceThenStartRenderCannotInitialize)
{
    provideUtilityLibrary();
    dialogs_->expectMsgBox(platform::vbOK, "A correct Korlith3D.Dll is not registered.");
    form_.load();
    ASSERT_EQ(dialogs_->calls().size(), 1u);
    const auto& message = dialogs_->calls().front();
    EXPECT_EQ(message.title, "Stewardex Information");
    EXPECT_EQ(message.style, platform::vbInformation);
    EXPECT_EQ(message.prompt, "A correct Korlith3D.Dll is not registered.\r\nYou should use the \"Search DLL\" option "
                              "in this program and register Korlith3D correctly.");
    EXPECT_EQ(text("Label9"), "File used : No file, bad registration");
    EXPECT_EQ(text("Label14"), FirstLabel14);
    EXPECT_EQ(button("Command5")->text(), "Start Render");
    EXPECT_TRUE(button("Command4")->isEnabled());
    EXPECT_FALSE(form_.holdsEngine());

    button("Command5")->click();   // no further message expected
    EXPECT_EQ(text("Label9"), "File used : Unable to initialize");
    EXPECT_EQ(dialogs_->calls().size(), 1u);
    EXPECT_EQ(button("Command5")->text(), "Start Render");
    EXPECT_EQ(form_.framesRendered(), 0);
}

TEST_F(Form1Test, RegisteredEngineIsShownAndTheRenderTestRunsUntilTheSecondPress)
{
    provideUtilityLibrary();
    ASSERT_TRUE(registerBuiltEngine());
    form_.load();
    EXPECT_TRUE(dialogs_->calls().empty());
    EXPECT_EQ(text("Label9"), "File used : " + enginePath());
    EXPECT_EQ(text("Label10"), "Version : 6.0.0.0");
    EXPECT_EQ(text("Label6"), "File used : " + QFileInfo(programFolder() + "/libklutil63.so").absoluteFilePath());
    EXPECT_EQ(text("Label7"), "Version : 6.3.0.0");
    EXPECT_EQ(text("Label14"), "Please click 'Start Render' to render a empty screen.");
    EXPECT_FALSE(form_.holdsEngine()) << "released again after the first-time initialisation";

    bool heldWhileRunning = false;
    bool debugDisabledWhileRunning = false;
    QString captionWhileRunning;
    afterFrames(3, [&] {
        heldWhileRunning = form_.holdsEngine();
        debugDisabledWhileRunning = !button("Command4")->isEnabled();
        captionWhileRunning = button("Command5")->text();
        button("Command5")->click();
    });
    button("Command5")->click();   // returns when the second press stops the loop
    EXPECT_TRUE(heldWhileRunning);
    EXPECT_TRUE(debugDisabledWhileRunning);
    EXPECT_EQ(captionWhileRunning, "Stop Render");
    EXPECT_GT(form_.framesRendered(), 0) << [this] {
        QFile log(programFolder() + "/debug.txt");
        return log.open(QIODevice::ReadOnly) ? log.readAll().toStdString() : std::string("no log");
    }();
    EXPECT_EQ(button("Command5")->text(), "Start Render");
    EXPECT_TRUE(button("Command4")->isEnabled());
    EXPECT_FALSE(form_.holdsEngine());
    EXPECT_TRUE(child<QLabel>(form_, "Label14")->isHidden());
    EXPECT_TRUE(QFileInfo(programFolder() + "/debug.txt").size() > 0) << "the engine wrote its log";

    // A second run starts again and still stops on its second press.
    const int frames = form_.framesRendered();
    afterFrames(2, [this] { button("Command5")->click(); });
    button("Command5")->click();
    EXPECT_GE(form_.framesRendered(), frames + 2);
    EXPECT_TRUE(child<QLabel>(form_, "Label14")->isHidden());
}

TEST_F(Form1Test, ChecksAfterARegistrationChangeStartNoRenderTest)
{
    provideUtilityLibrary();
    dialogs_->expectMsgBox(platform::vbOK, "A correct Korlith3D.Dll is not registered.");
    form_.load();
    ASSERT_TRUE(registerBuiltEngine());
    form_.DoGlobalInit2();
    EXPECT_EQ(dialogs_->calls().size(), 1u);
    EXPECT_EQ(text("Label9"), "File used : " + enginePath());
    EXPECT_EQ(text("Label10"), "Version : 6.0.0.0");
    EXPECT_EQ(text("Label14"), FirstLabel14) << "no engine initialisation after a registration change";
    EXPECT_EQ(button("Command5")->text(), "Start Render");
    EXPECT_FALSE(form_.holdsEngine());
    EXPECT_EQ(form_.framesRendered(), 0);

    ASSERT_TRUE(platform::unregisterComponent(ProgId));
    dialogs_->expectMsgBox(platform::vbOK, "A correct Korlith3D.Dll is not registered.");
    form_.DoGlobalInit2();
    EXPECT_EQ(dialogs_->calls().size(), 2u);
    EXPECT_EQ(text("Label9"), "File used : No file, bad registration");
}

TEST_F(Form1Test, EngineWithoutGetDLLPathIsTheWrongVersion)
{
    provideUtilityLibrary();
    ASSERT_TRUE(platform::registerComponent(ProgId, QStringLiteral(KL_OLDENGINE_LIBRARY)));
    form_.load();
    EXPECT_TRUE(dialogs_->calls().empty());
    EXPECT_EQ(text("Label9"), "Not Correct version of Korlith3D.dll !");
    EXPECT_EQ(text("Label10"), "Version : ");
}

TEST_F(Form1Test, LibraryWithoutClassFactoryIsABadRegistration)
{
    provideUtilityLibrary();
    ASSERT_TRUE(platform::registerComponent(ProgId, QStringLiteral(KL_NOVERSION_LIBRARY)));
    dialogs_->expectMsgBox(platform::vbOK, "There was a problem with registration !");
    form_.load();
    ASSERT_EQ(dialogs_->calls().size(), 1u);
    EXPECT_EQ(dialogs_->calls().front().prompt, "There was a problem with registration ! Try to reregister the files.");
    EXPECT_EQ(dialogs_->calls().front().title, "Stewardex");
    EXPECT_EQ(dialogs_->calls().front().style, platform::vbOKOnly);
    EXPECT_EQ(text("Label9"), "File used : No file, bad registration");
}

TEST_F(Form1Test, MissingUtilityLibraryIsTheWrongVersion)
{
    ASSERT_TRUE(registerBuiltEngine());
    form_.load();
    EXPECT_EQ(text("Label6"), "File used : Not correct version of klutil63.dll !");
    EXPECT_EQ(text("Label7"), "Version : ");
    EXPECT_EQ(text("Label10"), "Version : 6.0.0.0") << "the engine check still runs";
}

TEST_F(Form1Test, DirectXVerdictInGreenOrRed)
{
    struct Case {
        const char* value;
        const char* shown;
        bool suitable;
    };
    for (const Case& c : {Case{"4.08.00.0400", "08.00 (NOT GOOD FOR KL3D!)", false},
                          Case{"4.07.00.0700", "07.00 (NOT GOOD FOR KL3D!)", false},
                          Case{"4.08.01.0881", "08.01 (OK FINE!)", true},
                          Case{"4.09.00.0904", "09.00 (OK FINE!)", true}}) {
        SCOPED_TRACE(c.value);
        setDirectXVersion(c.value);
        child<QLabel>(form_, "Label18")->clear();
        form_.checkDirectX();
        const QLabel* label16 = child<QLabel>(form_, "Label16");
        EXPECT_EQ(label16->text(), c.shown);
        EXPECT_EQ(label16->palette().color(QPalette::WindowText), c.suitable ? QColor(0, 255, 0) : QColor(255, 0, 0));
        if (c.suitable)
            EXPECT_EQ(text("Label18"), platform::adapterDescription().value_or("?"));
        else
            EXPECT_EQ(text("Label18"), "BAD DIRECTX");
    }
    // A value of fewer than three parts ends the check at "Testing...".
    setDirectXVersion("4.09");
    child<QLabel>(form_, "Label18")->setText("kept");
    form_.checkDirectX();
    EXPECT_EQ(text("Label16"), "Testing...");
    EXPECT_EQ(text("Label18"), "kept");
}

TEST_F(Form1Test, SearchForDllsStopsTheRenderTestFirst)
{
    provideUtilityLibrary();
    ASSERT_TRUE(registerBuiltEngine());
    form_.load();
    bool searchWindowShown = false;
    QString captionInSearch;
    afterFrames(1, [&] {
        // Fires inside the search window's own loop.
        QTimer::singleShot(300, &form_, [&] {
            QWidget* modal = QApplication::activeModalWidget();
            searchWindowShown = modal && modal->objectName() == "Form2";
            captionInSearch = button("Command5")->text();
            if (modal)
                modal->close();
        });
        button("Command3")->click();
    });
    button("Command5")->click();
    EXPECT_TRUE(searchWindowShown);
    EXPECT_EQ(captionInSearch, "Start Render");
    EXPECT_EQ(button("Command5")->text(), "Start Render");
    EXPECT_TRUE(button("Command4")->isEnabled());
    EXPECT_FALSE(form_.holdsEngine());
}

class UrlRecorder : public QObject {
    Q_OBJECT
public:
    QList<QUrl> opened;
public slots:
    void open(const QUrl& url) { opened.append(url); }
};

TEST_F(Form1Test, ViewDebugFileOpensTheLogThroughTheShell)
{
    testing::makeFile(programFolder() + "/debug.txt", "log");
    UrlRecorder recorder;
    QDesktopServices::setUrlHandler("file", &recorder, "open");
    button("Command4")->click();
    QDesktopServices::unsetUrlHandler("file");
    ASSERT_EQ(recorder.opened.size(), 1);
    EXPECT_EQ(recorder.opened.front().toLocalFile(), programFolder() + "/debug.txt");
}

TEST_F(Form1Test, QuitEndsTheProgramAtOnceEvenWhileRendering)
{
    provideUtilityLibrary();
    ASSERT_TRUE(registerBuiltEngine());
    int ends = 0;
    form_.setProgramEnd([&] { ++ends; });
    form_.load();
    afterFrames(1, [this] { button("Command1")->click(); });
    button("Command5")->click();   // returns because the program ends
    EXPECT_EQ(ends, 1);
    EXPECT_FALSE(form_.holdsEngine());
    EXPECT_FALSE(form_.isVisible());
}

TEST_F(Form1Test, CheckNewVersionsAsksTheConfiguredSite)
{
    QTcpServer site;
    ASSERT_TRUE(site.listen(QHostAddress::LocalHost));
    QByteArray request;
    QObject::connect(&site, &QTcpServer::newConnection, &site, [&] {
        QTcpSocket* client = site.nextPendingConnection();
        QObject::connect(client, &QTcpSocket::readyRead, client, [&request, client] {
            request += client->readAll();
            if (request.endsWith("\r\n\r\n"))
                client->write("HTTP/1.1 200 OK\r\n\r\n6.3\nEngine\n2003-01-10\nBeta\n");
        });
    });
    testing::makeFile(programFolder() + "/stewardex.ini",
                      "[Site]\r\nAddress=127.0.0.1:" + QByteArray::number(site.serverPort()) + "\r\n");
    QString shownTitle;
    QTimer::singleShot(0, &form_, [&] {
        if (QWidget* modal = QApplication::activeModalWidget())
            shownTitle = modal->windowTitle();
    });
    dialogs_->expectMsgBox(platform::vbOK, "Lates version is: ");
    button("Command2")->click();   // returns when the query window closes itself
    EXPECT_EQ(shownTitle, "Checking Version with site...");
    EXPECT_TRUE(request.startsWith("GET /version.txt HTTP/1.1\r\n"));
    EXPECT_TRUE(request.contains("Host: 127.0.0.1:" + QByteArray::number(site.serverPort()) + "\r\n"));
    ASSERT_EQ(dialogs_->calls().size(), 1u);
    EXPECT_EQ(dialogs_->calls()[0].prompt, "Lates version is: \r\nEngine (6.3)\r\nBeta (2003-01-10)");
}

} // namespace
} // namespace stewardex

#include "form1_test.moc"
