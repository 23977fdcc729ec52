#include "platform/Paths.h"
#include "platform/Process.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <QThread>

using namespace platform;

TEST(Process, SplitsCommandLinesTheWindowsWay)
{
    EXPECT_EQ(splitCommandLine("regsvr32 /u \"C:\\Program Files\\k3d.dll\""),
              (QStringList{"regsvr32", "/u", "C:\\Program Files\\k3d.dll"}));
    EXPECT_EQ(splitCommandLine("  attrib   \"a b\"  -r "), (QStringList{"attrib", "a b", "-r"}));
    EXPECT_EQ(splitCommandLine("x \"\""), (QStringList{"x", ""}));
    EXPECT_EQ(splitCommandLine(R"(a\\\"b c\\"d e")"), (QStringList{R"(a\"b)", R"(c\d e)"}));
    EXPECT_EQ(splitCommandLine(R"("say ""hi""")"), QStringList{R"(say "hi")"});
    EXPECT_EQ(splitCommandLine(R"(a\b\\c)"), QStringList{R"(a\b\\c)"});
    EXPECT_TRUE(splitCommandLine("   ").isEmpty());
}

TEST(Process, StartsProgramsFromTheProgramFolderWithoutWaiting)
{
    QTemporaryDir dir;
    const QString helper = dir.filePath("attrib");
    {
        QFile script(helper);
        ASSERT_TRUE(script.open(QIODevice::WriteOnly));
        script.write("#!/bin/sh\nprintf '%s|' \"$@\" > \"$(dirname \"$0\")/args.txt\"\n");
    }
    QFile::setPermissions(helper, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    setProgramFolder(dir.path());

    EXPECT_EQ(findProgram("attrib.exe"), helper);
    EXPECT_EQ(findProgram("ATTRIB"), helper);
    EXPECT_FALSE(findProgram("sh").isEmpty());   // from PATH
    EXPECT_TRUE(findProgram("no-such-program-here").isEmpty());

    const auto pid = startCommandLine("attrib \"my file.dll\" -r");
    ASSERT_TRUE(pid);
    EXPECT_GT(*pid, 0);
    const QString out = dir.filePath("args.txt");
    for (int i = 0; i < 100 && !QFile::exists(out); ++i)
        QThread::msleep(50);
    QThread::msleep(50);
    QFile result(out);
    ASSERT_TRUE(result.open(QIODevice::ReadOnly));
    EXPECT_EQ(result.readAll(), "my file.dll|-r|");

    EXPECT_FALSE(startCommandLine("no-such-program-here /s"));
    EXPECT_FALSE(startCommandLine(""));
    setProgramFolder({});
}

TEST(Process, ShellOpenRefusesMissingDocuments)
{
    QTemporaryDir dir;
    EXPECT_FALSE(shellOpen(dir.filePath("missing.txt")));
    EXPECT_FALSE(shellOpen(""));
}

TEST(Process, ClocksAdvance)
{
    const quint32 before = tickCount();
    QThread::msleep(20);
    const quint32 elapsed = tickCount() - before;
    EXPECT_GE(elapsed, 19u);
    EXPECT_LT(elapsed, 5000u);
    const double now = secondsSinceMidnight();
    EXPECT_GE(now, 0.0);
    EXPECT_LT(now, 86400.0);
}
