#include "ui/HeadlessCompile.h"

#include "ui/LoomScene.h"

#include <platform/CommandLine.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>

namespace layerloom {

int runHeadlessCompile(const CompileRequest& request, const QString& programFolder, QTextStream& log)
{
    const auto fail = [&log](const QString& what) {
        log << "layerloom: " << what << '\n';
        log.flush();
        return platform::kExitFailed;
    };
    if (!QFileInfo(request.preset).isFile())
        return fail(QStringLiteral("cannot read the preset %1: no such file").arg(request.preset));
    const PresetReadResult read = readPresetFile(QFileInfo(request.preset).absoluteFilePath());
    if (!read.preset)
        return fail(read.error);
    for (const QString& warning : read.warnings)
        log << "layerloom: " << warning << '\n';
    const Preset& preset = *read.preset;
    if (preset.layers.isEmpty())
        return fail(QStringLiteral("the preset %1 has no layers").arg(request.preset));
    if (preset.heightMap.isEmpty())
        return fail(QStringLiteral("the preset %1 names no height map").arg(request.preset));
    const QString output = request.output.isEmpty() ? preset.output : QFileInfo(request.output).absoluteFilePath();
    if (output.isEmpty())
        return fail(QStringLiteral("the preset %1 names no output file: give --output").arg(request.preset));
    const int resolution = request.resolution > 0 ? request.resolution : presetResolution(preset);

    try {
        LoomScene scene(programFolder);
        scene.startWithoutView();
        scene.clearLayers();
        for (const TextureLayer& layer : preset.layers)
            scene.addLayer(layer);
        log << "layerloom: generating " << resolution << " x " << resolution << " from " << preset.layers.size()
            << " layers\n";
        log.flush();
        QElapsedTimer clock;
        clock.start();
        scene.generate(preset.heightMap, output, resolution);
        log << "layerloom: generated in " << QString::number(double(clock.nsecsElapsed()) / 1e9, 'f', 3) << " s\n";
    } catch (const SceneError& error) {
        return fail(QStringLiteral("the texture was not generated: %1").arg(error.description));
    }
    log << "layerloom: texture written to " << QDir::toNativeSeparators(output) << '\n';
    log.flush();
    return platform::kExitDone;
}

} // namespace layerloom
