// Terrain texture generation: layers blended over a height map into a 24-bit
// BMP — exact textures, soft edges, slopes, gaps, every picture format, file
// sizes, the same bytes on any thread count, and failures that leave the
// output alone.
#include "EngineTestSupport.h"

#include "korlith3d/KLLandscape.h"

#include "GifWriter.h"
#include "dds/DdsFile.h"
#include "terrain/TextureGeneration.h"

#include <platform/SaveFaults.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageWriter>
#include <QtEndian>

#include <array>
#include <cmath>
#include <limits>
#include <random>

using kltest::EngineTest;
using namespace kl::terrain;

namespace {

QImage solid(int width, int height, QRgb colour)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

template <typename Grey>
QImage greyImage(int width, int height, Grey grey)
{
    QImage image(width, height, QImage::Format_Grayscale8);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.scanLine(y)[x] = static_cast<uchar>(grey(x, y));
    return image;
}

// A picture whose every texel differs from its neighbours.
QImage pattern(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb((x * 37 + y * 11) % 256, (x * 5 + y * 71) % 256, (x * y * 3 + 40) % 256));
    return image;
}

class TextureGenerationTest : public EngineTest {
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        land = std::make_unique<KLLandscape>();
    }
    void TearDown() override
    {
        land.reset();
        EngineTest::TearDown();
    }
    void save(const QImage& image, const QString& name, const char* format = "BMP")
    {
        ASSERT_TRUE(image.save(path(name), format)) << name.toStdString();
    }
    QImage generated(const QString& heightMap, int resolution)
    {
        land->GenerateTexture(heightMap, "out.bmp", resolution);
        QImage image(path("out.bmp"));
        EXPECT_FALSE(image.isNull());
        return image;
    }
    QByteArray bytes(const QString& name) const
    {
        QFile file(path(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    std::unique_ptr<KLLandscape> land;
};

TEST_F(TextureGenerationTest, OneCoveringLayerGivesItsTextureExactlyTiledAsTheScalesSay)
{
    const QImage texture = pattern(16, 8);
    save(texture, "layer.png", "PNG");
    save(solid(16, 16, qRgb(255, 0, 255)), "other.bmp");
    save(greyImage(5, 5, [](int, int) { return 100; }), "flat.bmp");
    // The other layer lies well away from grey 100: it adds nothing.
    land->AddTextureLayer("other.bmp", 200, 255, 1.5f, 1, 1);
    EXPECT_EQ(land->AddTextureLayer("layer.png", 50, 150, 1.5f, 2.0f, 4.0f), 1);
    EXPECT_EQ(land->GetTextureLayerCount(), 2);

    const QImage out = generated("flat.bmp", 32);
    ASSERT_EQ(out.size(), QSize(32, 32));
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            ASSERT_EQ(out.pixel(x, y) & 0xFFFFFF, texture.pixel(x % 16, y % 8) & 0xFFFFFF) << x << ", " << y;

    // A picture much wider than the output: a quarter of it across 16 pixels.
    const QImage wide = pattern(64, 8);
    save(wide, "wide.bmp");
    land->ClearTextureLayers();
    land->AddTextureLayer("wide.bmp", 0, 255, 1.5f, 0.25f, 2.0f);
    const QImage part = generated("flat.bmp", 16);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            ASSERT_EQ(part.pixel(x, y) & 0xFFFFFF, wide.pixel(x, y % 8) & 0xFFFFFF) << x << ", " << y;
}

TEST_F(TextureGenerationTest, AltitudeWeightsRiseSmoothlyAcrossARangeEnd)
{
    const BlendLayer soft = blendLayer({"t", 100, 200, 1.5f, 1, 1, 0}, solid(1, 1, 0));
    EXPECT_FLOAT_EQ(soft.edge, 12.0f);
    EXPECT_FLOAT_EQ(altitudeWeight(soft, 150), 1.0f);
    EXPECT_FLOAT_EQ(altitudeWeight(soft, 100), 0.5f);
    EXPECT_FLOAT_EQ(altitudeWeight(soft, 200), 0.5f);
    EXPECT_FLOAT_EQ(altitudeWeight(soft, 88), 0.0f);
    EXPECT_FLOAT_EQ(altitudeWeight(soft, 212), 0.0f);
    float previous = 0.0f;
    for (float a = 80; a <= 150; a += 0.25f) {
        const float w = altitudeWeight(soft, a);
        EXPECT_GE(w, previous) << a;
        EXPECT_LE(w - previous, 0.05f) << a;   // no step anywhere
        previous = w;
    }
    // Power 0: hard edges; minimum above maximum: the same range.
    const BlendLayer hard = blendLayer({"t", 200, 100, 0.0f, 1, 1, 0}, solid(1, 1, 0));
    EXPECT_EQ(altitudeWeight(hard, 99.9f), 0.0f);
    EXPECT_EQ(altitudeWeight(hard, 100.0f), 1.0f);
    EXPECT_EQ(altitudeWeight(hard, 200.0f), 1.0f);
    EXPECT_EQ(altitudeWeight(hard, 200.1f), 0.0f);
    // A power that is not a number counts as 0.
    EXPECT_EQ(blendLayer({"t", 0, 1, std::nanf(""), 1, 1, 0}, solid(1, 1, 0)).edge, 0.0f);
}

TEST_F(TextureGenerationTest, NeighbouringLayersCrossFadeAtTheDefaultPowerAndSwitchAtPowerZero)
{
    // A ramp from grey 0 at the left to 255 at the right, red below 128, blue above.
    save(greyImage(256, 4, [](int x, int) { return x; }), "ramp.bmp");
    save(solid(8, 8, qRgb(255, 0, 0)), "red.bmp");
    save(solid(8, 8, qRgb(0, 0, 255)), "blue.bmp");
    auto redAlong = [&](float power) {
        land->ClearTextureLayers();
        land->AddTextureLayer("red.bmp", 0, 127, power, 1, 1);
        land->AddTextureLayer("blue.bmp", 128, 255, power, 1, 1);
        const QImage out = generated("ramp.bmp", 256);
        std::vector<int> red;
        for (int x = 0; x < 256; ++x) {
            red.push_back(qRed(out.pixel(x, 1)));
            EXPECT_NEAR(qRed(out.pixel(x, 1)) + qBlue(out.pixel(x, 1)), 255, 1) << x;   // weights sum to one
        }
        return red;
    };
    const std::vector<int> soft = redAlong(1.5f);
    int largestStep = 0, blended = 0;
    for (int x = 1; x < 256; ++x) {
        EXPECT_LE(soft[x], soft[x - 1]) << x;
        largestStep = std::max(largestStep, soft[x - 1] - soft[x]);
        blended += soft[x] > 0 && soft[x] < 255;
    }
    EXPECT_LE(largestStep, 20);
    EXPECT_GE(blended, 20);   // about 24 levels of cross-fade
    EXPECT_EQ(soft[0], 255);
    EXPECT_EQ(soft[255], 0);

    const std::vector<int> hard = redAlong(0.0f);
    blended = 0;
    for (int x = 0; x < 256; ++x)
        blended += hard[x] > 0 && hard[x] < 255;
    EXPECT_LE(blended, 1);
}

TEST_F(TextureGenerationTest, AltitudesNoLayerCoversTakeTheNearestLayer)
{
    save(greyImage(3, 1, [](int x, int) { return std::array{100, 180, 20}[x]; }), "gaps.bmp");
    save(solid(4, 4, qRgb(255, 0, 0)), "low.bmp");
    save(solid(4, 4, qRgb(0, 255, 0)), "high.bmp");
    land->AddTextureLayer("low.bmp", 0, 50, 0.0f, 1, 1);
    land->AddTextureLayer("high.bmp", 200, 255, 0.0f, 1, 1);
    // Three map pixels stretched over 6 output pixels, hard edges.
    const QImage out = generated("gaps.bmp", 6);
    EXPECT_EQ(out.pixel(0, 0) & 0xFFFFFF, 0xFF0000u);   // grey 100: 50 from low, 100 from high
    EXPECT_EQ(out.pixel(3, 0) & 0xFFFFFF, 0x00FF00u);   // around 180
    EXPECT_EQ(out.pixel(5, 0) & 0xFFFFFF, 0xFF0000u);   // around 20, inside low
}

TEST_F(TextureGenerationTest, TheSlopeLimitKeepsLayersOnFlatOrSteepGround)
{
    // Flat at the left half, a steep ramp (8 levels a pixel) at the right half.
    save(greyImage(64, 8, [](int x, int) { return x < 32 ? 10 : std::min(255, 10 + (x - 32) * 8); }), "cliff.bmp");
    save(solid(4, 4, qRgb(0, 200, 0)), "grass.bmp");
    save(solid(4, 4, qRgb(120, 120, 120)), "rock.bmp");
    land->AddTextureLayer("grass.bmp", 0, 255, 0.0f, 1, 1, 2.0f);
    land->AddTextureLayer("rock.bmp", 0, 255, 0.0f, 1, 1, -2.0f);
    const QImage out = generated("cliff.bmp", 64);
    EXPECT_EQ(out.pixel(10, 4) & 0xFFFFFF, 0x00C800u);
    EXPECT_EQ(out.pixel(45, 4) & 0xFFFFFF, 0x787878u);

    // 0 has no effect: both layers cover everything and mix evenly.
    land->ClearTextureLayers();
    land->AddTextureLayer("grass.bmp", 0, 255, 0.0f, 1, 1, 0.0f);
    land->AddTextureLayer("rock.bmp", 0, 255, 0.0f, 1, 1, 0.0f);
    const QImage even = generated("cliff.bmp", 64);
    EXPECT_EQ(even.pixel(10, 4) & 0xFFFFFF, even.pixel(45, 4) & 0xFFFFFF);
    EXPECT_EQ(qGreen(even.pixel(45, 4)), 160);
}

TEST_F(TextureGenerationTest, LayersAndHeightMapsOfEveryFormatAndSize)
{
    const QRgb colour = qRgb(200, 100, 50);
    save(solid(7, 3, colour), "a.bmp");
    save(solid(5, 9, colour), "b.jpg", "JPG");
    save(solid(64, 64, colour), "c.png", "PNG");
    writeFile("d.gif", kl::media::encodeGif(solid(3, 3, colour)));
    save(solid(16, 4, colour), "e.tif", "TIFF");
    writeFile("f.dds", kl::dds::encode(solid(8, 8, colour), kl::dds::Format::Rgba8));
    // A colour height map counts as its brightness; a PNG one reads as well.
    save(solid(9, 9, qRgb(128, 128, 128)), "height.png", "PNG");
    for (const char* file : {"a.bmp", "b.jpg", "c.png", "d.gif", "e.tif", "f.dds"}) {
        land->ClearTextureLayers();
        land->AddTextureLayer(file, 0, 255, 1.5f, 3.0f, 0.5f);
        const QImage out = generated("height.png", 20);
        const QRgb p = out.pixel(13, 7);
        EXPECT_NEAR(qRed(p), 200, 3) << file;
        EXPECT_NEAR(qGreen(p), 100, 3) << file;
        EXPECT_NEAR(qBlue(p), 50, 3) << file;
    }
}

TEST_F(TextureGenerationTest, TheOutputIsA24BitBmpOfTheResolution)
{
    save(greyImage(33, 33, [](int x, int y) { return (x * 7 + y * 3) % 256; }), "hills.bmp");
    save(pattern(64, 64), "layer.bmp");
    land->AddTextureLayer("layer.bmp", 0, 255, 1.5f, 1, 1);
    for (const int resolution : {32, 2048, 5}) {
        land->GenerateTexture("hills.bmp", "size.bmp", resolution);
        const QByteArray file = bytes("size.bmp");
        const int rowBytes = (resolution * 3 + 3) / 4 * 4;
        ASSERT_EQ(file.size(), 54 + rowBytes * resolution) << resolution;
        const auto* h = reinterpret_cast<const uchar*>(file.constData());
        EXPECT_EQ(file.left(2), "BM");
        EXPECT_EQ(qFromLittleEndian<std::int32_t>(h + 18), resolution);
        EXPECT_EQ(qFromLittleEndian<std::int32_t>(h + 22), resolution);
        EXPECT_EQ(qFromLittleEndian<std::uint16_t>(h + 28), 24);
        EXPECT_EQ(qFromLittleEndian<std::uint32_t>(h + 2), std::uint32_t(file.size()));
        EXPECT_EQ(QImage(path("size.bmp")).size(), QSize(resolution, resolution));
    }
}

TEST_F(TextureGenerationTest, TheSameBytesOnAnyThreadCount)
{
    std::mt19937 random(7);
    BlendInputs inputs;
    std::vector<float> heights(40 * 30);
    for (float& h : heights)
        h = float(random() % 256);
    inputs.heights = HeightField(40, 30, heights);
    inputs.layers.push_back(blendLayer({"a", 0, 90, 1.5f, 1.0f, 1.0f, 0.0f}, pattern(17, 23)));
    inputs.layers.push_back(blendLayer({"b", 80, 170, 2.3f, 3.7f, -1.3f, 20.0f}, pattern(64, 5)));
    inputs.layers.push_back(blendLayer({"c", 160, 255, 0.7f, 0.25f, 9.0f, -30.0f}, pattern(3, 3)));
    inputs.resolution = 301;
    // Also without slopes (the altitude steps), with a picture wider than twice the output.
    BlendInputs stepped = inputs;
    for (BlendLayer& layer : stepped.layers)
        layer.slopeLimit = 0.0f;
    stepped.layers.push_back(blendLayer({"d", 100, 200, 1.0f, 1.7f, 1.0f, 0.0f}, pattern(700, 9)));
    const std::vector<std::uint8_t> steppedOne = blendTextureRows(stepped, 1);
    for (const int threads : {2, 7, 64})
        EXPECT_EQ(blendTextureRows(stepped, threads), steppedOne) << threads;

    const std::vector<std::uint8_t> one = blendTextureRows(inputs, 1);
    ASSERT_EQ(one.size(), std::size_t(bmpRowBytes(301)) * 301);
    for (const int threads : {2, 3, 8, 301, 1000})
        EXPECT_EQ(blendTextureRows(inputs, threads), one) << threads;
    EXPECT_EQ(blendedBmpFile(inputs, 3), bmpFile(301, one));

    // The public call on every core gives those bytes too.
    save(greyImage(40, 30, [&](int x, int y) { return int(heights[std::size_t(y * 40 + x)]); }), "h.bmp");
    save(pattern(17, 23), "a.bmp");
    save(pattern(64, 5), "b.bmp");
    save(pattern(3, 3), "c.bmp");
    land->AddTextureLayer("a.bmp", 0, 90, 1.5f, 1.0f, 1.0f, 0.0f);
    land->AddTextureLayer("b.bmp", 80, 170, 2.3f, 3.7f, -1.3f, 20.0f);
    land->AddTextureLayer("c.bmp", 160, 255, 0.7f, 0.25f, 9.0f, -30.0f);
    land->GenerateTexture("h.bmp", "all.bmp", 301);
    EXPECT_EQ(bytes("all.bmp"), bmpFile(301, one));
}

TEST_F(TextureGenerationTest, WeightsWorkedOutOnceAgreeWithWeightsAtEachPixel)
{
    // A slope limit too large to matter makes every pixel work its weights out
    // itself; without it they come from the altitude steps. Both must agree.
    std::mt19937 random(3);
    std::vector<float> heights(23 * 19);
    for (float& h : heights)
        h = float(random() % 256);
    BlendInputs stepped;
    stepped.heights = HeightField(23, 19, heights);
    stepped.resolution = 200;
    const TextureLayerSpec specs[] = {{"a", 0, 80, 1.5f, 1.0f, 2.0f, 0.0f},
                                      {"b", 70, 150, 3.0f, 2.5f, 1.0f, 0.0f},
                                      {"c", 160, 120, 0.4f, 0.5f, 0.5f, 0.0f},
                                      {"d", 230, 255, 0.0f, 3.0f, 3.0f, 0.0f}};
    for (const TextureLayerSpec& spec : specs)
        stepped.layers.push_back(blendLayer(spec, pattern(16 + int(stepped.layers.size()) * 7, 12)));
    BlendInputs exact = stepped;
    exact.layers[3].slopeLimit = 1e30f;
    const std::vector<std::uint8_t> a = blendTextureRows(stepped, 2), b = blendTextureRows(exact, 2);
    ASSERT_EQ(a.size(), b.size());
    // An altitude read to the nearest 16th of a level moves a soft edge's
    // weight a little; a hard edge (layer d) moves by that 16th, so the odd
    // pixel right on it flips.
    std::size_t apart = 0, flipped = 0;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const int d = std::abs(int(a[i]) - int(b[i]));
        apart += d > 0;
        flipped += d > 6;
    }
    EXPECT_GT(apart, 0u);   // the two ways really differ
    EXPECT_LE(flipped, a.size() / 500);
}

TEST_F(TextureGenerationTest, AFailedWriteOfTheTextureKeepsThePreviousOne)
{
    save(greyImage(4, 4, [](int, int) { return 9; }), "h.bmp");
    save(solid(4, 4, qRgb(1, 2, 3)), "good.bmp");
    writeFile("out.bmp", "previous texture");
    land->AddTextureLayer("good.bmp", 0, 255, 1.5f, 1, 1);
    for (const platform::SaveFault fault : {platform::SaveFault::Write, platform::SaveFault::Flush,
                                            platform::SaveFault::Rename}) {
        const platform::ScopedSaveFault injected(fault);
        EXPECT_KLERROR(land->GenerateTexture("h.bmp", "out.bmp", 16), KLERR_FILE_ACCESS, "out.bmp");
        EXPECT_EQ(bytes("out.bmp"), "previous texture") << int(fault);
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 3) << int(fault);
    }
    land->GenerateTexture("h.bmp", "out.bmp", 16);
    EXPECT_EQ(QImage(path("out.bmp")).pixel(1, 1) & 0xFFFFFF, 0x010203u);
}

TEST_F(TextureGenerationTest, FailuresNameTheFileAndLeaveTheOutputAlone)
{
    save(greyImage(4, 4, [](int, int) { return 9; }), "h.bmp");
    save(solid(4, 4, qRgb(1, 2, 3)), "good.bmp");
    writeFile("garbage.png", QByteArray("\x89PNG\r\n\x1a\n this is not a picture", 30));
    writeFile("out.bmp", "previous texture");

    EXPECT_KLERROR(land->GenerateTexture("h.bmp", "out.bmp", 32), KLERR_INVALID_CALL, "no texture layers");
    land->AddTextureLayer("good.bmp", 0, 255, 1.5f, 1, 1);
    EXPECT_KLERROR(land->GenerateTexture("h.bmp", "out.bmp", 0), KLERR_INVALID_CALL, "resolution 0");
    EXPECT_KLERROR(land->GenerateTexture("h.bmp", "out.bmp", 8193), KLERR_INVALID_CALL, "resolution 8193");
    EXPECT_KLERROR(land->GenerateTexture("missing.bmp", "out.bmp", 32), KLERR_FILE_NOT_FOUND, "missing.bmp");
    EXPECT_KLERROR(land->GenerateTexture("garbage.png", "out.bmp", 32), KLERR_BAD_FILE_FORMAT, "height map");
    land->AddTextureLayer("garbage.png", 0, 255, 1.5f, 1, 1);
    EXPECT_KLERROR(land->GenerateTexture("h.bmp", "out.bmp", 32), KLERR_BAD_FILE_FORMAT, "layer 1 \"garbage.png\"");
    land->ClearTextureLayers();
    EXPECT_EQ(land->GetTextureLayerCount(), 0);
    land->AddTextureLayer("nowhere.jpg", 0, 255, 1.5f, 1, 1);
    EXPECT_KLERROR(land->GenerateTexture("h.bmp", "out.bmp", 32), KLERR_FILE_NOT_FOUND, "nowhere.jpg");
    EXPECT_EQ(bytes("out.bmp"), "previous texture");

    land->ClearTextureLayers();
    land->AddTextureLayer("good.bmp", 0, 255, 1.5f, 1, 1);
    EXPECT_KLERROR(land->GenerateTexture("h.bmp", "no such folder/out.bmp", 32), KLERR_FILE_ACCESS, "no such folder");
    EXPECT_KLERROR(land->GenerateTexture("h.bmp", dir.path(), 32), KLERR_FILE_ACCESS, "cannot write");
    // Nothing but the files the test wrote is left in the folder.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 4);
    EXPECT_EQ(bytes("out.bmp"), "previous texture");
    land->GenerateTexture("h.bmp", "out.bmp", 8);
    EXPECT_EQ(QImage(path("out.bmp")).pixel(3, 3) & 0xFFFFFF, 0x010203u);
}

TEST_F(TextureGenerationTest, OddScalesAndLayerLimits)
{
    save(greyImage(2, 2, [](int, int) { return 50; }), "h.bmp");
    save(pattern(8, 8), "p.bmp");
    // Zero, negative, huge and not-a-number scales still give a whole picture.
    land->AddTextureLayer("p.bmp", 0, 255, 1.5f, 0.0f, -2.0f);
    land->AddTextureLayer("p.bmp", 0, 255, 1.5f, 1e30f, std::nanf(""));
    land->AddTextureLayer("p.bmp", 0, 255, 1.5f, std::numeric_limits<float>::infinity(), 1);
    EXPECT_EQ(generated("h.bmp", 16).size(), QSize(16, 16));

    // A negative U scale mirrors the picture along U.
    land->ClearTextureLayers();
    land->AddTextureLayer("p.bmp", 0, 255, 0.0f, -1.0f, 1.0f);
    const QImage mirrored = generated("h.bmp", 8);
    const QImage picture = pattern(8, 8);
    EXPECT_EQ(mirrored.pixel(0, 2) & 0xFFFFFF, picture.pixel(7, 2) & 0xFFFFFF);
    EXPECT_EQ(mirrored.pixel(6, 5) & 0xFFFFFF, picture.pixel(1, 5) & 0xFFFFFF);

    land->ClearTextureLayers();
    for (int i = 0; i < KLLandscape::kMaxTextureLayers; ++i)
        land->AddTextureLayer("p.bmp", i, i, 1.0f, 1, 1);
    EXPECT_KLERROR(land->AddTextureLayer("p.bmp", 0, 0, 1.0f, 1, 1), KLERR_INVALID_CALL, "more than 256");
    EXPECT_EQ(land->GetTextureLayerCount(), KLLandscape::kMaxTextureLayers);
    // Many layers of one picture: read once, blended all the same.
    EXPECT_EQ(qRed(generated("h.bmp", 8).pixel(0, 0)), qRed(picture.pixel(0, 0)));
}

} // namespace
