#include "core/CompileCommand.h"

#include "core/Resolutions.h"

#include <platform/CommandLine.h>

namespace layerloom {

QStringList layerloomCommandOptions()
{
    return {QStringLiteral("compile"), QStringLiteral("output"), QStringLiteral("resolution"), QStringLiteral("help")};
}

LayerloomLaunch parseLayerloomArguments(const QStringList& arguments)
{
    const platform::CommandLine line = platform::parseCommandLine(
        arguments, {{QStringLiteral("compile"), true},
                    {QStringLiteral("output"), true},
                    {QStringLiteral("resolution"), true},
                    {QStringLiteral("help"), false}});
    LayerloomLaunch launch;
    const auto usageError = [&launch](const QString& error) {
        launch.kind = LayerloomLaunch::Kind::UsageError;
        launch.error = error;
        return launch;
    };
    if (!line.error.isEmpty())
        return usageError(line.error);
    if (line.has(QStringLiteral("help"))) {
        launch.kind = LayerloomLaunch::Kind::Help;
        return launch;
    }
    if (!line.has(QStringLiteral("compile"))) {
        if (line.has(QStringLiteral("output")) || line.has(QStringLiteral("resolution")))
            return usageError(QStringLiteral("--output and --resolution go with --compile"));
        if (line.plain.size() > 1)
            return usageError(QStringLiteral("one preset file at most"));
        launch.presetToOpen = line.plain.value(0);
        return launch;
    }
    if (!line.plain.isEmpty())
        return usageError(QStringLiteral("unexpected argument %1").arg(line.plain.first()));
    launch.kind = LayerloomLaunch::Kind::Compile;
    launch.compile.preset = line.value(QStringLiteral("compile"));
    launch.compile.output = line.value(QStringLiteral("output"));
    if (line.has(QStringLiteral("resolution"))) {
        bool ok = false;
        const int resolution = line.value(QStringLiteral("resolution")).toInt(&ok);
        if (!ok || resolution < 1 || resolution > 8192)
            return usageError(QStringLiteral("--resolution takes a whole number from 1 to 8192"));
        launch.compile.resolution = resolution;
    }
    return launch;
}

int presetResolution(const Preset& preset)
{
    const int entry = preset.resolutionEntry >= 0 && preset.resolutionEntry < kResolutionEntryCount
                          ? preset.resolutionEntry
                          : kStartResolutionEntry;
    return entryResolution(resolutionEntries().value(entry));
}

QString layerloomUsage()
{
    return QStringLiteral(
        "Usage: layerloom [PRESET.llp]\n"
        "       layerloom --compile PRESET.llp [--output OUT.bmp] [--resolution N]\n"
        "\n"
        "Without --compile the window opens, with PRESET.llp loaded when one is given.\n"
        "--compile generates the preset's terrain texture as Compile does, without a\n"
        "window or a display. By default it writes the preset's output file (relative\n"
        "to the program folder, as Compile does) at the preset's resolution; --output\n"
        "(relative to the working folder) and --resolution (1 to 8192) override them.\n"
        "Progress goes to standard error.\n"
        "Exit status: 0 done, 1 the generation failed (one line says what), 2 usage error.\n");
}

} // namespace layerloom
