// Runs a built program as a child process with no display at all (no X, no
// Wayland, no platform choice), for tests of the command-line modes.
#pragma once

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

namespace kltest {

struct ProgramRun {
    int exitCode = -1;   // -1 when the program did not end normally
    QString errors;      // its standard error
};

// A program folder of the build tree (Landlume, Layerloom, …), found from the
// test program's own path: tests have no application object to ask.
inline QString builtProgramFolder(const QString& folder)
{
    return QDir(QFileInfo("/proc/self/exe").canonicalPath() + "/../" + folder).absolutePath();
}

inline ProgramRun runWithoutDisplay(const QString& program, const QStringList& arguments,
                                    const QString& workingFolder)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(QString::fromLatin1(name));
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(workingFolder);
    process.start(program, arguments);
    EXPECT_TRUE(process.waitForFinished(600000));
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromLocal8Bit(process.readAllStandardError())};
}

} // namespace kltest
