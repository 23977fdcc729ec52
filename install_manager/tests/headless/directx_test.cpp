// The DirectX verdict from the registry store's version value.
#include "core/DirectXCheck.h"
#include "support/TempRegistry.h"

#include <platform/Registry.h>

#include "support/QtPrinters.h"

#include <gtest/gtest.h>

namespace stewardex {
namespace {

TEST(DirectXVerdict, OlderThanEightPointOneIsUnsuitable)
{
    const auto eight = judgeDirectXVersion("4.08.00.0400");
    ASSERT_TRUE(eight);
    EXPECT_EQ(eight->shown, "08.00 (NOT GOOD FOR KL3D!)");
    EXPECT_FALSE(eight->suitable);
    const auto seven = judgeDirectXVersion("4.07.00.0700");
    ASSERT_TRUE(seven);
    EXPECT_EQ(seven->shown, "07.00 (NOT GOOD FOR KL3D!)");
    EXPECT_FALSE(seven->suitable);
}

TEST(DirectXVerdict, EightPointOneAndLaterAreSuitable)
{
    const auto eightOne = judgeDirectXVersion("4.08.01.0881");
    ASSERT_TRUE(eightOne);
    EXPECT_EQ(eightOne->shown, "08.01 (OK FINE!)");
    EXPECT_TRUE(eightOne->suitable);
    const auto nine = judgeDirectXVersion("4.09.00.0904");
    ASSERT_TRUE(nine);
    EXPECT_EQ(nine->shown, "09.00 (OK FINE!)");
    EXPECT_TRUE(nine->suitable);
    // The parts are read as numbers: no leading zero needed, text after them ignored.
    EXPECT_TRUE(judgeDirectXVersion("4.10.0")->suitable);
    EXPECT_TRUE(judgeDirectXVersion("4.8.1")->suitable);
    EXPECT_FALSE(judgeDirectXVersion("4.8.0b.1")->suitable);
}

TEST(DirectXVerdict, FewerThanThreePartsEndTheCheck)
{
    EXPECT_FALSE(judgeDirectXVersion(""));
    EXPECT_FALSE(judgeDirectXVersion("4.09"));
    EXPECT_FALSE(judgeDirectXVersion("40900"));
    EXPECT_EQ(judgeDirectXVersion("x..")->shown, ". (NOT GOOD FOR KL3D!)");
}

TEST(DirectXVerdict, ValueIsReadFromTheStoreAsTextOrHex)
{
    testing::TempRegistry registry;
    using platform::Hive;
    ASSERT_TRUE(platform::writeRegistryString(Hive::LocalMachine, DirectXKey, "Version", "4.08.00.0400"));
    EXPECT_EQ(readDirectXValue(), "4.08.00.0400");
    ASSERT_TRUE(platform::deleteRegistryValue(Hive::LocalMachine, DirectXKey, "Version"));
    ASSERT_TRUE(platform::writeRegistryDword(Hive::LocalMachine, DirectXKey, "Version", 0x4090904));
    EXPECT_EQ(readDirectXValue(), "4090904");
    EXPECT_FALSE(judgeDirectXVersion(readDirectXValue()));
}

} // namespace
} // namespace stewardex
