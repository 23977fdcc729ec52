// The help, About and splash windows.
#include "toolkit/AboutWindow.h"
#include "toolkit/HelpWindow.h"
#include "toolkit/SplashWindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

#include <gtest/gtest.h>
#include <platform/Interaction.h>
#include <platform/Registry.h>

namespace toolkit {
namespace {

class Windows : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder.isValid());
        qputenv("KORLITH3D_REGISTRY_DIR", folder.filePath("registry").toUtf8());
    }
    void write(const QString& name, const QByteArray& data)
    {
        QFile out(folder.filePath(name));
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(data);
    }
    QTemporaryDir folder;
    std::shared_ptr<platform::ScriptedInteraction> dialogs = std::make_shared<platform::ScriptedInteraction>();
    platform::ScopedInteraction scopedDialogs{dialogs};
};

TEST_F(Windows, HelpShowsTheReadmeUnderTheToolsNames)
{
    write("Readme.txt", "Glazery help\r\nSecond line\r\n");
    HelpWindow help(nullptr, {"Form4", "Help for Glazery", "Text1"});
    help.loadReadme(folder.path());
    EXPECT_EQ(help.objectName(), "Form4");
    EXPECT_EQ(help.windowTitle(), "Help for Glazery");
    auto* box = help.findChild<QPlainTextEdit*>("Text1");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->font().family(), "Courier");
    EXPECT_TRUE(box->isReadOnly());
    EXPECT_EQ(help.text(), "Glazery help\nSecond line\n");

    // Loading again replaces the text; a missing file says which one.
    help.loadText(folder.filePath("missing.txt"));
    EXPECT_TRUE(help.text().contains("missing.txt"));
    EXPECT_FALSE(help.text().contains("Glazery help"));
}

AboutTexts someTexts()
{
    AboutTexts texts;
    texts.caption = "About Tool";
    texts.title = "Tool - A Title";
    texts.links = {"https://example.org", "https://example.org/forum"};
    return texts;
}

TEST_F(Windows, AboutWithoutSystemInformationSaysSo)
{
    AboutWindow about(nullptr, someTexts());
    EXPECT_EQ(about.objectName(), "frmAbout");
    EXPECT_EQ(about.findChild<QLabel*>("lblTitle")->text(), "Tool - A Title");
    EXPECT_NE(about.findChild<QLabel*>("lblLink2"), nullptr);
    EXPECT_EQ(about.findChild<QPushButton*>("cmdSysInfo")->text(), "&System Info...");
    dialogs->expectMsgBox(platform::vbOK, "System Information Is Unavailable At This Time");
    about.findChild<QPushButton*>("cmdSysInfo")->click();

    // A recorded path to a file that is not there counts as unavailable too.
    ASSERT_TRUE(platform::writeRegistryString(platform::Hive::LocalMachine,
                                              "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO", "PATH",
                                              folder.filePath("msinfo32.exe")));
    EXPECT_EQ(systemInfoToolPath(), QString());
    dialogs->expectMsgBox(platform::vbOK, "System Information Is Unavailable At This Time");
    about.findChild<QPushButton*>("cmdSysInfo")->click();
    EXPECT_EQ(dialogs->pending(), 0u);
}

TEST_F(Windows, SystemInformationToolIsFoundThroughTheSharedToolsFolderAndStarted)
{
    // The tool leaves a mark so the test sees it ran.
    const QString mark = folder.filePath("ran");
    write("MSINFO32.EXE", QStringLiteral("#!/bin/sh\ntouch '%1'\n").arg(mark).toUtf8());
    QFile::setPermissions(folder.filePath("MSINFO32.EXE"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    ASSERT_TRUE(platform::writeRegistryString(platform::Hive::LocalMachine,
                                              "SOFTWARE\\Microsoft\\Shared Tools Location", "MSINFO",
                                              folder.path()));
    EXPECT_EQ(systemInfoToolPath(), folder.filePath("MSINFO32.EXE"));

    AboutWindow about(nullptr, someTexts());
    about.startSysInfo();   // no message expected: the scripted service fails on one
    QElapsedTimer clock;
    clock.start();
    while (!QFile::exists(mark) && clock.elapsed() < 5000)
        QThread::msleep(20);
    EXPECT_TRUE(QFile::exists(mark));
}

TEST_F(Windows, SplashClosesOnAKeyOrAClick)
{
    SplashWindow byKey("frmSplash", "Tool", QSize(200, 100));
    byKey.show();
    QKeyEvent key(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, " ");
    QApplication::sendEvent(&byKey, &key);
    EXPECT_TRUE(byKey.closedByUser());
    EXPECT_FALSE(byKey.isVisible());

    SplashWindow byClick("frmSplash", "Tool", QSize(200, 100));
    byClick.show();
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(5, 5), QPointF(5, 5), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(&byClick, &press);
    EXPECT_TRUE(byClick.closedByUser());
    EXPECT_FALSE(byClick.isVisible());
}

// Closes the splash by a key press shortly after the wait began; returns the
// milliseconds the wait lasted.
qint64 waitWithEarlyKey(SplashWait wait, double seconds)
{
    SplashWindow splash("frmSplash", "Tool", QSize(200, 100));
    QTimer::singleShot(50, &splash, [&] {
        QKeyEvent key(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, " ");
        QApplication::sendEvent(&splash, &key);
    });
    QElapsedTimer clock;
    clock.start();
    showSplash(splash, seconds, wait);
    EXPECT_TRUE(splash.closedByUser());
    EXPECT_FALSE(splash.isVisible());
    return clock.elapsed();
}

TEST_F(Windows, SplashWaitEitherEndsWithTheKeyOrIsWaitedOut)
{
    EXPECT_LT(waitWithEarlyKey(SplashWait::UntilClosedOrElapsed, 5.0), 2500);
    EXPECT_GE(waitWithEarlyKey(SplashWait::FullTime, 0.6), 600);

    // Untouched, the splash shows for its time and is closed after it.
    SplashWindow splash("frmSplash", "Tool", QSize(200, 100));
    QElapsedTimer clock;
    clock.start();
    showSplash(splash, 0.3, SplashWait::UntilClosedOrElapsed);
    EXPECT_GE(clock.elapsed(), 300);
    EXPECT_FALSE(splash.closedByUser());
    EXPECT_FALSE(splash.isVisible());
}

} // namespace
} // namespace toolkit
