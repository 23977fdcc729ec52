// Compiles a C++ source text against the engine's public headers and reports
// the compiler's verdict, for tests of generated code; or builds it into a
// program linked with libkorlith3d.so and runs it. The compiler, its include
// flags and the link flags come from the build (KL_TEST_CXX,
// KL_TEST_CXX_FLAGS, KL_TEST_LINK_FLAGS).
#pragma once

#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QFile>

#include <map>
#include <vector>

namespace kltest {

struct CompileResult {
    bool compiled = false;
    QString output;   // the compiler's messages
};

namespace detail {

inline CompileResult runCompiler(const QStringList& mode)
{
    QStringList arguments = QString(KL_TEST_CXX_FLAGS).split(u'|', Qt::SkipEmptyParts);
    arguments << "-std=c++20" << "-Wall" << "-Werror" << mode;
    QProcess compiler;
    compiler.setProcessChannelMode(QProcess::MergedChannels);
    compiler.start(KL_TEST_CXX, arguments);
    if (!compiler.waitForFinished(240000))
        return {false, "the compiler did not finish"};
    return {compiler.exitStatus() == QProcess::NormalExit && compiler.exitCode() == 0,
            QString::fromLocal8Bit(compiler.readAll())};
}

inline bool writeSource(const QString& path, const QString& source)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    return file.write(source.toUtf8()) >= 0;
}

} // namespace detail

inline CompileResult compileSyntax(const QString& source)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("generated.cpp");
    if (!detail::writeSource(path, source))
        return {false, "cannot write " + path};
    return detail::runCompiler({"-fsyntax-only", path});
}

struct RunResult {
    bool built = false;
    QString buildOutput;   // the compiler's and linker's messages
    bool finished = false; // ran to its end, whatever its exit code
    int exitCode = -1;
    QString output;        // standard output
    QString errors;        // standard error
};

// Builds `source` (with its own main) into a program against libkorlith3d.so
// and runs it with `arguments`, without a display (Qt's offscreen platform).
inline RunResult buildAndRun(const QString& source, const QStringList& arguments = {})
{
    RunResult result;
    QTemporaryDir dir;
    const QString path = dir.filePath("harness.cpp");
    const QString program = dir.filePath("harness");
    if (!detail::writeSource(path, source)) {
        result.buildOutput = "cannot write " + path;
        return result;
    }
    QStringList mode{path, "-o", program};
    mode << QString(KL_TEST_LINK_FLAGS).split(u'|', Qt::SkipEmptyParts);
    const CompileResult build = detail::runCompiler(mode);
    result.built = build.compiled;
    result.buildOutput = build.output;
    if (!result.built)
        return result;
    QProcess run;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    environment.remove("DISPLAY");
    run.setProcessEnvironment(environment);
    run.start(program, arguments);
    result.finished = run.waitForFinished(120000) && run.exitStatus() == QProcess::NormalExit;
    result.exitCode = run.exitCode();
    result.output = QString::fromLocal8Bit(run.readAllStandardOutput());
    result.errors = QString::fromLocal8Bit(run.readAllStandardError());
    return result;
}

// What a harness printed as lines "key v1 v2 ...", in groups each opened by a
// line "variant N": one map of key to numbers per group.
using HarnessReport = std::map<QString, std::vector<float>>;

inline std::vector<HarnessReport> parseHarnessReports(const QString& output)
{
    std::vector<HarnessReport> reports;
    for (const QString& line : output.split(u'\n', Qt::SkipEmptyParts)) {
        QStringList words = line.split(u' ', Qt::SkipEmptyParts);
        const QString key = words.takeFirst();
        if (key == "variant") {
            reports.emplace_back();
            continue;
        }
        if (reports.empty())
            continue;
        std::vector<float>& values = reports.back()[key];
        for (const QString& word : words)
            values.push_back(word.toFloat());
    }
    return reports;
}

// A harness built, run and its report read: `failure` says what went wrong
// (empty when it built, ran to its end and exited 0), `output` is what it printed.
struct HarnessRun {
    QString failure;
    QString output;
    std::vector<HarnessReport> reports;
};

inline HarnessRun runHarness(const QString& source)
{
    const RunResult run = buildAndRun(source);
    HarnessRun result{{}, run.output, {}};
    if (!run.built)
        result.failure = "the harness did not build: " + run.buildOutput;
    else if (!run.finished || run.exitCode != 0)
        result.failure = "the harness failed: " + run.errors;
    else
        result.reports = parseHarnessReports(run.output);
    return result;
}

} // namespace kltest
