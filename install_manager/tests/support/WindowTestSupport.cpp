#include "support/WindowTestSupport.h"

#include <platform/Paths.h>
#include <platform/Registry.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTest>

namespace stewardex::testing {

WindowTest::WindowTest() : programFolder_(root_.filePath(QStringLiteral("Stewardex")))
{
    QDir().mkpath(programFolder_);
    platform::setProgramFolder(programFolder_);
}

WindowTest::~WindowTest()
{
    platform::setProgramFolder({});
}

QString WindowTest::enginePath()
{
    return QFileInfo(QStringLiteral(KL_ENGINE_LIBRARY)).absoluteFilePath();
}

QString WindowTest::utilityPath()
{
    return QFileInfo(QStringLiteral(KL_UTILITY_LIBRARY)).absoluteFilePath();
}

void WindowTest::provideUtilityLibrary()
{
    EXPECT_TRUE(QFile::link(utilityPath(), platform::joinPath(programFolder_, "libklutil63.so")));
}

void WindowTest::provideHelper(const QString& name)
{
    const QString built = QFileInfo(QStringLiteral(KL_REGSVR32)).absoluteDir().filePath(name);
    EXPECT_TRUE(QFile::link(built, platform::joinPath(programFolder_, name)));
}

void WindowTest::provideRecordingHelper(const QString& name)
{
    const QString script = platform::joinPath(programFolder_, name);
    QFile file(script);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    const QString calls = script + QStringLiteral(".calls");
    file.write(QStringLiteral("#!/bin/sh\nfor a in \"$@\"; do echo \"$a\" >> '%1.part'; done\nmv '%1.part' '%1'\n")
                   .arg(calls)
                   .toUtf8());
    file.close();
    file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

QStringList WindowTest::recordedCalls(const QString& name, int waitMs) const
{
    const QString calls = platform::joinPath(programFolder_, name + QStringLiteral(".calls"));
    if (!QTest::qWaitFor([&] { return QFileInfo::exists(calls); }, waitMs))
        return {};
    QFile file(calls);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts);
}

bool WindowTest::registerBuiltEngine()
{
    QProcess process;
    process.start(QStringLiteral(KL_REGSVR32), {QStringLiteral("/s"), enginePath()});
    return process.waitForFinished(60000) && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

void WindowTest::setDirectXVersion(const QString& value)
{
    EXPECT_TRUE(platform::writeRegistryString(platform::Hive::LocalMachine, QStringLiteral("SOFTWARE\\Microsoft\\DirectX"),
                                              QStringLiteral("Version"), value));
}

void makeFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

} // namespace stewardex::testing
