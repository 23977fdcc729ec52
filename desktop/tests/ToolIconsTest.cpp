#include "ToolIcons.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QImageReader>
#include <QTemporaryDir>

#include <cmath>
#include <cstdlib>

namespace kl::desktop {
namespace {

// Mean of |a - b| over the colour channels, weighted by alpha, in 0..255.
double meanDifference(const QImage& a, const QImage& b)
{
    double total = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QColor p = a.pixelColor(x, y), q = b.pixelColor(x, y);
            total += std::abs(p.red() * p.alpha() - q.red() * q.alpha()) / 255.0
                   + std::abs(p.green() * p.alpha() - q.green() * q.alpha()) / 255.0
                   + std::abs(p.blue() * p.alpha() - q.blue() * q.alpha()) / 255.0
                   + std::abs(p.alpha() - q.alpha());
        }
    return total / (4.0 * a.width() * a.height());
}

int distinctColours(const QImage& image)
{
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            colours.insert(image.pixel(x, y));
    return int(colours.size());
}

TEST(ToolIcons, EveryToolAtEverySizeIsATileOnATransparentBox)
{
    for (const QString& tool : iconTools())
        for (const int size : iconSizes()) {
            SCOPED_TRACE(qPrintable(QStringLiteral("%1 at %2").arg(tool).arg(size)));
            const QImage icon = toolIcon(tool, size);
            ASSERT_EQ(icon.size(), QSize(size, size));
            EXPECT_TRUE(icon.hasAlphaChannel());
            // The corners are outside the rounded tile; the middle is drawn.
            EXPECT_EQ(qAlpha(icon.pixel(0, 0)), 0);
            EXPECT_EQ(qAlpha(icon.pixel(size - 1, size - 1)), 0);
            EXPECT_EQ(qAlpha(icon.pixel(size / 2, size / 2)), 255);
            EXPECT_GT(distinctColours(icon), 8) << "a flat icon";
        }
}

TEST(ToolIcons, ToolsCanBeToldApart)
{
    const QStringList& tools = iconTools();
    for (int i = 0; i < tools.size(); ++i)
        for (int j = i + 1; j < tools.size(); ++j)
            EXPECT_GT(meanDifference(toolIcon(tools[i], 48), toolIcon(tools[j], 48)), 20)
                << qPrintable(tools[i]) << " and " << qPrintable(tools[j]) << " look alike";
}

TEST(ToolIcons, SmallSizesShowTheSamePictureAsTheLargest)
{
    // Drawing in fixed pixel units instead of fractions of the size would
    // move or clip the emblem at the small sizes.
    for (const QString& tool : iconTools())
        for (const int size : {16, 32, 48}) {
            const QImage reduced = toolIcon(tool, 256).scaled(size, size, Qt::IgnoreAspectRatio,
                                                              Qt::SmoothTransformation);
            EXPECT_LT(meanDifference(toolIcon(tool, size), reduced), 12) << qPrintable(tool) << " at " << size;
        }
}

TEST(ToolIcons, UnknownToolsAndSizesGiveNoPicture)
{
    EXPECT_TRUE(toolIcon(QStringLiteral("paintbox"), 32).isNull());
    EXPECT_TRUE(toolIcon(QString(), 32).isNull());
    EXPECT_TRUE(toolIcon(QStringLiteral("glazery"), 0).isNull());
    EXPECT_TRUE(toolIcon(QStringLiteral("glazery"), -16).isNull());
    EXPECT_TRUE(toolIcon(QStringLiteral("glazery"), 100000).isNull());
}

TEST(ToolIcons, WritesEveryHicolorFileAndReportsAFolderItCannotMake)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QString error;
    ASSERT_TRUE(writeIcons(dir.path(), error)) << qPrintable(error);
    for (const int size : iconSizes())
        for (const QString& tool : iconTools()) {
            const QString path = QStringLiteral("%1/%2x%2/apps/korlith3d-%3.png").arg(dir.path()).arg(size).arg(tool);
            QImageReader reader(path);
            EXPECT_EQ(reader.format(), "png") << qPrintable(path);
            EXPECT_EQ(reader.size(), QSize(size, size)) << qPrintable(path);
        }

    // A file where a size folder belongs.
    QTemporaryDir blocked;
    QFile blocker(blocked.filePath(QStringLiteral("16x16")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    error.clear();
    EXPECT_FALSE(writeIcons(blocked.path(), error));
    EXPECT_TRUE(error.contains(QStringLiteral("16x16"))) << qPrintable(error);
}

} // namespace
} // namespace kl::desktop
