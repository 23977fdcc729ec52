// Compiles a C++ source text against the engine's public headers and reports
// the compiler's verdict, for tests of generated code. The compiler and its
// include flags come from the build (KL_TEST_CXX, KL_TEST_CXX_FLAGS).
#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QFile>

namespace kltest {

struct CompileResult {
    bool compiled = false;
    QString output;   // the compiler's messages
};

inline CompileResult compileSyntax(const QString& source)
{
    QTemporaryDir dir;
    QFile file(dir.filePath("generated.cpp"));
    if (!file.open(QIODevice::WriteOnly))
        return {false, "cannot write " + file.fileName()};
    file.write(source.toUtf8());
    file.close();
    QStringList arguments = QString(KL_TEST_CXX_FLAGS).split(u'|', Qt::SkipEmptyParts);
    arguments << "-std=c++20" << "-fsyntax-only" << "-Wall" << "-Werror" << file.fileName();
    QProcess compiler;
    compiler.setProcessChannelMode(QProcess::MergedChannels);
    compiler.start(KL_TEST_CXX, arguments);
    if (!compiler.waitForFinished(120000))
        return {false, "the compiler did not finish"};
    return {compiler.exitStatus() == QProcess::NormalExit && compiler.exitCode() == 0,
            QString::fromLocal8Bit(compiler.readAll())};
}

} // namespace kltest
