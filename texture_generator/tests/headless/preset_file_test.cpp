// The preset file: its bytes, reading back, short and odd files, atomic saves.
#include "core/LayerList.h"
#include "core/PresetFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>

namespace layerloom {
namespace {

Preset onePreset()
{
    Preset preset;
    preset.heightMap = "C:\\maps\\hills, big.bmp";
    preset.output = "out.bmp";
    preset.resolutionEntry = 5;
    TextureLayer layer = newLayer("C:\\tex\\grass.bmp");
    layer.AltitudeMin = -3;
    layer.AltitudeMax = 140;
    layer.BlendPower = 2.5f;
    layer.UScale = 0.5f;
    layer.VScale = 4.0f;
    preset.layers << layer;
    return preset;
}

QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TEST(PresetFile, BytesOfOneLayerPutThePowerBeforeTheScales)
{
    EXPECT_EQ(presetContent(onePreset()),
              QByteArray("\"C:\\maps\\hills, big.bmp\"\r\n\"out.bmp\"\r\n5\r\n1\r\n"
                         "\"C:\\tex\\grass.bmp\"\r\n-3\r\n140\r\n2.5\r\n0.5\r\n4\r\n"));
}

TEST(PresetFile, EditingVScaleChangesOnlyTheSixthLineOfItsBlock)
{
    Preset preset = onePreset();
    preset.layers << newLayer("b.png");
    const QStringList before = presetLines(preset);
    preset.layers[1].VScale = 0.125f;
    const QStringList after = presetLines(preset);
    ASSERT_EQ(before.size(), 4 + 12);
    for (int i = 0; i < before.size(); ++i)
        EXPECT_EQ(before[i] == after[i], i != 4 + 6 + 5) << i;
    EXPECT_EQ(after[15], "0.125");
}

TEST(PresetFile, SavedAndReadBackGivesTheSameSetUp)
{
    QTemporaryDir dir;
    Preset preset = onePreset();
    preset.layers << newLayer("rock.png") << newLayer("");
    preset.layers[1].BlendPower = 1.57f;
    preset.layers[2].UScale = 1e-5f;
    ASSERT_TRUE(writePresetFile(dir.filePath("a.llp"), preset));
    const PresetReadResult read = readPresetFile(dir.filePath("a.llp"));
    ASSERT_TRUE(read.preset);
    EXPECT_TRUE(read.warnings.isEmpty()) << read.warnings.join('\n').toStdString();
    EXPECT_EQ(*read.preset, preset);
}

TEST(PresetFile, ReadsOtherNumberFormsAndUnquotedOrUnclosedTexts)
{
    const PresetReadResult read = parsePresetFile(
        "\"h.bmp\"\n  unquoted out.bmp  \n 3 \n1\n\"tex.bmp\r\n12abc\n 2.6E+2\n.5\n1E-05\n0.5\n", "x.llp");
    ASSERT_TRUE(read.preset);
    EXPECT_EQ(read.preset->heightMap, "h.bmp");
    EXPECT_EQ(read.preset->output, "unquoted out.bmp");
    EXPECT_EQ(read.preset->resolutionEntry, 3);
    ASSERT_EQ(read.preset->layers.size(), 1);
    const TextureLayer& layer = read.preset->layers[0];
    EXPECT_EQ(layer.TexturePath, "tex.bmp");
    EXPECT_EQ(layer.AltitudeMin, 12);
    EXPECT_EQ(layer.AltitudeMax, 260);
    EXPECT_EQ(layer.BlendPower, 0.5f);
    EXPECT_EQ(layer.UScale, 1e-5f);
    EXPECT_EQ(layer.VScale, 0.5f);
    EXPECT_EQ(quotedText("\"a,b\" trailing"), "a,b");
}

TEST(PresetFile, OddCountsAndIndexes)
{
    // Count 0: the paths and the entry, no layers.
    PresetReadResult read = parsePresetFile("\"h\"\r\n\"o\"\r\n2\r\n0\r\n", "zero.llp");
    ASSERT_TRUE(read.preset);
    EXPECT_EQ(read.preset->heightMap, "h");
    EXPECT_EQ(read.preset->resolutionEntry, 2);
    EXPECT_TRUE(read.preset->layers.isEmpty());
    EXPECT_TRUE(read.warnings.isEmpty());

    // A negative count reads as no layers, and says so.
    read = parsePresetFile("\"h\"\r\n\"o\"\r\n2\r\n-4\r\n\"t\"\r\n1\r\n2\r\n3\r\n4\r\n5\r\n", "negative.llp");
    ASSERT_TRUE(read.preset);
    EXPECT_TRUE(read.preset->layers.isEmpty());
    ASSERT_EQ(read.warnings.size(), 1);
    EXPECT_TRUE(read.warnings[0].contains("-4")) << read.warnings[0].toStdString();

    // More layers announced than present: the missing ones are empty, all 0.
    read = parsePresetFile("\"h\"\r\n\"o\"\r\n9\r\n3\r\n\"t\"\r\n1\r\n2\r\n3\r\n", "short.llp");
    ASSERT_TRUE(read.preset);
    EXPECT_EQ(read.preset->resolutionEntry, 9);   // out of range: the window keeps its entry
    ASSERT_EQ(read.preset->layers.size(), 3);
    EXPECT_EQ(read.preset->layers[0].TexturePath, "t");
    EXPECT_EQ(read.preset->layers[0].BlendPower, 3.0f);
    EXPECT_EQ(read.preset->layers[0].UScale, 0.0f);
    for (int i : {1, 2}) {
        const TextureLayer& missing = read.preset->layers[i];
        EXPECT_TRUE(missing.TexturePath.isEmpty());
        EXPECT_EQ(missing.AltitudeMax, 0);
        EXPECT_EQ(missing.BlendPower, 0.0f);
        EXPECT_EQ(missing.VScale, 0.0f);
    }
    EXPECT_GE(read.warnings.size(), 3);   // the entry, the count, the early end

    // Numbers that do not fit their field are 0.
    read = parsePresetFile("\"h\"\r\n\"o\"\r\n99999\r\n1\r\n\"t\"\r\n9e12\r\n1\r\n1e40\r\n1\r\n1\r\n", "big.llp");
    ASSERT_TRUE(read.preset);
    EXPECT_EQ(read.preset->resolutionEntry, 0);
    EXPECT_EQ(read.preset->layers[0].AltitudeMin, 0);
    EXPECT_EQ(read.preset->layers[0].BlendPower, 0.0f);
    EXPECT_EQ(read.warnings.size(), 3);
}

TEST(PresetFile, AnyBytesReadWithoutHarm)
{
    const PresetReadResult empty = parsePresetFile({}, "empty.llp");
    ASSERT_TRUE(empty.preset);
    EXPECT_TRUE(empty.preset->layers.isEmpty());
    EXPECT_FALSE(empty.warnings.isEmpty());

    QByteArray noise;
    for (int i = 0; i < 5000; ++i)
        noise.append(char((i * 7919) % 256));
    const PresetReadResult read = parsePresetFile(noise, "noise.llp");
    ASSERT_TRUE(read.preset);
    EXPECT_LE(read.preset->layers.size(), kMaxLayerCount);

    // The largest count of a short file stays bounded (empty layers).
    const PresetReadResult huge = parsePresetFile("\"\"\r\n\"\"\r\n0\r\n32767\r\n", "huge.llp");
    ASSERT_TRUE(huge.preset);
    EXPECT_EQ(huge.preset->layers.size(), 32767);

    const PresetReadResult missing = readPresetFile("/no/such/folder/x.llp");
    EXPECT_FALSE(missing.preset);
    EXPECT_TRUE(missing.error.contains("x.llp"));
}

TEST(PresetFile, AFailedSaveLeavesThePreviousPresetWhole)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("keep.llp");
    Preset small;
    ASSERT_TRUE(writePresetFile(path, small));
    const QByteArray before = fileBytes(path);

    // Writes beyond 64 bytes fail (as on a full disk).
    Preset large = onePreset();
    for (int i = 0; i < 50; ++i)
        large.layers << newLayer(QString("layer %1.bmp").arg(i));
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limited = saved;
    limited.rlim_cur = 64;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);
    const platform::SaveResult result = writePresetFile(path, large);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_FALSE(result.ok);
    EXPECT_FALSE(result.error.isEmpty());
    EXPECT_EQ(fileBytes(path), before);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList({"keep.llp"}));
}

} // namespace
} // namespace layerloom
