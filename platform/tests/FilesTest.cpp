#include "platform/Paths.h"
#include "platform/SaveFaults.h"
#include "platform/TextFile.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <csignal>
#include <sys/resource.h>
#include <unistd.h>

using namespace platform;

namespace {

void writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QByteArray readBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

} // namespace

TEST(Paths, JoinsToleratingEitherSeparator)
{
    EXPECT_EQ(joinPath("/opt/Glazery", "\\debugfile.txt"), "/opt/Glazery/debugfile.txt");
    EXPECT_EQ(joinPath("/opt/Glazery/", "/Readme.txt"), "/opt/Glazery/Readme.txt");
    EXPECT_EQ(joinPath("/opt//Glazery\\\\", "Data\\\\textures\\a.bmp"), "/opt/Glazery/Data/textures/a.bmp");
    EXPECT_EQ(joinPath("/", "x"), "/x");
    EXPECT_EQ(joinPath("", "a\\b"), "a/b");
    EXPECT_EQ(normalizeSeparators("a\\\\b//c"), "a/b/c");
}

TEST(Paths, ResolvesWindowsPathsWithoutRegardToCase)
{
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkpath("Data/models"));
    writeBytes(dir.filePath("Data/models/Sphere.X"), "x");
    const QString expected = dir.filePath("Data/models/Sphere.X");

    EXPECT_EQ(resolvePath("data\\models\\Sphere.X", dir.path()), expected);
    EXPECT_EQ(resolvePath("DATA\\MODELS\\sphere.x", dir.path()), expected);
    EXPECT_EQ(resolvePath(dir.path() + "\\data\\Models\\SPHERE.X"), expected);
    EXPECT_EQ(resolvePath(".\\data\\x\\..\\models\\sphere.x", dir.path()), expected);
    // A new file in an existing folder keeps its own spelling.
    EXPECT_EQ(resolvePath("data\\models\\New.X", dir.path()), dir.filePath("Data/models/New.X"));
    EXPECT_EQ(resolvePath("nothere\\Sub\\f.txt", dir.path()), dir.filePath("nothere/Sub/f.txt"));

    // The exact spelling wins over another match.
    ASSERT_TRUE(QDir(dir.path()).mkpath("data/models"));
    writeBytes(dir.filePath("data/models/sphere.x"), "y");
    EXPECT_EQ(resolvePath("data\\models\\sphere.x", dir.path()), dir.filePath("data/models/sphere.x"));
    EXPECT_EQ(resolvePath("Data\\models\\Sphere.X", dir.path()), expected);
}

TEST(Paths, ProgramFolderCanBeReplaced)
{
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkpath("Media"));
    setProgramFolder(dir.path());
    EXPECT_EQ(programFolder(), dir.path());
    EXPECT_EQ(programPath("media\\a.bmp"), dir.filePath("Media/a.bmp"));
    setProgramFolder({});
    EXPECT_NE(programFolder(), dir.path());
}

TEST(TextFile, LinesAreWrittenWithCrLfAndReadWithAnyLineEnd)
{
    EXPECT_EQ(joinLinesCrLf({"a", "", "ü"}), "a\r\n\r\n\xC3\xBC\r\n");
    EXPECT_EQ(splitLines("a\r\nb\nc\rd"), (QStringList{"a", "b", "c", "d"}));
    EXPECT_EQ(splitLines("a\r\n"), QStringList{"a"});
    EXPECT_EQ(splitLines("a\n\nb\r\r"), (QStringList{"a", "", "b", ""}));
    EXPECT_TRUE(splitLines("").isEmpty());

    QTemporaryDir dir;
    const QString path = dir.filePath("t.txt");
    ASSERT_TRUE(writeTextLines(path, {"one", "two"}));
    EXPECT_EQ(readBytes(path), "one\r\ntwo\r\n");
    const LinesResult lines = readTextLines(path);
    ASSERT_TRUE(lines);
    EXPECT_EQ(lines.lines, (QStringList{"one", "two"}));
}

TEST(TextFile, DecodesUtf8AndFallsBackToLatin1)
{
    EXPECT_EQ(decodeText("\xEF\xBB\xBFGr\xC3\xBC\xC3\x9F"), "Grüß");
    EXPECT_EQ(decodeText("Gr\xFC\xDF"), "Grüß");   // ANSI bytes
    EXPECT_FALSE(isValidUtf8("\xFF"));
}

TEST(TextFile, ReadingReportsMissingAndOversizedFiles)
{
    QTemporaryDir dir;
    const ReadResult missing = readWholeFile(dir.filePath("none"));
    EXPECT_FALSE(missing);
    EXPECT_TRUE(missing.error.contains("not found"));
    EXPECT_FALSE(readWholeFile(dir.path()));

    writeBytes(dir.filePath("big"), QByteArray(1000, 'x'));
    const ReadResult big = readWholeFile(dir.filePath("big"), 999);
    EXPECT_FALSE(big);
    EXPECT_TRUE(big.error.contains("too large"));
    EXPECT_TRUE(readWholeFile(dir.filePath("big"), 1000));
}

TEST(TextFile, ReadingTakesWholeFilesAndFilesOfNoReportedSize)
{
    QTemporaryDir dir;
    QByteArray content;
    for (int i = 0; i < 300000; ++i)
        content += char('a' + i % 26);
    writeBytes(dir.filePath("long"), content);
    const ReadResult whole = readWholeFile(dir.filePath("long"));
    ASSERT_TRUE(whole);
    EXPECT_EQ(whole.data, content);

    // Files of the proc file system report a size of 0 and are read in pieces,
    // the limit applying all the same.
    const ReadResult status = readWholeFile("/proc/self/status");
    ASSERT_TRUE(status) << status.error.toStdString();
    EXPECT_TRUE(status.data.startsWith("Name:"));
    EXPECT_TRUE(status.data.contains("\nVmRSS:") || status.data.contains("\nPid:"));
    const ReadResult cut = readWholeFile("/proc/self/status", 10);
    EXPECT_FALSE(cut);
    EXPECT_TRUE(cut.error.contains("too large"));
}

TEST(TextFile, AtomicSaveReplacesWholeAndCreatesNoLeftovers)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("doc.mkl");
    ASSERT_TRUE(saveFileAtomically(path, "first"));
    ASSERT_TRUE(saveFileAtomically(path, "second version"));
    EXPECT_EQ(readBytes(path), "second version");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"doc.mkl"});

    const SaveResult intoFolder = saveFileAtomically(dir.path(), "x");
    EXPECT_FALSE(intoFolder);
    EXPECT_FALSE(intoFolder.error.isEmpty());
    EXPECT_FALSE(saveFileAtomically(dir.filePath("no/such/folder/doc"), "x"));
}

TEST(TextFile, FailedSaveLeavesTheOldFileWhole)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("doc.pkl");
    writeBytes(path, "old content");

    // A write that runs out of room (file size limit, as on a full disk).
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 4096;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const SaveResult full = saveFileAtomically(path, QByteArray(100000, 'n'));
    // Small enough to sit in the write buffer until the file is committed.
    const SaveResult buffered = saveFileAtomically(path, QByteArray(10000, 'b'));
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);
    EXPECT_FALSE(full);
    EXPECT_FALSE(buffered);
    EXPECT_EQ(readBytes(path), "old content");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"doc.pkl"});

    // A folder that cannot be written (permissions do not bind root).
    if (geteuid() != 0) {
        QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner);
        EXPECT_FALSE(saveFileAtomically(path, "new"));
        QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        EXPECT_EQ(readBytes(path), "old content");
    }
}

TEST(TextFile, EachInjectedSaveFaultKeepsTheOldFileAndNamesIt)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("doc.ini");
    writeBytes(path, "old content\r\n");
    const QByteArray longer(20000, 'x');
    for (const SaveFault fault : {SaveFault::Open, SaveFault::Write, SaveFault::Flush, SaveFault::Rename}) {
        const ScopedSaveFault injected(fault);
        const SaveResult result = saveFileAtomically(path, longer);
        EXPECT_FALSE(result) << int(fault);
        EXPECT_TRUE(result.error.contains(path)) << result.error.toStdString();
        EXPECT_EQ(readBytes(path), "old content\r\n") << int(fault);
        // No temporary file is left beside the document.
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"doc.ini"}) << int(fault);
    }
    // The first saves pass, the next fails.
    {
        const ScopedSaveFault third(SaveFault::Write, 2);
        EXPECT_TRUE(saveFileAtomically(dir.filePath("a"), "1"));
        EXPECT_TRUE(saveFileAtomically(dir.filePath("b"), "2"));
        EXPECT_FALSE(saveFileAtomically(path, longer));
        EXPECT_FALSE(saveFileAtomically(dir.filePath("a"), "3"));
    }
    EXPECT_EQ(readBytes(dir.filePath("a")), "1");
    EXPECT_EQ(readBytes(path), "old content\r\n");
    // The environment form, for whole programs; the scoped fault wins over it.
    qputenv("KORLITH3D_SAVE_FAULT", "rename");
    EXPECT_EQ(activeSaveFault(), SaveFault::Rename);
    EXPECT_FALSE(saveFileAtomically(path, longer));
    {
        const ScopedSaveFault flush(SaveFault::Flush);
        EXPECT_EQ(activeSaveFault(), SaveFault::Flush);
    }
    qunsetenv("KORLITH3D_SAVE_FAULT");
    EXPECT_EQ(activeSaveFault(), SaveFault::None);
    EXPECT_EQ(readBytes(path), "old content\r\n");
    ASSERT_TRUE(saveFileAtomically(path, longer));
    EXPECT_EQ(readBytes(path), longer);
}

TEST(TextFile, AProcessKilledBetweenWriteAndRenameLeavesTheOldFile)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    QTemporaryDir dir;
    const QString path = dir.filePath("doc.ldm");
    writeBytes(path, "[OLD]\r\nKey=1\r\n");
    EXPECT_EXIT(
        {
            const ScopedSaveFault crash(SaveFault::Crash);
            saveFileAtomically(path, QByteArray(5000, 'n'));
        },
        ::testing::ExitedWithCode(kSaveCrashExitCode), "");
    EXPECT_EQ(readBytes(path), "[OLD]\r\nKey=1\r\n");
    // The next save replaces the document (and only it carries the name).
    ASSERT_TRUE(saveFileAtomically(path, "new"));
    EXPECT_EQ(readBytes(path), "new");
}

TEST(TextFile, AppendLineAddsCrLf)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("debug.txt");
    ASSERT_TRUE(appendLine(path, "one"));
    ASSERT_TRUE(appendLine(path, "two"));
    EXPECT_EQ(readBytes(path), "one\r\ntwo\r\n");
    EXPECT_FALSE(appendLine(dir.filePath("no/such/debug.txt"), "x"));
}
