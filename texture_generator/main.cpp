// Layerloom, the terrain texture generator of the Korlith3D SDK. With
// --compile it generates a preset's texture without a window or a display.
#include "core/CompileCommand.h"
#include "ui/FrmMain.h"
#include "ui/HeadlessCompile.h"

#include <platform/Application.h>
#include <platform/CommandLine.h>
#include <platform/Paths.h>
#include <toolkit/EngineStartup.h>

#include <QApplication>
#include <QCoreApplication>
#include <QTextStream>

#include <cstdio>

namespace {

int runCommand(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    toolkit::startLiveViewTool(QStringLiteral("Layerloom"));
    QTextStream out(stdout);
    QTextStream log(stderr);
    const layerloom::LayerloomLaunch launch = layerloom::parseLayerloomArguments(platform::rawArguments(argc, argv));
    switch (launch.kind) {
    case layerloom::LayerloomLaunch::Kind::Help:
        out << layerloom::layerloomUsage();
        return platform::kExitDone;
    case layerloom::LayerloomLaunch::Kind::Compile:
        return layerloom::runHeadlessCompile(launch.compile, platform::programFolder(), log);
    case layerloom::LayerloomLaunch::Kind::UsageError:
    case layerloom::LayerloomLaunch::Kind::Window:
        break;
    }
    log << "layerloom: " << (launch.error.isEmpty() ? QStringLiteral("--compile is missing") : launch.error) << "\n\n"
        << layerloom::layerloomUsage();
    return platform::kExitUsage;
}

} // namespace

int main(int argc, char** argv)
{
    if (platform::mentionsOption(platform::rawArguments(argc, argv), layerloom::layerloomCommandOptions()))
        return runCommand(argc, argv);
    platform::Application app(argc, argv);
    toolkit::startLiveViewTool("Layerloom");
    const layerloom::LayerloomLaunch launch = layerloom::parseLayerloomArguments(app.arguments().mid(1));
    if (launch.kind != layerloom::LayerloomLaunch::Kind::Window) {
        QTextStream(stderr) << "layerloom: " << launch.error << "\n\n" << layerloom::layerloomUsage();
        return platform::kExitUsage;
    }
    layerloom::FrmMain form(platform::programFolder());
    if (!form.load(launch.presetToOpen))
        return 1;
    return QApplication::exec();
}
