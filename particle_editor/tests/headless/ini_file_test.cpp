// INI access through the shared object and the module procedures.
#include "core/cInifile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace emberly {
namespace {

QByteArray bytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void put(const QString& path, const QByteArray& content)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(content);
}

struct IniTest : ::testing::Test {
    QTemporaryDir dir;
    QString file(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }
};

TEST_F(IniTest, AKeyOfAMissingFileReadsEmptyAndCreatesNothing)
{
    EXPECT_EQ(ReadIniValue(file("none.ini"), "Fire", "0Size"), "");
    KeyList keys;
    EXPECT_EQ(EnumerateIniKeys(file("none.ini"), "Presets", keys), 0);
    EXPECT_EQ(keys.count(), 0);
    EXPECT_FALSE(QFile::exists(file("none.ini")));
    // The object's Default comes back for a missing key.
    cInifile ini;
    ini.Path = file("none.ini");
    ini.Section = "S";
    ini.Key = "k";
    ini.Default = "fallback";
    EXPECT_EQ(ini.Value(), "fallback");
}

TEST_F(IniTest, WritesDropNulsReplaceInPlaceAndReportSuccess)
{
    const QString path = file("a.ini");
    WriteIniValue(path, "S", "k1", QString("a") + QChar(u'\0') + "b");
    EXPECT_TRUE(sharedIniFile().Success());
    EXPECT_EQ(sharedIniFile().LastReturnCode(), 1);
    EXPECT_EQ(ReadIniValue(path, "S", "k1"), "ab");
    WriteIniValue(path, "S", "k2", "2");
    WriteIniValue(path, "s", "K1", "again");
    EXPECT_EQ(bytes(path), "[S]\r\nk1=again\r\nk2=2\r\n");
    // A write that cannot reach the file leaves Success false.
    WriteIniValue(dir.path(), "S", "k", "v");
    EXPECT_FALSE(sharedIniFile().Success());
    EXPECT_EQ(sharedIniFile().LastReturnCode(), 0);
}

TEST_F(IniTest, ReadsAreCutTo254Characters)
{
    const QString path = file("long.ini");
    WriteIniValue(path, "S", "k", QString(400, u'x'));
    EXPECT_EQ(ReadIniValue(path, "S", "k").size(), 254);
}

TEST_F(IniTest, DeletingMissingThingsLeavesTheFileByteForByte)
{
    const QString path = file("keep.ini");
    const QByteArray content = "; note\r\n[Presets]\r\nFire=Fire\r\n\r\n[Fire]\r\n0Size=5\r\n";
    put(path, content);
    DeleteIniKey(path, "Presets", "Smoke");
    EXPECT_EQ(bytes(path), content);
    DeleteIniSection(path, "Smoke");
    EXPECT_EQ(bytes(path), content);
    DeleteIniKey(path, "PRESETS", "fire");
    EXPECT_EQ(ReadIniValue(path, "Presets", "Fire"), "");
    DeleteIniSection(path, "fire");
    EXPECT_EQ(ReadIniValue(path, "Fire", "0Size"), "");
}

TEST_F(IniTest, SectionsEnumerateOneBasedInFileOrderWithoutRegardToCase)
{
    const QString path = file("e.ini");
    put(path, "[Presets]\r\nk1=a\r\nk2=b\r\n[Other]\r\nz=1\r\n");
    KeyList keys;
    int count = -1;
    cInifile ini;
    ini.Path = path;
    ini.Section = "presets";
    ini.EnumerateCurrentSection(keys, count);
    EXPECT_EQ(count, 2);
    EXPECT_EQ(keys(1), "k1");
    EXPECT_EQ(keys(2), "k2");
    EXPECT_EQ(ini.INISection(), QString("k1") + QChar(u'\0') + "k2" + QChar(u'\0'));
    EXPECT_EQ(ReadIniValue(path, "OTHER", "Z"), "1");
    EXPECT_EQ(EnumerateIniKeys(path, "Missing", keys), 0);
}

TEST_F(IniTest, AnyBytesReadWithoutHarm)
{
    const QString path = file("junk.ini");
    QByteArray junk;
    for (int i = 0; i < 4096; ++i)
        junk.append(char((i * 7919) % 256));
    junk.append("\n[S]\nk=v\n");
    put(path, junk);
    EXPECT_EQ(ReadIniValue(path, "S", "k"), "v");
    KeyList keys;
    EXPECT_GE(EnumerateIniKeys(path, "S", keys), 1);
}

} // namespace
} // namespace emberly
