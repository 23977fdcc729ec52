#include "platform/Profile.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <random>

using namespace platform;

namespace {

class ProfileTest : public ::testing::Test {
protected:
    QString path(const QString& name = "test.ini") const { return dir_.filePath(name); }

    void put(const QByteArray& bytes, const QString& name = "test.ini") const
    {
        QFile f(path(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }

    QByteArray bytes(const QString& name = "test.ini") const
    {
        QFile f(path(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    QString read(const QString& section, const QString& key, const QString& def = "dflt") const
    {
        return getProfileString(section, key, def, 255, path());
    }

    QTemporaryDir dir_;
};

} // namespace

TEST_F(ProfileTest, MissingFileSectionOrKeyGivesDefaultAndCreatesNothing)
{
    EXPECT_EQ(read("Presets", "Name"), "dflt");
    EXPECT_EQ(read("Presets", "Name", ""), "");
    EXPECT_FALSE(QFile::exists(path()));
    EXPECT_TRUE(QDir(dir_.path()).isEmpty());

    put("[A]\r\nx=1\r\n");
    EXPECT_EQ(read("B", "x"), "dflt");
    EXPECT_EQ(read("A", "y"), "dflt");
    EXPECT_EQ(read("A", "y", "trailing  "), "trailing");
}

TEST_F(ProfileTest, NamesMatchWithoutCaseAndBlanksAreTrimmed)
{
    put("[presets]\r\n  Speed  =  12.5  \r\nq=\"  padded \"\r\n[ Other ]\r\nk=v\r\n");
    EXPECT_EQ(read("Presets", "SPEED"), "12.5");
    EXPECT_EQ(read("PRESETS", "q"), "  padded ");
    EXPECT_EQ(read("other", "K"), "v");
}

TEST_F(ProfileTest, ReadIsCutToTheBuffer)
{
    const QString longValue(300, u'x');
    ASSERT_TRUE(writeProfileString("S", "k", longValue, path()));
    EXPECT_EQ(getProfileString("S", "k", "", 255, path()), QString(254, u'x'));
    EXPECT_EQ(getProfileString("S", "k", "", 1, path()), "");
    EXPECT_EQ(getProfileString("S", "missing", "abcdef", 4, path()), "abc");
}

TEST_F(ProfileTest, WriteCreatesFileSectionAndKey)
{
    ASSERT_TRUE(writeProfileString("Emitter1", "Size", "4", path()));
    EXPECT_EQ(bytes(), "[Emitter1]\r\nSize=4\r\n");
    ASSERT_TRUE(writeProfileString("Emitter2", "Size", "5", path()));
    ASSERT_TRUE(writeProfileString("emitter1", "Life", "2", path()));
    ASSERT_TRUE(writeProfileString("EMITTER1", "size", "8", path()));   // in place, name kept
    EXPECT_EQ(bytes(), "[Emitter1]\r\nSize=8\r\nLife=2\r\n[Emitter2]\r\nSize=5\r\n");
}

TEST_F(ProfileTest, NewKeyGoesToTheEndOfItsSectionWhenOthersFollow)
{
    put("; presets\n[A]\nk1=1\n\n[B]\nx=2\n");
    ASSERT_TRUE(writeProfileString("A", "k2", "two", path()));
    EXPECT_EQ(bytes(), "; presets\n[A]\nk1=1\nk2=two\r\n\n[B]\nx=2\n");
    // A last line without its line end gets one before a new line follows.
    put("[A]\r\nk=1");
    ASSERT_TRUE(writeProfileString("A", "n", "2", path()));
    EXPECT_EQ(bytes(), "[A]\r\nk=1\r\nn=2\r\n");
    put("[A]\r\nk=1");
    ASSERT_TRUE(writeProfileString("B", "n", "2", path()));
    EXPECT_EQ(bytes(), "[A]\r\nk=1\r\n[B]\r\nn=2\r\n");
}

TEST_F(ProfileTest, ValuesRoundTripWithoutNulAndLineBreaksAreRefused)
{
    ASSERT_TRUE(writeProfileString("S", "k", QString("a") + QChar(u'\0') + "b", path()));
    EXPECT_EQ(read("S", "k"), "ab");
    ASSERT_TRUE(writeProfileString("S", "blanks", "  x ", path()));
    EXPECT_EQ(read("S", "blanks"), "  x ");
    ASSERT_TRUE(writeProfileString("S", "quoted", "\"q\"", path()));
    EXPECT_EQ(read("S", "quoted"), "\"q\"");
    ASSERT_TRUE(writeProfileString("S", "eq", "a=b;c", path()));
    EXPECT_EQ(read("S", "eq"), "a=b;c");
    ASSERT_TRUE(writeProfileString("S", "utf", "Grüße", path()));
    EXPECT_EQ(read("S", "utf"), "Grüße");

    const QByteArray before = bytes();
    EXPECT_FALSE(writeProfileString("S", "k", "line1\r\n[Injected]", path()));
    EXPECT_FALSE(writeProfileString("S]x", "k", "v", path()));
    EXPECT_FALSE(writeProfileString("S", "a=b", "v", path()));
    EXPECT_FALSE(writeProfileString("S", "", "v", path()));
    EXPECT_EQ(bytes(), before);
}

TEST_F(ProfileTest, DeleteKeyAndSection)
{
    const QByteArray original = "[A]\nk1=1\nk2=2\n[B]\nx=1\n";
    put(original);
    ASSERT_TRUE(deleteProfileKey("A", "missing", path()));
    ASSERT_TRUE(deleteProfileKey("Nope", "k1", path()));
    EXPECT_EQ(bytes(), original);   // byte for byte
    ASSERT_TRUE(deleteProfileKey("a", "K1", path()));
    EXPECT_EQ(bytes(), "[A]\nk2=2\n[B]\nx=1\n");
    ASSERT_TRUE(deleteProfileSection("a", path()));
    EXPECT_EQ(bytes(), "[B]\nx=1\n");
    ASSERT_TRUE(deleteProfileSection("none", path()));
    EXPECT_EQ(bytes(), "[B]\nx=1\n");

    EXPECT_TRUE(deleteProfileKey("A", "k", path("absent.ini")));
    EXPECT_TRUE(deleteProfileSection("A", path("absent.ini")));
    EXPECT_FALSE(QFile::exists(path("absent.ini")));
}

TEST_F(ProfileTest, KeyNamesInFileOrderCutToTheBuffer)
{
    put("[Presets]\r\nk1=a\r\nnot a key\r\nk2=b\r\n[Other]\r\nz=1\r\n");
    const QString names = getProfileKeyNames("presets", 8192, path());
    EXPECT_EQ(names, QString("k1") + QChar(u'\0') + "k2" + QChar(u'\0'));
    EXPECT_EQ(splitNulList(names), (QStringList{"k1", "k2"}));
    // "k1\0k2\0" needs 7 characters with the final NUL.
    EXPECT_EQ(getProfileKeyNames("Presets", 7, path()), names);
    EXPECT_EQ(splitNulList(getProfileKeyNames("Presets", 6, path())), (QStringList{"k1", "k"}));
    EXPECT_EQ(splitNulList(getProfileKeyNames("Presets", 5, path())), (QStringList{"k1"}));
    EXPECT_TRUE(getProfileKeyNames("Missing", 8192, path()).isEmpty());
    EXPECT_TRUE(getProfileKeyNames("Presets", 8192, path("absent.ini")).isEmpty());
    EXPECT_EQ(splitNulList(getProfileSectionNames(100, path())), (QStringList{"Presets", "Other"}));
}

TEST_F(ProfileTest, BadInputReadsLikeWindowsAndWritesKeepIt)
{
    // Unparseable lines are passed over on read and kept on write.
    const QByteArray messy = "garbage line\n[Broken header\nlost=1\n[S]\n=novalue\nk=v\n\xff\xfe\x00\x01\n";
    put(messy);
    EXPECT_EQ(read("S", "k"), "v");
    EXPECT_EQ(read("Broken header", "lost"), "dflt");
    ASSERT_TRUE(writeProfileString("S", "n", "1", path()));
    EXPECT_TRUE(bytes().startsWith("garbage line\n[Broken header\nlost=1\n[S]\n=novalue\nk=v\n\xff\xfe\x00\x01"));
    EXPECT_EQ(read("S", "n"), "1");

    put("");
    EXPECT_EQ(read("S", "k"), "dflt");
    EXPECT_EQ(getProfileKeyNames("S", 100, path()), "");

    put(QByteArray(200000, 'a') + "=b\n[S]\nk=" + QByteArray(100000, 'v') + "\n");
    EXPECT_EQ(read("S", "k"), QString(254, u'v'));
}

TEST_F(ProfileTest, ALatin1FileKeepsTheMeaningOfItsTextWhenAWriteLeavesOnlyUtf8Bytes)
{
    // Read as Latin-1 because of the lone 0xE9; the header's two bytes are
    // then the two characters "Ã©", not "é".
    put("[Caf\xC3\xA9]\r\nKey=\xE9\r\nOther=\xC3\xA9\r\n");
    const QString section = QString::fromLatin1("Caf\xC3\xA9");
    ASSERT_EQ(read(section, "Key"), QString::fromLatin1("\xE9"));
    ASSERT_TRUE(writeProfileString(section, "Key", "plain", path()));
    EXPECT_EQ(read(section, "Key"), "plain");
    EXPECT_EQ(read(section, "Other"), QString::fromLatin1("\xC3\xA9"));
    EXPECT_EQ(bytes(), "[Caf\xC3\x83\xC2\xA9]\r\nKey=plain\r\nOther=\xC3\x83\xC2\xA9\r\n");
    // Deleting the key that held the only Latin-1 byte works the same way.
    put("[Caf\xC3\xA9]\r\nKey=\xE9\r\nOther=1\r\n");
    ASSERT_TRUE(deleteProfileKey(section, "Key", path()));
    EXPECT_EQ(read(section, "Other"), "1");
    // A Latin-1 file that stays Latin-1 keeps its bytes.
    put("[S]\r\nA=\xE9\r\nB=1\r\n");
    ASSERT_TRUE(writeProfileString("S", "B", "2", path()));
    EXPECT_EQ(bytes(), "[S]\r\nA=\xE9\r\nB=2\r\n");
}

TEST_F(ProfileTest, RandomBytesNeverCrash)
{
    std::mt19937 random(1234);
    const char alphabet[] = "[]=;\r\n \tab\x00\xff";
    for (int round = 0; round < 40; ++round) {
        QByteArray garbage;
        const int size = static_cast<int>(random() % 400);
        for (int i = 0; i < size; ++i)
            garbage += (random() % 3 == 0) ? static_cast<char>(random() % 256)
                                            : alphabet[random() % (sizeof alphabet - 1)];
        put(garbage);
        read("a", "b");
        getProfileKeyNames("a", 64, path());
        EXPECT_TRUE(writeProfileString("a", "b", "c", path()));
        EXPECT_EQ(read("a", "b"), "c");
        EXPECT_TRUE(deleteProfileKey("a", "b", path()));
        EXPECT_EQ(read("a", "b"), "dflt");
    }
}

TEST_F(ProfileTest, EveryCallSeesTheFileAsItIsNow)
{
    ASSERT_TRUE(writeProfileString("S", "k", "1", path()));
    put("[S]\r\nk=changed outside\r\n");
    EXPECT_EQ(read("S", "k"), "changed outside");
    ASSERT_TRUE(writeProfileString("S", "n", "2", path()));
    EXPECT_EQ(bytes(), "[S]\r\nk=changed outside\r\nn=2\r\n");
}

TEST_F(ProfileTest, UnreadableFilesAreNeverOverwritten)
{
    // Too large to read: reads give the default, writes fail, the file stays.
    {
        QFile big(path());
        ASSERT_TRUE(big.open(QIODevice::WriteOnly));
        big.write("[S]\r\nk=v\r\n");
        ASSERT_TRUE(big.resize(65 * 1024 * 1024));   // sparse
    }
    EXPECT_EQ(read("S", "k"), "dflt");
    EXPECT_FALSE(writeProfileString("S", "k", "new", path()));
    EXPECT_FALSE(deleteProfileKey("S", "k", path()));
    EXPECT_FALSE(deleteProfileSection("S", path()));
    EXPECT_EQ(QFileInfo(path()).size(), 65 * 1024 * 1024);

    // A folder in the file's place.
    ASSERT_TRUE(QDir(dir_.path()).mkdir("folder.ini"));
    EXPECT_EQ(getProfileString("S", "k", "d", 255, path("folder.ini")), "d");
    EXPECT_FALSE(writeProfileString("S", "k", "v", path("folder.ini")));
    // A file in a folder that does not exist cannot be created.
    EXPECT_FALSE(writeProfileString("S", "k", "v", path("missing/x.ini")));
}

TEST_F(ProfileTest, FilesAndLinesBeyondTheLimitsAreRefusedWithAReason)
{
    // A line of the longest length is read and the file edited.
    const QByteArray longest(MaxProfileLineLength - 2, 'v');
    put("[S]\r\nk=" + longest + "\r\n");
    EXPECT_EQ(getProfileString("S", "k", "d", 32767, path()).size(), 32766);
    EXPECT_TRUE(profileFileProblem(path()).isEmpty());
    ASSERT_TRUE(writeProfileString("S", "n", "1", path()));

    // One character more: nothing is read, nothing written, the file stays.
    const QByteArray tooLong = "[S]\r\nn=1\r\nk=" + longest + "v\r\n";
    put(tooLong);
    EXPECT_EQ(read("S", "n"), "dflt");
    EXPECT_TRUE(splitNulList(getProfileSectionNames(1024, path())).isEmpty());
    EXPECT_FALSE(writeProfileString("S", "n", "2", path()));
    EXPECT_FALSE(deleteProfileKey("S", "n", path()));
    EXPECT_EQ(bytes(), tooLong);
    EXPECT_TRUE(profileFileProblem(path()).contains(QStringLiteral("line 3 is longer than %1 characters").arg(MaxProfileLineLength)))
        << profileFileProblem(path()).toStdString();
    EXPECT_TRUE(profileFileProblem(path()).contains(path()));

    // A byte over the size limit (sparse, so the test stays small on disk).
    {
        QFile big(path("big.ini"));
        ASSERT_TRUE(big.open(QIODevice::WriteOnly));
        big.write("[S]\r\nk=v\r\n");
        ASSERT_TRUE(big.resize(MaxProfileFileSize + 1));
    }
    EXPECT_EQ(getProfileString("S", "k", "d", 255, path("big.ini")), "d");
    EXPECT_FALSE(writeProfileString("S", "k", "w", path("big.ini")));
    EXPECT_EQ(QFileInfo(path("big.ini")).size(), MaxProfileFileSize + 1);
    EXPECT_TRUE(profileFileProblem(path("big.ini")).contains("too large"));
    EXPECT_TRUE(profileFileProblem(path("missing.ini")).isEmpty());
}
