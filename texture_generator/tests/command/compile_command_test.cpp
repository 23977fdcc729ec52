// layerloom --compile run as a program without a display: exit codes, the
// one failure line, and a texture byte for byte the one Compile's engine
// calls make from the same preset.
#include "core/CompileCommand.h"
#include "core/PresetFile.h"

#include <korlith3d/KLEngine.h>
#include <korlith3d/KLLandscape.h>

#include "ProgramWithoutDisplay.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace layerloom {
namespace {

QString builtFolder() { return kltest::builtProgramFolder("Layerloom"); }

using kltest::ProgramRun;

ProgramRun layerloom(const QStringList& arguments, const QString& workingFolder)
{
    return kltest::runWithoutDisplay(builtFolder() + "/layerloom", arguments, workingFolder);
}

QByteArray contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TEST(CompileArguments, ModesDefaultsAndUsageErrors)
{
    const LayerloomLaunch compile = parseLayerloomArguments({"--compile", "p.llp", "--resolution", "2048"});
    ASSERT_EQ(compile.kind, LayerloomLaunch::Kind::Compile);
    EXPECT_EQ(compile.compile.resolution, 2048);
    EXPECT_TRUE(compile.compile.output.isEmpty());
    EXPECT_EQ(parseLayerloomArguments({"p.llp"}).presetToOpen, "p.llp");
    for (const QStringList& wrong : {QStringList{"--compile"}, {"--compile", "p", "--resolution", "0"},
                                     {"--compile", "p", "--resolution", "8193"}, {"--compile", "p", "--resolution", "x"},
                                     {"--output", "o.bmp"}, {"a.llp", "b.llp"}})
        EXPECT_EQ(parseLayerloomArguments(wrong).kind, LayerloomLaunch::Kind::UsageError) << wrong.join(' ').toStdString();
    // The preset's entry, or the window's start entry when it has none of the seven.
    Preset preset;
    preset.resolutionEntry = 6;
    EXPECT_EQ(presetResolution(preset), 2048);
    preset.resolutionEntry = 9;
    EXPECT_EQ(presetResolution(preset), 512);
    preset.resolutionEntry = -1;
    EXPECT_EQ(presetResolution(preset), 512);
}

TEST(CompileCommand, WritesTheBytesOfCompilesEngineCallsWithoutADisplay)
{
    QTemporaryDir dir;
    const QString preset = builtFolder() + "/samples/sample.llp";
    const ProgramRun run = layerloom({"--compile", preset, "--output", "out.bmp", "--resolution", "128"}, dir.path());
    ASSERT_EQ(run.exitCode, 0) << run.errors.toStdString();
    EXPECT_TRUE(run.errors.contains("128 x 128 from 4 layers")) << run.errors.toStdString();

    // Compile's calls, in its order, on an engine without a view.
    const PresetReadResult read = readPresetFile(preset);
    ASSERT_TRUE(read.preset);
    KLEngine engine;
    engine.SetSearchFolder(builtFolder());
    KLLandscape land;
    land.ClearTextureLayers();
    for (const TextureLayer& layer : read.preset->layers)
        land.AddTextureLayer(layer.TexturePath, layer.AltitudeMin, layer.AltitudeMax, layer.BlendPower, layer.UScale,
                             layer.VScale, 0.0f);
    land.GenerateTexture(read.preset->heightMap, dir.filePath("window.bmp"), 128);
    const QByteArray headless = contents(dir.filePath("out.bmp"));
    EXPECT_EQ(headless.size(), 54 + 128 * 128 * 3);
    EXPECT_EQ(headless, contents(dir.filePath("window.bmp")));
}

TEST(CompileCommand, FailuresNameWhatFailedAndKeepThePreviousFile)
{
    QTemporaryDir dir;
    QFile::copy(builtFolder() + "/samples/sample.llp", dir.filePath("sample.llp"));
    QByteArray broken = contents(dir.filePath("sample.llp"));
    broken.replace("samples\\heightmap.bmp", "samples\\no-such-height.bmp");
    QFile brokenFile(dir.filePath("broken.llp"));
    ASSERT_TRUE(brokenFile.open(QIODevice::WriteOnly));
    brokenFile.write(broken);
    brokenFile.close();
    QFile previous(dir.filePath("o.bmp"));
    ASSERT_TRUE(previous.open(QIODevice::WriteOnly));
    previous.write("previous");
    previous.close();

    const struct {
        QStringList arguments;
        const char* named;
    } cases[] = {
        {{"--compile", "absent.llp", "--output", "o.bmp"}, "absent.llp"},
        {{"--compile", "broken.llp", "--output", "o.bmp", "--resolution", "64"}, "no-such-height.bmp"},
        {{"--compile", "sample.llp", "--output", "/proc/o.bmp", "--resolution", "64"}, "/proc/o.bmp"},
    };
    for (const auto& c : cases) {
        const ProgramRun run = layerloom(c.arguments, dir.path());
        EXPECT_EQ(run.exitCode, 1) << c.named;
        EXPECT_TRUE(run.errors.trimmed().split('\n').last().contains(QString::fromLatin1(c.named)))
            << run.errors.toStdString();
        EXPECT_EQ(contents(dir.filePath("o.bmp")), "previous");
    }
    EXPECT_EQ(layerloom({"--compile", "sample.llp", "--resolution", "-3"}, dir.path()).exitCode, 2);
    EXPECT_EQ(layerloom({"--help"}, dir.path()).exitCode, 0);
}

} // namespace
} // namespace layerloom
