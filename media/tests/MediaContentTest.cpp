#include "Content.h"

#include "dds/DdsFile.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QTemporaryDir>

#include <cmath>
#include <functional>

namespace {

class MediaContent : public ::testing::Test {
protected:
    // The files the build generated into the build tree: what gets installed.
    static void SetUpTestSuite()
    {
        s_files = new QHash<QString, QByteArray>;
        for (const QString& path : expectedFiles()) {
            QFile file(buildRoot().filePath(path));
            if (file.open(QIODevice::ReadOnly))
                s_files->insert(path, file.readAll());
        }
    }
    static void TearDownTestSuite()
    {
        delete s_files;
        s_files = nullptr;
    }

    static QDir buildRoot() { return QDir(QStringLiteral(KL_MEDIA_BUILD_ROOT)); }

    static QStringList expectedFiles()
    {
        QStringList paths = {"Glazery/Data/textures/Fabrics004.jpg", "Glazery/Data/textures/Floors017.jpg",
                             "Emberly/media/detail.jpg", "Emberly/media/silver.jpg",
                             "Landlume/Textures/Landscape/heightmap.bmp", "Landlume/Textures/Landscape/colormap.bmp",
                             "Landlume/Textures/Landscape/detailmap.bmp", "Layerloom/samples/sand.bmp",
                             "Layerloom/samples/grass.jpg", "Layerloom/samples/rock.png",
                             "Layerloom/samples/snow.gif", "Layerloom/samples/heightmap.bmp", "Stewardex/logo.png"};
        for (const char* sprite : {"pFlake", "pSmoke", "pFlare", "pBubble"})
            paths << QStringLiteral("Emberly/media/%1.dds").arg(sprite);
        for (const char* face : {"front", "back", "left", "right", "top", "bottom", "sky_gridup", "sky_griddn",
                                 "sky_gridbk", "sky_gridrt", "sky_gridlf", "sky_gridft"})
            paths << QStringLiteral("Emberly/media/%1.jpg").arg(face);
        return paths;
    }

    static QByteArray bytes(const QString& path)
    {
        EXPECT_TRUE(s_files->contains(path)) << path.toStdString();
        return s_files->value(path);
    }

    static QImage image(const QString& path)
    {
        const QByteArray data = bytes(path);
        QImage result;
        if (path.endsWith(".dds")) {
            QString error;
            result = kl::dds::decode(data, error);
            EXPECT_TRUE(error.isEmpty()) << path.toStdString() << ": " << error.toStdString();
        } else {
            result = QImage::fromData(data, QFileInfo(path).suffix().toLatin1().constData());
        }
        EXPECT_FALSE(result.isNull()) << path.toStdString();
        return result.convertToFormat(QImage::Format_ARGB32);
    }

    static QHash<QString, QByteArray>* s_files;
};

QHash<QString, QByteArray>* MediaContent::s_files = nullptr;

int channelDifference(QRgb a, QRgb b)
{
    return std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) + std::abs(qBlue(a) - qBlue(b));
}

// Mean colour difference between column (or row) i and j of an image.
double lineDifference(const QImage& img, bool columns, int i, int j)
{
    const int length = columns ? img.height() : img.width();
    long long sum = 0;
    for (int k = 0; k < length; ++k)
        sum += columns ? channelDifference(img.pixel(i, k), img.pixel(j, k))
                       : channelDifference(img.pixel(k, i), img.pixel(k, j));
    return double(sum) / length;
}

// A tileable picture's wrap-around step (last line to first) is no larger than the steps
// inside it: the picture has no seam of its own at its edges.
void expectTileable(const QImage& img, const char* name)
{
    for (bool columns : {true, false}) {
        const int count = columns ? img.width() : img.height();
        double largest = 0;
        for (int i = 0; i + 1 < count; ++i)
            largest = std::max(largest, lineDifference(img, columns, i, i + 1));
        const double seam = lineDifference(img, columns, count - 1, 0);
        EXPECT_LE(seam, largest * 1.1 + 2.0) << name << (columns ? " left/right" : " top/bottom");
    }
}

bool isGrey(const QImage& img)
{
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            const QRgb p = img.pixel(x, y);
            if (qRed(p) != qGreen(p) || qGreen(p) != qBlue(p))
                return false;
        }
    return true;
}

// Lowest and highest grey level of an image.
std::pair<int, int> greyRange(const QImage& img)
{
    int low = 255, high = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            low = std::min(low, qRed(img.pixel(x, y)));
            high = std::max(high, qRed(img.pixel(x, y)));
        }
    return {low, high};
}

int bmpBitCount(const QByteArray& bmp) { return uchar(bmp[28]) | uchar(bmp[29]) << 8; }

} // namespace

TEST_F(MediaContent, EveryFileDecodesWithItsSize)
{
    const std::vector<std::pair<const char*, QSize>> expected = {
        {"Glazery/Data/textures/Fabrics004.jpg", {512, 512}}, {"Glazery/Data/textures/Floors017.jpg", {512, 512}},
        {"Emberly/media/pFlake.dds", {128, 128}},            {"Emberly/media/pSmoke.dds", {128, 128}},
        {"Emberly/media/pFlare.dds", {128, 128}},            {"Emberly/media/pBubble.dds", {128, 128}},
        {"Emberly/media/detail.jpg", {512, 512}},            {"Emberly/media/silver.jpg", {256, 256}},
        {"Landlume/Textures/Landscape/heightmap.bmp", {513, 513}},
        {"Landlume/Textures/Landscape/colormap.bmp", {1024, 1024}},
        {"Landlume/Textures/Landscape/detailmap.bmp", {256, 256}},
        {"Layerloom/samples/sand.bmp", {256, 256}},          {"Layerloom/samples/grass.jpg", {256, 256}},
        {"Layerloom/samples/rock.png", {256, 256}},          {"Layerloom/samples/snow.gif", {256, 256}},
        {"Layerloom/samples/heightmap.bmp", {257, 257}},     {"Stewardex/logo.png", {320, 96}},
    };
    for (const auto& [path, size] : expected)
        EXPECT_EQ(image(path).size(), size) << path;
    for (const char* face : {"front", "back", "left", "right", "top", "bottom", "sky_gridup", "sky_griddn",
                             "sky_gridbk", "sky_gridrt", "sky_gridlf", "sky_gridft"})
        EXPECT_EQ(image(QStringLiteral("Emberly/media/%1.jpg").arg(face)).size(), QSize(512, 512)) << face;
    EXPECT_EQ(s_files->size(), expectedFiles().size());
}

TEST_F(MediaContent, SpritesHaveTransparentCornersAndAVisibleShape)
{
    for (const char* name : {"pFlake", "pSmoke", "pFlare", "pBubble"}) {
        const QImage sprite = image(QStringLiteral("Emberly/media/%1.dds").arg(name));
        ASSERT_EQ(sprite.size(), QSize(128, 128));
        for (QPoint corner : {QPoint(0, 0), QPoint(127, 0), QPoint(0, 127), QPoint(127, 127), QPoint(8, 8)})
            EXPECT_EQ(qAlpha(sprite.pixel(corner)), 0) << name;
        int visible = 0, partial = 0;
        for (int y = 0; y < 128; ++y)
            for (int x = 0; x < 128; ++x) {
                const int a = qAlpha(sprite.pixel(x, y));
                visible += a > 128;
                partial += a > 16 && a < 240;
            }
        EXPECT_GT(visible, 150) << name;
        EXPECT_GT(partial, 100) << name << " has no soft edge";
    }
    // The flake is a six-fold shape: its arm straight up is solid where 30 degrees off is clear.
    const QImage flake = image("Emberly/media/pFlake.dds");
    EXPECT_GT(qAlpha(flake.pixel(64, 20)), 200);
    EXPECT_LT(qAlpha(flake.pixel(64 + 18, 64 - 31)), qAlpha(flake.pixel(64, 28)));
    // The bubble is a ring: its rim is more opaque than its middle.
    const QImage bubble = image("Emberly/media/pBubble.dds");
    EXPECT_GT(qAlpha(bubble.pixel(64, 64 + 51)), qAlpha(bubble.pixel(64, 64)) + 100);

    // Both a block-compressed and an uncompressed sprite ship.
    const auto fourCC = [&](const char* name) { return bytes(QStringLiteral("Emberly/media/%1.dds").arg(name)).mid(84, 4); };
    EXPECT_EQ(fourCC("pSmoke"), QByteArray("DXT5"));
    EXPECT_EQ(fourCC("pFlare"), QByteArray(4, '\0'));
}

TEST_F(MediaContent, SurfaceTexturesTile)
{
    for (const char* path : {"Glazery/Data/textures/Fabrics004.jpg", "Glazery/Data/textures/Floors017.jpg",
                             "Emberly/media/detail.jpg", "Emberly/media/silver.jpg",
                             "Landlume/Textures/Landscape/detailmap.bmp", "Layerloom/samples/sand.bmp",
                             "Layerloom/samples/grass.jpg", "Layerloom/samples/rock.png",
                             "Layerloom/samples/snow.gif"})
        expectTileable(image(path), path);
}

TEST_F(MediaContent, SkyBoxFacesMeetWithoutSeams)
{
    // Face order: front, back, left, right, top, bottom. Each edge is a row or column of one
    // face and the matching one of its neighbour, optionally read backwards.
    enum Edge { LeftEdge, RightEdge, TopEdge, BottomEdge };
    struct Join {
        int faceA;
        Edge edgeA;
        int faceB;
        Edge edgeB;
        bool reversed;
    };
    const Join joins[] = {
        {0, RightEdge, 3, LeftEdge, false}, {3, RightEdge, 1, LeftEdge, false}, {1, RightEdge, 2, LeftEdge, false},
        {2, RightEdge, 0, LeftEdge, false}, {4, BottomEdge, 0, TopEdge, false}, {4, RightEdge, 3, TopEdge, true},
        {4, TopEdge, 1, TopEdge, true},     {4, LeftEdge, 2, TopEdge, false},   {5, TopEdge, 0, BottomEdge, false},
        {5, RightEdge, 3, BottomEdge, false}, {5, BottomEdge, 1, BottomEdge, true}, {5, LeftEdge, 2, BottomEdge, true},
    };
    const auto edgePixel = [](const QImage& img, Edge edge, int k) {
        const int last = img.width() - 1;
        switch (edge) {
        case LeftEdge: return img.pixel(0, k);
        case RightEdge: return img.pixel(last, k);
        case TopEdge: return img.pixel(k, 0);
        case BottomEdge: return img.pixel(k, last);
        }
        return QRgb(0);
    };
    const QStringList boxes[] = {{"front", "back", "left", "right", "top", "bottom"},
                                 {"sky_gridrt", "sky_gridft", "sky_gridbk", "sky_gridlf", "sky_gridup", "sky_griddn"}};
    for (const QStringList& names : boxes) {
        std::vector<QImage> faces;
        for (const QString& name : names)
            faces.push_back(image("Emberly/media/" + name + ".jpg"));
        for (const Join& join : joins) {
            const QImage& a = faces[std::size_t(join.faceA)];
            const QImage& b = faces[std::size_t(join.faceB)];
            long long sum = 0;
            const int n = a.width();
            for (int k = 0; k < n; ++k)
                sum += channelDifference(edgePixel(a, join.edgeA, k),
                                         edgePixel(b, join.edgeB, join.reversed ? n - 1 - k : k));
            EXPECT_LT(double(sum) / n, 12.0) << names[join.faceA].toStdString() << " / "
                                             << names[join.faceB].toStdString();
        }
    }
    // Sky above, ground below.
    const QImage top = image("Emberly/media/top.jpg"), bottom = image("Emberly/media/bottom.jpg");
    const QRgb up = top.pixel(256, 256), down = bottom.pixel(256, 256);
    EXPECT_GT(qBlue(up), qRed(up) + 60);
    EXPECT_GT(qGreen(down), qBlue(down) + 30);
}

TEST_F(MediaContent, LandscapeHeightMapIsGreyFullRangeAndCastsShadows)
{
    const QByteArray file = bytes("Landlume/Textures/Landscape/heightmap.bmp");
    EXPECT_EQ(bmpBitCount(file), 8);
    const QImage heights = image("Landlume/Textures/Landscape/heightmap.bmp");
    ASSERT_TRUE(isGrey(heights));
    EXPECT_EQ(greyRange(heights), std::make_pair(0, 255));

    // March towards the light (direction (2, -1, 2), so back along (-2, 1, -2)) from every
    // fourth grid point, 4 world units per pixel, grey level = height; count points that some
    // terrain within 200 units hides from the light.
    const int n = heights.width();
    const double unitsPerPixel = 2048.0 / (n - 1);
    const auto heightAt = [&](double px, double py) {
        const int x = std::clamp(int(std::lround(px)), 0, n - 1), y = std::clamp(int(std::lround(py)), 0, n - 1);
        return double(qRed(heights.pixel(x, y)));
    };
    int shaded = 0, total = 0;
    const double stepX = -2.0 / 3.0, stepY = -2.0 / 3.0, rise = 1.0 / 3.0; // per world unit along the ray
    for (int y = 0; y < n; y += 4) {
        for (int x = 0; x < n; x += 4) {
            const double h0 = heightAt(x, y) + 0.5;
            bool hidden = false;
            for (double t = 2; t <= 200 && !hidden; t += 2) {
                const double px = x + stepX * t / unitsPerPixel, py = y + stepY * t / unitsPerPixel;
                if (px < 0 || py < 0)
                    break;
                hidden = heightAt(px, py) > h0 + rise * t;
            }
            shaded += hidden;
            ++total;
        }
    }
    EXPECT_GT(double(shaded) / total, 0.08);
    EXPECT_LT(double(shaded) / total, 0.6);
}

TEST_F(MediaContent, ColourMapFollowsTheHeights)
{
    const QImage heights = image("Landlume/Textures/Landscape/heightmap.bmp");
    const QImage colours = image("Landlume/Textures/Landscape/colormap.bmp");
    double lowGreen = 0, lowBrightness = 0, highBrightness = 0;
    int lowCount = 0, highCount = 0;
    for (int y = 0; y < heights.height(); ++y) {
        for (int x = 0; x < heights.width(); ++x) {
            const int h = qRed(heights.pixel(x, y));
            const QRgb c = colours.pixel(x * (colours.width() - 1) / (heights.width() - 1),
                                         y * (colours.height() - 1) / (heights.height() - 1));
            const int brightness = qRed(c) + qGreen(c) + qBlue(c);
            if (h < 40) {
                lowBrightness += brightness;
                lowGreen += qGreen(c) - (qRed(c) + qBlue(c)) / 2.0;
                ++lowCount;
            } else if (h > 235) {
                highBrightness += brightness;
                ++highCount;
            }
        }
    }
    ASSERT_GT(lowCount, 0);
    ASSERT_GT(highCount, 0);
    EXPECT_GT(lowGreen / lowCount, 20.0);                               // green valleys
    EXPECT_GT(highBrightness / highCount, lowBrightness / lowCount + 200); // white tops
    EXPECT_EQ(bmpBitCount(bytes("Landlume/Textures/Landscape/colormap.bmp")), 24);
}

TEST_F(MediaContent, LayerSamplesAndLogo)
{
    const QImage heights = image("Layerloom/samples/heightmap.bmp");
    EXPECT_TRUE(isGrey(heights));
    EXPECT_EQ(greyRange(heights), std::make_pair(0, 255));
    EXPECT_EQ(bmpBitCount(bytes("Layerloom/samples/heightmap.bmp")), 8);
    EXPECT_TRUE(bytes("Layerloom/samples/snow.gif").startsWith("GIF89a"));

    // Each layer has its own character: snow brightest, grass greenest, sand warmest.
    const auto mean = [&](const char* path) {
        const QImage img = image(path);
        double r = 0, g = 0, b = 0;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x) {
                r += qRed(img.pixel(x, y));
                g += qGreen(img.pixel(x, y));
                b += qBlue(img.pixel(x, y));
            }
        const double n = double(img.width()) * img.height();
        return std::array<double, 3>{r / n, g / n, b / n};
    };
    const auto sandMean = mean("Layerloom/samples/sand.bmp"), grassMean = mean("Layerloom/samples/grass.jpg"),
               rockMean = mean("Layerloom/samples/rock.png"), snowMean = mean("Layerloom/samples/snow.gif");
    EXPECT_GT(snowMean[0], 200);
    EXPECT_GT(grassMean[1], grassMean[0] + 20);
    EXPECT_GT(sandMean[0], sandMean[2] + 40);
    EXPECT_LT(std::abs(rockMean[0] - rockMean[2]), 40);

    const QImage logo = image("Stewardex/logo.png");
    EXPECT_EQ(qAlpha(logo.pixel(0, 0)), 0);
    int opaque = 0;
    for (int y = 0; y < logo.height(); ++y)
        for (int x = 0; x < logo.width(); ++x)
            opaque += qAlpha(logo.pixel(x, y)) == 255;
    EXPECT_GT(opaque, logo.width() * logo.height() / 8);
}

TEST_F(MediaContent, GenerationIsDeterministic)
{
    // A second run, into a fresh folder, writes exactly the files the build wrote, byte for byte.
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QString error;
    ASSERT_TRUE(kl::media::writeContent(dir.path(), error)) << error.toStdString();

    QStringList generated;
    QDirIterator it(dir.path(), QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext())
        generated << QDir(dir.path()).relativeFilePath(it.next());
    generated.sort();
    QStringList expected = expectedFiles();
    expected.sort();
    EXPECT_EQ(generated, expected);

    for (const QString& path : generated) {
        QFile file(QDir(dir.path()).filePath(path));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_TRUE(file.readAll() == s_files->value(path)) << "differs between runs: " << path.toStdString();
    }
    for (const QString& folder : kl::media::contentFolders())
        EXPECT_TRUE(QFileInfo(QDir(dir.path()).filePath(folder)).isDir()) << folder.toStdString();
}

TEST(MediaContentWriter, ReportsAFolderThatCannotBeCreated)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QFile blocker(QDir(dir.path()).filePath("Glazery"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly)); // a file where a folder must go
    blocker.close();
    QString error;
    EXPECT_FALSE(kl::media::writeContent(dir.path(), error));
    EXPECT_TRUE(error.contains("Glazery")) << error.toStdString();
}
