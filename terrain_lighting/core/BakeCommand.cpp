#include "core/BakeCommand.h"

#include <platform/CommandLine.h>

namespace landlume {

QStringList landlumeCommandOptions()
{
    return {QStringLiteral("bake"), QStringLiteral("lightmap"), QStringLiteral("coordinates"), QStringLiteral("help")};
}

LandlumeLaunch parseLandlumeArguments(const QStringList& arguments)
{
    const platform::CommandLine line = platform::parseCommandLine(
        arguments, {{QStringLiteral("bake"), true},
                    {QStringLiteral("lightmap"), true},
                    {QStringLiteral("coordinates"), true},
                    {QStringLiteral("help"), false}});
    LandlumeLaunch launch;
    const auto usageError = [&launch](const QString& error) {
        launch.kind = LandlumeLaunch::Kind::UsageError;
        launch.error = error;
        return launch;
    };
    if (!line.error.isEmpty())
        return usageError(line.error);
    if (line.has(QStringLiteral("help"))) {
        launch.kind = LandlumeLaunch::Kind::Help;
        return launch;
    }
    if (!line.has(QStringLiteral("bake"))) {
        if (line.has(QStringLiteral("lightmap")) || line.has(QStringLiteral("coordinates")))
            return usageError(QStringLiteral("--lightmap and --coordinates go with --bake"));
        if (line.plain.size() > 1)
            return usageError(QStringLiteral("one map file at most"));
        launch.mapToOpen = line.plain.value(0);
        return launch;
    }
    if (!line.plain.isEmpty())
        return usageError(QStringLiteral("unexpected argument %1").arg(line.plain.first()));
    if (!line.has(QStringLiteral("lightmap")))
        return usageError(QStringLiteral("--bake needs --lightmap OUT.bmp"));
    launch.kind = LandlumeLaunch::Kind::Bake;
    launch.bake.map = line.value(QStringLiteral("bake"));
    launch.bake.lightmap = line.value(QStringLiteral("lightmap"));
    launch.bake.coordinates = line.value(QStringLiteral("coordinates"));
    return launch;
}

QString landlumeUsage()
{
    return QStringLiteral(
        "Usage: landlume [MAP.ldm]\n"
        "       landlume --bake MAP.ldm --lightmap OUT.bmp [--coordinates OUT.txt]\n"
        "\n"
        "Without --bake the window opens, with MAP.ldm loaded when one is given.\n"
        "--bake loads the map (land, lightmap size and alpha, objects, light and\n"
        "shadow switches), computes its shadow lightmap without a window or a\n"
        "display, and writes it as a 24-bit BMP; --coordinates also writes the\n"
        "shadowed points. Progress goes to standard error.\n"
        "Exit status: 0 done, 1 the bake failed (one line says what), 2 usage error.\n");
}

} // namespace landlume
