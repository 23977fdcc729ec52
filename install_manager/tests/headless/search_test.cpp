// The search walk on temporary trees, and the rules of the result rows.
#include "core/FolderSearch.h"
#include "core/SearchRows.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

namespace stewardex {
namespace {

const QStringList Names = {EngineFileName, UtilityFileName};

void makeFile(const QString& path, const QByteArray& bytes = "x")
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

struct Walk {
    QStringList folders;
    QStringList found;   // "<name index>:<folder><file name>"
    std::vector<FoundFile> files;
    bool finished = false;
};

Walk walk(const QStringList& roots, std::function<bool(const QString&)> onFolder = {})
{
    Walk result;
    FolderSearch search(
        Names,
        [&](const QString& folder) {
            result.folders.append(folder);
            return onFolder ? onFolder(folder) : true;
        },
        [&](const FoundFile& file) {
            result.found.append(QString::number(file.nameIndex) + u':' + file.folder + file.fileName);
            result.files.push_back(file);
        });
    result.finished = search.run(roots);
    return result;
}

TEST(FolderSearch, BothKindsInOneFolderGiveTwoRowsEngineFirst)
{
    QTemporaryDir root;
    makeFile(root.filePath("a/libklutil62.so"));
    makeFile(root.filePath("a/libkorlith3d.so"), QByteArray(1234, 'k'));
    makeFile(root.filePath("z/libkorlith3d.so"));
    const Walk result = walk({root.path()});
    const QString r = root.path() + u'/';
    // Subfolders come in the listing's order; engine rows before utility rows.
    ASSERT_EQ(result.found.size(), 3);
    EXPECT_EQ(QStringList(result.found.mid(0, 2)).contains("0:" + r + "a/libkorlith3d.so"), true);
    EXPECT_EQ(QStringList(result.found.mid(0, 2)).contains("0:" + r + "z/libkorlith3d.so"), true);
    EXPECT_EQ(result.found[2], "1:" + r + "a/libklutil62.so");
    EXPECT_TRUE(result.finished);
    const auto inA = std::find_if(result.files.begin(), result.files.end(),
                                  [&](const FoundFile& f) { return f.folder == r + "a/" && f.nameIndex == 0; });
    ASSERT_NE(inA, result.files.end());
    EXPECT_EQ(inA->size, 1234);
    EXPECT_EQ(inA->fileName, "libkorlith3d.so");
    EXPECT_TRUE(inA->modified.isValid());
}

TEST(FolderSearch, FolderFilesComeBeforeSubfoldersAndEachFolderIsAnnounced)
{
    QTemporaryDir root;
    makeFile(root.filePath("sub/deeper/libkorlith3d.so"));
    makeFile(root.filePath("libkorlith3d.so"));
    makeFile(root.filePath("sub/LIBKORLITH3D.SO"));
    const Walk result = walk({root.path()});
    const QString r = root.path() + u'/';
    EXPECT_EQ(result.found, QStringList({"0:" + r + "libkorlith3d.so", "0:" + r + "sub/LIBKORLITH3D.SO",
                                         "0:" + r + "sub/deeper/libkorlith3d.so"}));
    EXPECT_EQ(result.folders, QStringList({r, r + "sub/", r + "sub/deeper/"}));
}

TEST(FolderSearch, HiddenFoldersLinksAndOtherNamesAreSkipped)
{
    QTemporaryDir root;
    makeFile(root.filePath(".hidden/libkorlith3d.so"));
    makeFile(root.filePath("real/libkorlith3d.so.bak"));
    makeFile(root.filePath("real/xlibkorlith3d.so"));
    QDir(root.path()).mkpath("real/libklutil62.so");   // a folder of that name is no match
    ASSERT_TRUE(QFile::link(root.filePath(".hidden"), root.filePath("link")));
    const Walk result = walk({root.path()});
    EXPECT_TRUE(result.found.isEmpty()) << result.found.join(", ").toStdString();
    EXPECT_FALSE(result.folders.contains(root.path() + "/link/"));
    EXPECT_FALSE(result.folders.contains(root.path() + "/.hidden/"));
}

TEST(FolderSearch, MoreThanTheTableOfSubfoldersListsOnlyTheFoldersOwnFiles)
{
    QTemporaryDir root;
    QDir big(root.filePath("big"));
    ASSERT_TRUE(big.mkpath("."));
    for (int i = 0; i < 1002; ++i)
        ASSERT_TRUE(big.mkdir(QString::number(i)));
    makeFile(big.filePath("libkorlith3d.so"));
    makeFile(big.filePath("7/libkorlith3d.so"));
    makeFile(root.filePath("next/libklutil62.so"));
    const Walk result = walk({root.path()});
    const QString r = root.path() + u'/';
    EXPECT_EQ(result.found, QStringList({"0:" + r + "big/libkorlith3d.so", "1:" + r + "next/libklutil62.so"}));
    EXPECT_FALSE(result.folders.contains(r + "big/7/"));

    // 1001 subfolders still fit the table.
    QDir(big.filePath("1001")).removeRecursively();
    const Walk fits = walk({root.filePath("big")});
    EXPECT_EQ(fits.folders.size(), 1 + 1001);
    EXPECT_EQ(fits.found.size(), 2);
}

TEST(FolderSearch, StopEndsTheWalkForBothNamesAndKeepsWhatWasFound)
{
    QTemporaryDir root;
    makeFile(root.filePath("a/libklutil62.so"));
    makeFile(root.filePath("a/libkorlith3d.so"));
    makeFile(root.filePath("b/libkorlith3d.so"));
    makeFile(root.filePath("b/libklutil62.so"));
    int folders = 0;
    const Walk result = walk({root.path(), root.filePath("b")}, [&](const QString&) { return ++folders < 3; });
    EXPECT_FALSE(result.finished);
    EXPECT_EQ(result.folders.size(), 3) << "no folder after the stop";
    EXPECT_EQ(result.found.size(), 2) << result.found.join(", ").toStdString();
    EXPECT_TRUE(result.found.front().startsWith("0:"));
    EXPECT_TRUE(result.found.back().startsWith("1:"));
}

TEST(FolderSearch, RootsAreSearchedInTurnAndUnlistableRootsGiveNothing)
{
    QTemporaryDir first;
    QTemporaryDir second;
    makeFile(first.filePath("libklutil62.so"));
    makeFile(second.filePath("libkorlith3d.so"));
    makeFile(first.filePath("libkorlith3d.so"));
    const Walk result = walk({first.path(), "/no/such/root", "", second.path()});
    EXPECT_EQ(result.found, QStringList({"0:" + first.path() + "/libkorlith3d.so",
                                         "0:" + second.path() + "/libkorlith3d.so",
                                         "1:" + first.path() + "/libklutil62.so"}));
    EXPECT_EQ(searchRoots({"/", "/a", "/b", "/c", "/d", "/e", "/f", "/g", "/h", "/i", "/j", "/k", "/l"}).size(), 11);
}

TEST(SearchRows, RowTextKindAndFile)
{
    EXPECT_EQ(rowText(RowKind::Engine, "6.0.0.0"), "libkorlith3d.so ( 6.0.0.0 )");
    EXPECT_EQ(rowText(RowKind::Utility, ""), "libklutil62.so (  )");
    EXPECT_EQ(rowKind("libkorlith3d.so ( 6.0.0.0 )"), RowKind::Engine);
    // Same first four characters as the engine's name: still a utility row.
    EXPECT_EQ(rowKind("libklutil62.so ( 6, 2, 0, 0 )"), RowKind::Utility);
    EXPECT_EQ(rowFile("/opt/sdk/", "libklutil62.so ( )"), "/opt/sdk/libklutil62.so");
    EXPECT_EQ(rowFile("/opt/sdk", "libkorlith3d.so ( )"), "/opt/sdk/libkorlith3d.so");
    EXPECT_EQ(folderText("/"), "/");
}

TEST(SearchRows, CommandLines)
{
    EXPECT_EQ(registrationCommand("/opt/my sdk/", false), "regsvr32 \"/opt/my sdk/libkorlith3d.so\"");
    EXPECT_EQ(registrationCommand("/opt/sdk/", true), "regsvr32 /u \"/opt/sdk/libkorlith3d.so\"");
    EXPECT_EQ(removeWriteProtectionCommand("/a b/libkorlith3d.so"), "attrib \"/a b/libkorlith3d.so\" -r");
}

} // namespace
} // namespace stewardex
