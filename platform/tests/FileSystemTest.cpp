#include "platform/FileSystem.h"
#include "platform/RuntimeError.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using namespace platform;

namespace {

int errorOfDelete(const QString& path)
{
    try {
        deleteFile(path);
    } catch (const RuntimeError& e) {
        return e.number;
    }
    return 0;
}

} // namespace

TEST(FileSystem, ReadOnlyFilesCannotBeDeletedUntilClearedAgain)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("libkorlith3d.so");
    QFile(path).open(QIODevice::WriteOnly);
    ASSERT_TRUE(setReadOnly(path));
    EXPECT_TRUE(isReadOnly(path));
    EXPECT_EQ(errorOfDelete(path), 75);
    EXPECT_TRUE(QFile::exists(path));
    ASSERT_TRUE(clearReadOnly(path));
    EXPECT_FALSE(isReadOnly(path));
    EXPECT_EQ(errorOfDelete(path), 0);
    EXPECT_FALSE(QFile::exists(path));
    EXPECT_EQ(errorOfDelete(path), 53);
    EXPECT_EQ(errorOfDelete(dir.path()), 75);
    EXPECT_FALSE(clearReadOnly(path));
}

TEST(FileSystem, HiddenFilesAreDotFiles)
{
    EXPECT_TRUE(isHidden("/home/u/.config"));
    EXPECT_FALSE(isHidden("/home/u/config"));
    EXPECT_FALSE(isHidden("."));
    EXPECT_FALSE(isHidden(".."));
}

TEST(FileSystem, DrivesAreRealFileSystemRootFirst)
{
    const QString table = "proc /proc proc rw 0 0\n"
                          "/dev/sdb1 /media/My\\040Disk vfat rw 0 0\n"
                          "/dev/sda1 / ext4 rw 0 0\n"
                          "tmpfs /tmp tmpfs rw 0 0\n"
                          "/dev/sda2 /home ext4 rw 0 0\n"
                          "/dev/sda2 /home ext4 rw 0 0\n"
                          "garbage\n";
    EXPECT_EQ(driveListFromMountTable(table), (QStringList{"/", "/home", "/media/My Disk"}));
    EXPECT_EQ(driveListFromMountTable(""), QStringList{"/"});
    EXPECT_EQ(driveList().value(0), "/");

    QTemporaryDir dir;
    EXPECT_TRUE(onSameFileSystem(dir.path(), dir.path() + "/."));
    EXPECT_FALSE(onSameFileSystem(dir.filePath("missing"), dir.path()));
}
