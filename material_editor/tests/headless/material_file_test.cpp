#include "core/MaterialFile.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <csignal>
#include <sys/resource.h>

using namespace glazery;

namespace {

QByteArray readBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// Every field different from its default.
MaterialSettings everyFieldChanged()
{
    MaterialSettings s;
    s.material.ambient = {"1", "2", "3", "4"};
    s.material.diffuse = {"5", "6", "7", "8"};
    s.material.emissive = {"9", "10", "11", "12"};
    s.material.specular = {"13", "14", "15", "16"};
    s.material.power = "17.5";
    s.backgroundPath = "/tmp/back ground.jpg";
    s.texturePath = "C:\\textures\\Fabric.bmp";
    s.bumpMapPath = "bump.tif";
    s.bumpMappingOff = false;
    s.sphereMapping = true;
    s.lightOn = false;
    s.shownObject = 7;
    s.light.direction = {"-2", "3", "-4"};
    s.light.position = {"100", "-200", "300"};
    s.light.ambient = {"21", "22", "23"};
    s.light.diffuse = {"24", "25", "26"};
    s.light.specular = {"27", "28", "29"};
    s.light.range = "4321";
    s.light.phi = "60";
    s.light.theta = "30";
    s.light.typeRow = kSpotRow;
    return s;
}

QByteArray contentWithLine(int lineNumber, const QByteArray& text)
{
    QList<QByteArray> lines = materialFileContent(MaterialSettings{}).split('\n');
    lines[lineNumber - 1] = text + '\r';
    return lines.join('\n');
}

} // namespace

TEST(MaterialFile, StartUpStateIsFortyThreeLinesInTheFileForms)
{
    const QByteArray expected =
        "255\r\n0\r\n0\r\n0\r\n"
        "0\r\n0\r\n0\r\n255\r\n"
        "0\r\n0\r\n0\r\n0\r\n"
        "0\r\n0\r\n0\r\n0\r\n"
        "0\r\n"
        "<none>\r\n<none>\r\n<none>\r\n"
        "True\r\n"
        " 0 \r\n"
        "1\r\n-1\r\n1\r\n"
        "True\r\n"
        " 0 \r\n"
        "1\r\n-1\r\n1\r\n"
        "0\r\n0\r\n0\r\n"
        "255\r\n255\r\n255\r\n"
        "255\r\n255\r\n255\r\n"
        "1000\r\n90\r\n80\r\n"
        " 0 \r\n";
    EXPECT_EQ(materialFileContent(MaterialSettings{}), expected);
}

TEST(MaterialFile, SaveAndLoadReproduceEveryField)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("round.mkl");
    for (const MaterialSettings& original : {MaterialSettings{}, everyFieldChanged()}) {
        const SaveResult saved = writeMaterialFile(path, original);
        ASSERT_TRUE(saved.ok) << saved.error.toStdString();
        EXPECT_EQ(readBytes(path).count("\r\n"), kMaterialFileLineCount);
        const MaterialReadResult read = readMaterialFile(path);
        ASSERT_TRUE(read.settings.has_value()) << read.error.toStdString();
        EXPECT_TRUE(read.error.isEmpty());
        EXPECT_TRUE(read.warnings.isEmpty());
        EXPECT_EQ(*read.settings, original);
    }
    // The file forms of the changed fields.
    const QList<QByteArray> lines = readBytes(path).split('\n');
    EXPECT_EQ(lines[20], "False\r");
    EXPECT_EQ(lines[21], " 1 \r");
    EXPECT_EQ(lines[25], "False\r");
    EXPECT_EQ(lines[26], " 7 \r");
    EXPECT_EQ(lines[40], "60\r"); // phi before theta
    EXPECT_EQ(lines[41], "30\r");
    EXPECT_EQ(lines[42], " 2 \r");
}

TEST(MaterialFile, SwitchLinesAreReadByTheirValues)
{
    const auto parse = [](int line, const QByteArray& text) {
        return *parseMaterialFile(contentWithLine(line, text), "x.mkl").settings;
    };
    EXPECT_TRUE(parse(22, " 1 ").sphereMapping);
    EXPECT_TRUE(parse(22, "1").sphereMapping);
    EXPECT_FALSE(parse(22, " 0 ").sphereMapping);
    EXPECT_FALSE(parse(22, "0").sphereMapping);
    EXPECT_FALSE(parse(22, " 2 ").sphereMapping);
    EXPECT_EQ(parse(43, " 2 ").light.typeRow, kSpotRow);
    EXPECT_EQ(parse(43, "1").light.typeRow, kPointRow);
    EXPECT_EQ(parse(27, " 5 ").shownObject, 5);
    // Only the exact word switches: anything else means bump mapping on / light off.
    EXPECT_FALSE(parse(21, "true").bumpMappingOff);
    EXPECT_FALSE(parse(21, "False").bumpMappingOff);
    EXPECT_FALSE(parse(26, "TRUE").lightOn);
    // Material boxes keep the text as it stands, no clamping.
    EXPECT_EQ(parse(1, "300").material.ambient.red, "300");
}

TEST(MaterialFile, AcceptsEveryLineEnd)
{
    const QByteArray crlf = materialFileContent(everyFieldChanged());
    QByteArray lf = crlf;
    lf.replace("\r\n", "\n");
    QByteArray cr = crlf;
    cr.replace("\r\n", "\r");
    QByteArray noFinalEnd = lf;
    noFinalEnd.chop(1);
    for (const QByteArray& content : {lf, cr, noFinalEnd}) {
        const MaterialReadResult read = parseMaterialFile(content, "x.mkl");
        ASSERT_TRUE(read.settings.has_value()) << read.error.toStdString();
        EXPECT_EQ(*read.settings, everyFieldChanged());
    }
}

TEST(MaterialFile, ShortMissingOrGarbageFilesChangeNothing)
{
    QTemporaryDir dir;
    const MaterialReadResult missing = readMaterialFile(dir.filePath("gone.mkl"));
    EXPECT_FALSE(missing.settings.has_value());
    EXPECT_TRUE(missing.error.contains("gone.mkl"));

    QByteArray shortFile = materialFileContent(MaterialSettings{});
    shortFile.truncate(shortFile.indexOf("1000\r\n")); // stops after line 39
    const MaterialReadResult cut = parseMaterialFile(shortFile, "cut.mkl");
    EXPECT_FALSE(cut.settings.has_value());
    EXPECT_TRUE(cut.error.contains("cut.mkl"));
    EXPECT_TRUE(cut.error.contains("39"));

    EXPECT_FALSE(parseMaterialFile({}, "empty.mkl").settings.has_value());

    // Arbitrary bytes: never a crash; 43 lines of garbage still read as texts.
    QByteArray garbage;
    for (int i = 0; i < 5000; ++i)
        garbage.append(char((i * 7919) % 256));
    EXPECT_FALSE(parseMaterialFile(garbage, "garbage.mkl").settings.has_value());
    QByteArray garbageLines;
    for (int i = 0; i < 43; ++i)
        garbageLines.append(QByteArray("\xff\x00\xfe garbage 1E999 &Hzz\r\n", 24));
    const MaterialReadResult odd = parseMaterialFile(garbageLines, "odd.mkl");
    ASSERT_TRUE(odd.settings.has_value());
    EXPECT_EQ(odd.settings->shownObject, 0);
    EXPECT_EQ(odd.settings->light.typeRow, kDirectionalRow);
}

TEST(MaterialFile, OutOfRangeIndexesFallBackWithAWarning)
{
    const MaterialReadResult object = parseMaterialFile(contentWithLine(27, " 12 "), "x.mkl");
    ASSERT_TRUE(object.settings.has_value());
    EXPECT_EQ(object.settings->shownObject, 0);
    ASSERT_EQ(object.warnings.size(), 1);
    EXPECT_TRUE(object.warnings[0].contains("12"));

    const MaterialReadResult row = parseMaterialFile(contentWithLine(43, "99999"), "x.mkl");
    ASSERT_TRUE(row.settings.has_value());
    EXPECT_EQ(row.settings->light.typeRow, kDirectionalRow);
    EXPECT_EQ(row.warnings.size(), 1);
}

TEST(MaterialFile, LightSettingsReadOnlyTheLightLines)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("default.mkl");
    ASSERT_TRUE(writeMaterialFile(path, everyFieldChanged()).ok);
    const MaterialReadResult read = readLightSettings(path);
    ASSERT_TRUE(read.settings.has_value());

    MaterialSettings current; // the window's state: material untouched by "Default"
    current.material.ambient.red = "77";
    applyLightPart(current, *read.settings);
    EXPECT_EQ(current.light, everyFieldChanged().light);
    EXPECT_EQ(current.lightOn, false);
    EXPECT_EQ(current.shownObject, 7);
    EXPECT_EQ(current.material.ambient.red, "77");
    EXPECT_EQ(current.texturePath, kNoFileText);

    EXPECT_FALSE(readLightSettings(dir.filePath("none.mkl")).settings.has_value());
    QByteArray shortFile = materialFileContent(MaterialSettings{});
    shortFile.chop(5); // the last line is gone
    writeBytes(path, shortFile);
    EXPECT_FALSE(readLightSettings(path).settings.has_value());
}

TEST(MaterialFile, TexturePathsFallBackToNoneAndTheDefault)
{
    QTemporaryDir dir;
    QDir(dir.path()).mkpath("Data/textures");
    writeBytes(dir.filePath("Data/textures/Fabrics004.jpg"), "jpg");
    writeBytes(dir.filePath("mine.bmp"), "bmp");

    const TextureChoice kept = chooseTexture(dir.filePath("mine.bmp"), kDefaultFabricFile, dir.path());
    EXPECT_EQ(kept.boxText, dir.filePath("mine.bmp"));
    EXPECT_EQ(kept.fileToLoad, dir.filePath("mine.bmp"));
    EXPECT_FALSE(kept.usesDefault);

    // A relative name in Windows form and another letter case still counts.
    EXPECT_TRUE(namesExistingFile("DATA\\Textures\\fabrics004.JPG", dir.path()));

    for (const QString& gone : {dir.filePath("deleted.bmp"), kNoFileText, QString()}) {
        const TextureChoice fallback = chooseTexture(gone, kDefaultFabricFile, dir.path());
        EXPECT_EQ(fallback.boxText, kNoFileText);
        EXPECT_EQ(fallback.fileToLoad, dir.filePath("Data/textures/Fabrics004.jpg"));
        EXPECT_TRUE(fallback.usesDefault);
    }
    // A folder is not a texture file.
    EXPECT_FALSE(namesExistingFile(dir.filePath("Data"), dir.path()));
}

TEST(MaterialFile, FailedSaveKeepsThePreviousFileWhole)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("keep.mkl");
    ASSERT_TRUE(writeMaterialFile(path, MaterialSettings{}).ok);
    const QByteArray before = readBytes(path);

    // Let no file grow beyond 100 bytes, so writing the new content fails midway.
    MaterialSettings bigger = everyFieldChanged();
    bigger.texturePath = QString(300, u'p');
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit previousLimit{};
    getrlimit(RLIMIT_FSIZE, &previousLimit);
    rlimit limit = previousLimit;
    limit.rlim_cur = 100;
    setrlimit(RLIMIT_FSIZE, &limit);
    const SaveResult saved = writeMaterialFile(path, bigger);
    setrlimit(RLIMIT_FSIZE, &previousLimit);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_FALSE(saved.ok);
    EXPECT_FALSE(saved.error.isEmpty());
    EXPECT_EQ(readBytes(path), before);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"keep.mkl"});

    // A folder in the way is reported too.
    EXPECT_FALSE(writeMaterialFile(dir.filePath("no/such/folder.mkl"), bigger).ok);
}

TEST(MaterialFile, LineBreaksInsideATextDoNotShiftTheLines)
{
    MaterialSettings s;
    s.material.power = "1\r\n2";
    s.texturePath = "a\nb";
    const QStringList lines = materialFileLines(s);
    ASSERT_EQ(lines.size(), kMaterialFileLineCount);
    EXPECT_EQ(lines[16], "1 2");
    EXPECT_EQ(parseMaterialFile(materialFileContent(s), "x").settings->light, s.light);
}
