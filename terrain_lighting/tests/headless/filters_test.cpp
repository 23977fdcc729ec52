// The lightmap filters on pixel buffers and pictures.
#include "core/Filters.h"

#include <gtest/gtest.h>

namespace landlume {
namespace {

QImage uniform(int w, int h, int grey)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(qRgb(grey, grey, grey));
    return image;
}

int blue(const QImage& image, int x, int y) { return qBlue(image.pixel(x, y)); }

// Applies a filter of the menus to a copy of the picture.
QImage filtered(QImage image, int number, int strength)
{
    MdFilter filter;
    int progress = -1;
    EXPECT_TRUE(filter.ApplyFilter(number, image, strength, progress, {}));
    EXPECT_EQ(progress, 100);
    return image;
}

TEST(Filters, BrightenAndDarkenGoThroughTheRoundedTable)
{
    EXPECT_EQ(blue(filtered(uniform(4, 4, 250), kFilterBrightness, 10), 0, 0), 255);   // 275 clamped
    EXPECT_EQ(blue(filtered(uniform(4, 4, 5), kFilterBrightness, -10), 3, 3), 4);      // 4.5 to even
    EXPECT_EQ(blue(filtered(uniform(4, 4, 153), kFilterBrightness, 10), 2, 1), 168);   // 168.3
    // Brighten then darken loses what the clamp cut and the rounding moved.
    QImage ramp(256, 1, QImage::Format_RGB32);
    for (int x = 0; x < 256; ++x)
        ramp.setPixel(x, 0, qRgb(x, x, x));
    const QImage back = filtered(filtered(ramp, kFilterBrightness, 10), kFilterBrightness, -10);
    EXPECT_NE(back, ramp);
    EXPECT_EQ(blue(back, 255, 0), 230);   // 255 x 0.9 = 229.5, to even 230
    EXPECT_EQ(blue(back, 100, 0), 99);    // 110 x 0.9
}

TEST(Filters, SharpenAndSmoothKeepBordersSmallAndUniformPictures)
{
    const QImage flat = uniform(6, 5, 77);
    EXPECT_EQ(filtered(flat, kFilterSharpen, 0), flat);
    EXPECT_EQ(filtered(flat, kFilterSmooth, 0), flat);

    QImage two(2, 2, QImage::Format_RGB32);
    two.setPixel(0, 0, qRgb(10, 200, 30));
    two.setPixel(1, 0, qRgb(0, 0, 0));
    two.setPixel(0, 1, qRgb(255, 255, 255));
    two.setPixel(1, 1, qRgb(90, 1, 7));
    EXPECT_EQ(filtered(two, kFilterSharpen, 0), two);
    EXPECT_EQ(filtered(two, kFilterSmooth, 0), two);

    QImage noisy(5, 4, QImage::Format_RGB32);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 5; ++x)
            noisy.setPixel(x, y, qRgb((x * 53 + y * 31) % 256, (x * 17) % 256, (y * 91) % 256));
    for (int number : {kFilterSharpen, kFilterSmooth}) {
        const QImage out = filtered(noisy, number, 0);
        for (int x = 0; x < 5; ++x) {
            EXPECT_EQ(out.pixel(x, 0), noisy.pixel(x, 0));
            EXPECT_EQ(out.pixel(x, 3), noisy.pixel(x, 3));
        }
        for (int y = 0; y < 4; ++y) {
            EXPECT_EQ(out.pixel(0, y), noisy.pixel(0, y));
            EXPECT_EQ(out.pixel(4, y), noisy.pixel(4, y));
        }
        EXPECT_NE(out, noisy) << number;
    }
}

TEST(Filters, ACentreOf100BecomesTwentySmoothedAnd255Sharpened)
{
    QImage dot = uniform(3, 3, 0);
    dot.setPixel(1, 1, qRgb(100, 100, 100));
    EXPECT_EQ(blue(filtered(dot, kFilterSmooth, 0), 1, 1), 20);
    EXPECT_EQ(qRed(filtered(dot, kFilterSharpen, 0).pixel(1, 1)), 255);   // 300 clamped
}

TEST(Filters, SmoothReadsTheAlreadySmoothedLeftAndUpperNeighbours)
{
    // 4 x 3, a single bright pixel at (1, 1): its right neighbour sees the new value.
    QImage image = uniform(4, 3, 0);
    image.setPixel(1, 1, qRgb(100, 100, 100));
    const QImage out = filtered(image, kFilterSmooth, 0);
    EXPECT_EQ(blue(out, 1, 1), 20);
    EXPECT_EQ(blue(out, 2, 1), 4);   // (0 + 20 + 0 + 0 + 0) / 5
}

TEST(Filters, TheSpareByteIsNeverChanged)
{
    PixelBuffer buffer(3, 3);
    for (int y = 1; y <= 3; ++y)
        for (int x = 1; x <= 3; ++x) {
            for (int c = 1; c <= 3; ++c)
                buffer.at(c, x, y) = std::uint8_t(x * 40 + y * 20 + c);
            buffer.at(4, x, y) = std::uint8_t(x * 3 + y);
        }
    PixelBuffer work = buffer;
    sharpen(work, 0, {});
    smooth(work, {});
    PixelBuffer bright = work;
    brightness(work, bright, 10, {});
    for (int y = 1; y <= 3; ++y)
        for (int x = 1; x <= 3; ++x)
            EXPECT_EQ(bright.at(4, x, y), x * 3 + y);
    EXPECT_NE(bright.at(1, 2, 2), buffer.at(1, 2, 2));
}

TEST(Filters, ProgressIsReportedPerRowWithEventsAndUnknownNumbersChangeNothing)
{
    QImage image = uniform(5, 10, 40);
    image.setPixel(2, 2, qRgb(200, 200, 200));
    MdFilter filter;
    int progress = 0;
    std::vector<int> seen;
    ASSERT_TRUE(filter.ApplyFilter(kFilterBrightness, image, 10, progress, [&] { seen.push_back(progress); }));
    EXPECT_EQ(seen, (std::vector<int>{10, 20, 30, 40, 50, 60, 70, 80, 90, 100, 100}));

    const QImage before = image;
    EXPECT_TRUE(filter.ApplyFilter(3, image, 0, progress, {}));
    EXPECT_TRUE(filter.ApplyFilter(40, image, 0, progress, {}));
    EXPECT_EQ(image, before);
}

TEST(Filters, AFilterChosenWhileOneRunsIsDropped)
{
    QImage image = uniform(8, 8, 100);
    MdFilter filter;
    int progress = 0;
    int inner = 0;
    bool dropped = false;
    const auto events = [&] {
        // The user picks "Brighten" again while the first one runs.
        if (!dropped) {
            int innerProgress = 0;
            dropped = !filter.ApplyFilter(kFilterBrightness, image, 10, innerProgress, {});
            inner = innerProgress;
        }
        EXPECT_TRUE(filter.busy());
    };
    ASSERT_TRUE(filter.ApplyFilter(kFilterBrightness, image, 10, progress, events));
    EXPECT_TRUE(dropped);
    EXPECT_EQ(inner, 0);
    EXPECT_EQ(blue(image, 4, 4), 110);   // brightened once, not twice
    EXPECT_FALSE(filter.busy());
}

TEST(Filters, APictureReplacedMeanwhileIsLeftAsItIs)
{
    QImage image = uniform(4, 4, 100);
    MdFilter filter;
    int progress = 0;
    ASSERT_TRUE(filter.ApplyFilter(kFilterBrightness, image, 10, progress, [&] { image = uniform(6, 6, 9); }));
    EXPECT_EQ(image.size(), QSize(6, 6));
    EXPECT_EQ(blue(image, 0, 0), 9);
}

} // namespace
} // namespace landlume
