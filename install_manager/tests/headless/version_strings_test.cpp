// Version sections of the built libraries read back as the manager shows them.
#include "core/VersionStrings.h"

#include <QFileInfo>
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

namespace stewardex {
namespace {

TEST(VersionStrings, EngineLibraryCarriesItsVersionSection)
{
    const VersionStrings engine = ReadVersionStrings(QStringLiteral(KL_ENGINE_LIBRARY));
    EXPECT_EQ(engine.FileVersion, "6.0.0.0");
    EXPECT_EQ(engine.ProductVersion, "6.0.0.0");
    EXPECT_EQ(engine.CompanyName, "Korlith3D");
    EXPECT_EQ(engine.InternalName, "korlith3d");
    EXPECT_EQ(engine.OriginalFileName, "libkorlith3d.so");
    EXPECT_EQ(engine.ProductName, "Korlith3D");
    EXPECT_FALSE(engine.FileDescription.isEmpty());
    // The engine's section has no copyright key: a missing key reads "?".
    EXPECT_EQ(engine.LegalCopyright, "?");
}

TEST(VersionStrings, UtilityLibraryVersionIsWrittenWithCommas)
{
    const VersionStrings utility = ReadVersionStrings(QStringLiteral(KL_UTILITY_LIBRARY));
    EXPECT_EQ(utility.FileVersion, "6, 3, 0, 0");
    EXPECT_EQ(utility.OriginalFileName, "libklutil63.so");
    EXPECT_EQ(utilityVersionText(utility.FileVersion), "6.3.0.0");
    EXPECT_EQ(utilityVersionText("6.3.0.0"), "6.3.0.0");
    EXPECT_EQ(utilityVersionText(""), "");
}

TEST(VersionStrings, FilesWithoutVersionInformationGiveTheEmptyRecord)
{
    EXPECT_EQ(ReadVersionStrings(QStringLiteral(KL_NOVERSION_LIBRARY)), VersionStrings{});
    EXPECT_EQ(ReadVersionStrings(""), VersionStrings{});
    EXPECT_EQ(ReadVersionStrings("/no/such/file.so"), VersionStrings{});
    const VersionStrings empty;
    EXPECT_TRUE(empty.FileVersion.isEmpty() && empty.LegalCopyright.isEmpty());
}

TEST(VersionStrings, TranslationKeyIsEightUpperCaseHexDigits)
{
    EXPECT_EQ(translationKey(0x0409, 0x04B0), "040904B0");
    EXPECT_EQ(translationKey(0x0007, 0x000a), "0007000A");
    EXPECT_EQ(translationKey(0, 0), "00000000");
    EXPECT_EQ(translationKey(0xFFFF, 0xFFFF), "FFFFFFFF");
}

} // namespace
} // namespace stewardex
