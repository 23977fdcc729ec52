#include "platform/VersionInfo.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include <random>

using namespace platform;

// This test program carries version information of its own.
KL_VERSION_RESOURCE("Translation=040904B0\n"
                    "040904B0\\CompanyName=Korlith\n"
                    "040904B0\\FileVersion=6, 3, 0, 0\n");

namespace {

QByteArray ownBytes()
{
    QFile self(QCoreApplication::applicationFilePath());
    return self.open(QIODevice::ReadOnly) ? self.readAll() : QByteArray();
}

} // namespace

TEST(VersionInfo, ReadsTheSectionWithoutLoadingTheFile)
{
    const auto resource = readVersionResource(QCoreApplication::applicationFilePath());
    ASSERT_TRUE(resource);
    EXPECT_EQ(queryVersionValue(*resource, "\\VarFileInfo\\Translation"), "040904B0");
    EXPECT_EQ(queryVersionValue(*resource, "\\StringFileInfo\\040904b0\\FileVersion"), "6, 3, 0, 0");
    EXPECT_EQ(queryVersionValue(*resource, "\\StringFileInfo\\040904B0\\CompanyName"), "Korlith");
    EXPECT_FALSE(queryVersionValue(*resource, "\\StringFileInfo\\040904B0\\ProductName"));
    EXPECT_FALSE(queryVersionValue(*resource, "\\StringFileInfo\\040704B0\\FileVersion"));
}

TEST(VersionInfo, FilesWithoutItGiveNothing)
{
    QTemporaryDir dir;
    EXPECT_FALSE(readVersionResource(dir.filePath("missing.so")));
    QFile text(dir.filePath("text.so"));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("not an ELF file");
    text.close();
    EXPECT_FALSE(readVersionResource(text.fileName()));
    EXPECT_FALSE(parseVersionResource("SOMETHING\nTranslation=040904B0\n"));
    const auto empty = parseVersionResource(QByteArray("KLVERSION1\n\0junk", 17));
    ASSERT_TRUE(empty);
    EXPECT_FALSE(queryVersionValue(*empty, "\\VarFileInfo\\Translation"));
}

TEST(VersionInfo, DamagedElfFilesNeverCrash)
{
    const QByteArray self = ownBytes();
    ASSERT_GT(self.size(), 1000);
    // Cut short anywhere, and with bytes of the header tables scrambled.
    for (const qsizetype size : {qsizetype(4), qsizetype(52), qsizetype(64), self.size() / 2, self.size() - 1})
        EXPECT_FALSE(findElfSection(self.left(size), ".klversion"));
    std::mt19937 random(7);
    for (int round = 0; round < 40; ++round) {
        QByteArray damaged = self;
        for (int i = 0; i < 8; ++i) {
            const qsizetype at = round % 2 == 0 ? static_cast<qsizetype>(random() % 64)
                                                : damaged.size() - 1 - static_cast<qsizetype>(random() % 4096);
            damaged[at] = static_cast<char>(random());
        }
        findElfSection(damaged, ".klversion");
    }
}
