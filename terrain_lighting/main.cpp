// Landlume, the terrain lightmap tool of the Korlith3D SDK. With --bake it
// computes a map's lightmap without a window (and without a display).
#include "core/BakeCommand.h"
#include "ui/HeadlessBake.h"
#include "ui/MDIMain.h"

#include <platform/Application.h>
#include <platform/CommandLine.h>
#include <platform/Paths.h>
#include <toolkit/EngineStartup.h>

#include <QCoreApplication>
#include <QTextStream>

#include <cstdio>

namespace {

int runCommand(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    toolkit::startLiveViewTool(QStringLiteral("Landlume"));
    QTextStream out(stdout);
    QTextStream log(stderr);
    const landlume::LandlumeLaunch launch = landlume::parseLandlumeArguments(platform::rawArguments(argc, argv));
    switch (launch.kind) {
    case landlume::LandlumeLaunch::Kind::Help:
        out << landlume::landlumeUsage();
        return platform::kExitDone;
    case landlume::LandlumeLaunch::Kind::Bake:
        return landlume::runHeadlessBake(launch.bake, platform::programFolder(), log);
    case landlume::LandlumeLaunch::Kind::UsageError:
    case landlume::LandlumeLaunch::Kind::Window:
        break;
    }
    log << "landlume: " << (launch.error.isEmpty() ? QStringLiteral("--bake is missing") : launch.error) << "\n\n"
        << landlume::landlumeUsage();
    return platform::kExitUsage;
}

} // namespace

int main(int argc, char** argv)
{
    if (platform::mentionsOption(platform::rawArguments(argc, argv), landlume::landlumeCommandOptions()))
        return runCommand(argc, argv);
    platform::Application app(argc, argv);
    toolkit::startLiveViewTool(QStringLiteral("Landlume"));
    // The arguments without those Qt took for itself (-platform, -display, ...).
    const landlume::LandlumeLaunch launch = landlume::parseLandlumeArguments(app.arguments().mid(1));
    if (launch.kind != landlume::LandlumeLaunch::Kind::Window) {
        QTextStream(stderr) << "landlume: " << launch.error << "\n\n" << landlume::landlumeUsage();
        return platform::kExitUsage;
    }
    landlume::MDIMain frame(platform::programFolder());
    return frame.load(true, launch.mapToOpen) ? 0 : 1;
}
