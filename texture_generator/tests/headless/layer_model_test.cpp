// The layer list, the leading-number rule, the slider's power steps and the
// resolution entries.
#include "core/LayerList.h"
#include "core/LeadingNumber.h"
#include "core/Resolutions.h"

#include <gtest/gtest.h>

#include <cmath>

namespace layerloom {
namespace {

TEST(LayerList, AddedLayersGetNumberedLinesWithTheDefaultsAndTheLastIsCurrent)
{
    LayerList list;
    EXPECT_EQ(list.current(), nullptr);
    for (const char* path : {"C:\\tex\\grass.bmp", "sand.jpg", "rock, wet.png"})
        ASSERT_TRUE(list.add(path));
    EXPECT_EQ(list.lines(), QStringList({"Layer #0 (C:\\tex\\grass.bmp)", "Layer #1 (sand.jpg)",
                                         "Layer #2 (rock, wet.png)"}));
    EXPECT_EQ(list.selected(), 2);
    const TextureLayer* third = list.current();
    ASSERT_NE(third, nullptr);
    EXPECT_EQ(third->TexturePath, "rock, wet.png");
    EXPECT_EQ(third->AltitudeMin, 0);
    EXPECT_EQ(third->AltitudeMax, 255);
    EXPECT_EQ(third->UScale, 1.0f);
    EXPECT_EQ(third->VScale, 1.0f);
    EXPECT_EQ(third->BlendPower, 1.5f);
}

TEST(LayerList, RemovingALineMovesTheLaterLayersUpAndKeepsTheIndex)
{
    LayerList list;
    list.add("a");
    list.add("b");
    list.add("c");
    list.select(1);
    list.current()->AltitudeMin = 7;
    list.layers();
    TextureLayer c = list.layer(2);
    ASSERT_TRUE(list.removeLine(1));
    EXPECT_EQ(list.lines(), QStringList({"Layer #0 (a)", "Layer #1 (c)"}));
    EXPECT_EQ(list.selected(), 1);
    EXPECT_EQ(*list.current(), c);

    // Removing the last layer leaves an index past the end: edits go nowhere.
    ASSERT_TRUE(list.removeLine(1));
    EXPECT_EQ(list.count(), 1);
    EXPECT_EQ(list.current(), nullptr);

    // No selected line: nothing changes.
    EXPECT_FALSE(list.removeLine(-1));
    EXPECT_FALSE(list.removeLine(5));
    EXPECT_EQ(list.lines(), QStringList({"Layer #0 (a)"}));

    // Clearing keeps the index; a later add makes the new layer current.
    list.select(0);
    list.clear();
    EXPECT_EQ(list.selected(), 0);
    EXPECT_EQ(list.current(), nullptr);
    list.add("d");
    EXPECT_EQ(list.current()->TexturePath, "d");
}

TEST(LayerList, HoldsAtMostTheSixteenBitCount)
{
    LayerList list;
    list.replace(QList<TextureLayer>(kMaxLayerCount + 5, newLayer("x")));
    EXPECT_EQ(list.count(), kMaxLayerCount);
    EXPECT_FALSE(list.add("one more"));
    EXPECT_EQ(list.count(), kMaxLayerCount);
}

TEST(LeadingNumber, ReadsTheNumericPrefixAndRoundsHalvesToEven)
{
    EXPECT_EQ(leadingInt32("12abc"), 12);
    EXPECT_EQ(leadingInt32(""), 0);
    EXPECT_EQ(leadingInt32("abc"), 0);
    EXPECT_EQ(leadingInt32(" 1 2 "), 12);
    EXPECT_EQ(leadingInt32("2.5"), 2);
    EXPECT_EQ(leadingInt32("3.5"), 4);
    EXPECT_EQ(leadingInt32("-7.5x"), -8);
    EXPECT_EQ(leadingInt32("2147483647"), 2147483647);
    EXPECT_EQ(leadingInt32("2147483648"), std::nullopt);   // does not fit: the field keeps its value
    EXPECT_EQ(leadingInt16("40000"), std::nullopt);
    EXPECT_EQ(leadingFloat(".5"), 0.5f);
    EXPECT_EQ(leadingFloat("1E-05"), 1e-5f);
    EXPECT_EQ(leadingFloat("1e39"), std::nullopt);
    EXPECT_EQ(leadingNumber("1e400"), std::nullopt);
}

TEST(LeadingNumber, RealTextsAreShortest)
{
    EXPECT_EQ(realText(1.5f), "1.5");
    EXPECT_EQ(realText(2.0f), "2");
    EXPECT_EQ(realText(0.1f), "0.1");
    EXPECT_EQ(realText(1.6f), "1.6");
    EXPECT_EQ(realText(-0.25f), "-0.25");
}

TEST(Slider, PowersAreTenthsOfTheSliderAndOutsideZeroToThreeDoNotShow)
{
    EXPECT_EQ(sliderPosition(1.5f), 15);
    EXPECT_EQ(sliderPosition(1.57f), 16);
    EXPECT_EQ(sliderPower(16), 1.6f);
    EXPECT_EQ(sliderPosition(0.25f), 2);   // 2.5 rounds to even
    EXPECT_EQ(sliderPosition(0.35f), 3);   // 0.35f is a hair below 0.35
    EXPECT_EQ(sliderPosition(0.75f), 8);   // 7.5 rounds to even
    EXPECT_EQ(sliderPosition(0.0f), 0);
    EXPECT_EQ(sliderPosition(3.0f), 30);
    EXPECT_EQ(sliderPosition(3.04f), 30);
    EXPECT_EQ(sliderPosition(3.1f), std::nullopt);
    EXPECT_EQ(sliderPosition(-0.1f), std::nullopt);
    EXPECT_EQ(sliderPosition(std::nanf("")), std::nullopt);
    EXPECT_EQ(sliderPosition(1e30f), std::nullopt);
    EXPECT_EQ(realText(sliderPower(0)), "0");
    EXPECT_EQ(realText(sliderPower(30)), "3");
}

TEST(Resolutions, SevenEntriesGiveTheirLeadingNumbers)
{
    const QStringList entries = resolutionEntries();
    ASSERT_EQ(entries.size(), kResolutionEntryCount);
    const int expected[] = {32, 64, 128, 256, 512, 1024, 2048};
    for (int i = 0; i < kResolutionEntryCount; ++i)
        EXPECT_EQ(entryResolution(entries[i]), expected[i]) << i;
    EXPECT_EQ(entries[kStartResolutionEntry], "512 x 512 (Quite Slow - Good Quality)");
    EXPECT_EQ(entries[6], "2048 x 2048 (5 mins - For Very Recent Cards)");
    EXPECT_EQ(previewFileName(45296.0), "temp45296.bmp");
    EXPECT_EQ(previewFileName(45296.6), "temp45297.bmp");
}

} // namespace
} // namespace layerloom
