#include "heightfield/HeightField.h"

#include <gtest/gtest.h>

#include <QColor>
#include <QImage>

#include <cmath>
#include <limits>
#include <stdexcept>

using kl::terrain::HeightField;

namespace {

// 3 columns x 2 rows:  0 10 20
//                      5 15 45
HeightField smallField()
{
    return HeightField(3, 2, {0, 10, 20, 5, 15, 45});
}

// The bilinear formula written out, for a point inside the grid.
float bilinear(const HeightField& f, float gx, float gy)
{
    const int x0 = std::min(int(gx), f.width() - 2), y0 = std::min(int(gy), f.height() - 2);
    const float tx = gx - float(x0), ty = gy - float(y0);
    return (1 - tx) * (1 - ty) * f.at(x0, y0) + tx * (1 - ty) * f.at(x0 + 1, y0)
         + (1 - tx) * ty * f.at(x0, y0 + 1) + tx * ty * f.at(x0 + 1, y0 + 1);
}

} // namespace

TEST(HeightField, SamplesTheBilinearPatchBetweenGridPoints)
{
    const HeightField f = smallField();
    EXPECT_FLOAT_EQ(f.sampleGrid(1, 1), 15);
    EXPECT_FLOAT_EQ(f.sampleGrid(2, 1), 45);
    for (float gx : {0.0f, 0.25f, 0.5f, 1.0f, 1.3f, 1.75f, 2.0f})
        for (float gy : {0.0f, 0.4f, 1.0f})
            EXPECT_NEAR(f.sampleGrid(gx, gy), bilinear(f, gx, gy), 1e-4f) << gx << "," << gy;
    // Normalised coordinates span first to last grid point.
    EXPECT_FLOAT_EQ(f.sample(1.0f, 1.0f), 45);
    EXPECT_NEAR(f.sample(0.75f, 0.5f), bilinear(f, 1.5f, 0.5f), 1e-4f);
}

TEST(HeightField, OutsideTheGridGivesTheNearestEdgePoint)
{
    const HeightField f = smallField();
    EXPECT_FLOAT_EQ(f.sampleGrid(-5, -5), 0);
    EXPECT_FLOAT_EQ(f.sampleGrid(9, 9), 45);
    EXPECT_FLOAT_EQ(f.sampleGrid(1.5f, -3), f.sampleGrid(1.5f, 0));
    EXPECT_FLOAT_EQ(f.sampleGrid(7, 0.5f), f.sampleGrid(2, 0.5f));
    EXPECT_FLOAT_EQ(f.sampleGrid(std::numeric_limits<float>::quiet_NaN(), 0), 0);
    EXPECT_FLOAT_EQ(f.at(-1, 7), 5);
    // Outside, the surface is flat across the clamped direction.
    EXPECT_FLOAT_EQ(f.gradientGrid(-2, 0.5f).dx, 0);
    EXPECT_FLOAT_EQ(f.gradientGrid(1.5f, 4).dy, 0);
}

TEST(HeightField, GradientIsTheSlopeOfTheSampledSurface)
{
    const HeightField f = smallField();
    const float e = 1e-3f;
    for (float gx : {0.3f, 1.4f, 1.9f})
        for (float gy : {0.2f, 0.7f}) {
            const auto g = f.gradientGrid(gx, gy);
            EXPECT_NEAR(g.dx, (f.sampleGrid(gx + e, gy) - f.sampleGrid(gx - e, gy)) / (2 * e), 0.05f);
            EXPECT_NEAR(g.dy, (f.sampleGrid(gx, gy + e) - f.sampleGrid(gx, gy - e)) / (2 * e), 0.05f);
        }
}

TEST(HeightField, DegenerateShapesAndBadSizes)
{
    const HeightField row(4, 1, {1, 2, 3, 4});
    EXPECT_FLOAT_EQ(row.sampleGrid(1.5f, 3), 2.5f);
    const HeightField point = HeightField::filled(1, 1, 7);
    EXPECT_FLOAT_EQ(point.sample(0.5f, 0.5f), 7);
    EXPECT_FLOAT_EQ(HeightField().sampleGrid(1, 1), 0);
    EXPECT_THROW(HeightField(2, 2, {1, 2, 3}), std::invalid_argument);
    EXPECT_THROW(HeightField::filled(0, 3, 1), std::invalid_argument);
    EXPECT_FLOAT_EQ(smallField().minimum(), 0);
    EXPECT_FLOAT_EQ(smallField().maximum(), 45);
}

TEST(HeightField, ImagesGiveGreyLevelsOrBrightness)
{
    // An 8-bit grey picture as heightmaps are stored: indexed with a grey palette.
    QImage grey(5, 3, QImage::Format_Indexed8);
    QList<QRgb> palette;
    for (int i = 0; i < 256; ++i)
        palette.append(qRgb(i, i, i));
    grey.setColorTable(palette);
    grey.fill(0);
    grey.setPixel(4, 2, 255);
    grey.setPixel(1, 0, 100);
    const HeightField g = kl::terrain::heightFieldFromImage(grey);
    ASSERT_EQ(g.width(), 5);
    ASSERT_EQ(g.height(), 3);
    EXPECT_FLOAT_EQ(g.at(4, 2), 255);
    EXPECT_FLOAT_EQ(g.at(1, 0), 100);
    EXPECT_FLOAT_EQ(g.at(0, 0), 0);

    QImage colour(2, 1, QImage::Format_RGB32);
    colour.setPixel(0, 0, qRgb(255, 0, 0));
    colour.setPixel(1, 0, qRgb(90, 90, 90));
    const HeightField c = kl::terrain::heightFieldFromImage(colour);
    EXPECT_FLOAT_EQ(c.at(0, 0), float(qGray(255, 0, 0)));
    EXPECT_FLOAT_EQ(c.at(1, 0), 90);
    EXPECT_TRUE(kl::terrain::heightFieldFromImage(QImage()).empty());
}
