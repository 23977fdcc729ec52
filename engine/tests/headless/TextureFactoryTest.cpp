// Textures: ids and names, every supported format, colour keys and bad files.
#include "EngineTestSupport.h"

#include "korlith3d/KLGlobals.h"
#include "korlith3d/KLTextureFactory.h"

#include "core/Context.h"
#include "image/dds/DdsFile.h"

#include <QBuffer>

using kltest::EngineTest;

namespace {

QByteArray encoded(const QImage& image, const char* format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

// A 1x1 red GIF89a (Qt has no GIF writer).
QByteArray redGif()
{
    static const unsigned char bytes[] = {0x47, 0x49, 0x46, 0x38, 0x39, 0x61, 0x01, 0x00, 0x01, 0x00, 0x80, 0x00,
                                          0x00, 0xFF, 0x00, 0x00, 0x00, 0x00, 0x00, 0x21, 0xF9, 0x04, 0x00, 0x00,
                                          0x00, 0x00, 0x00, 0x2C, 0x00, 0x00, 0x00, 0x00, 0x01, 0x00, 0x01, 0x00,
                                          0x00, 0x02, 0x02, 0x44, 0x01, 0x00, 0x3B};
    return QByteArray(reinterpret_cast<const char*>(bytes), sizeof bytes);
}

const QImage& textureImage(int id)
{
    return kl::core::Context::current()->resources().textures.find(id)->data.image;
}

class TextureFactoryTest : public EngineTest {
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        writeFile("a.png", encoded(kltest::testPattern(8, 4), "PNG"));
        writeFile("b.bmp", encoded(kltest::testPattern(16, 16), "BMP"));
        factory = std::make_unique<KLTextureFactory>();
    }
    void TearDown() override
    {
        factory.reset();
        EngineTest::TearDown();
    }
    std::unique_ptr<KLTextureFactory> factory;
};

TEST_F(TextureFactoryTest, IdsCountFromOneInLoadOrderAndAreNeverReused)
{
    EXPECT_EQ(factory->LoadTexture("a.png", "Flake"), 1);
    EXPECT_EQ(factory->LoadTexture("b.bmp", "Smoke"), 2);
    EXPECT_EQ(factory->LoadTexture("a.png", "Flare"), 3);
    EXPECT_EQ(factory->GetTextureName(2), "Smoke");
    EXPECT_EQ(factory->GetTextureId("Flare"), 3);
    EXPECT_EQ(KLGlobals().GetTex("Flake"), 1);

    factory->DeleteTexture(2);
    EXPECT_FALSE(factory->TextureExists(2));
    EXPECT_KLERROR(factory->GetTextureName(2), KLERR_UNKNOWN_ID, "2");
    EXPECT_KLERROR(factory->GetTextureId("Smoke"), KLERR_UNKNOWN_ID, "Smoke");
    EXPECT_KLERROR(factory->DeleteTexture(2), KLERR_UNKNOWN_ID, "2");
    EXPECT_KLERROR(KLGlobals().GetTex("Smoke"), KLERR_UNKNOWN_ID, "Smoke");
    // Deleted ids stay unused; deleting then loading the name again gives a new id.
    EXPECT_EQ(factory->LoadTexture("b.bmp", "Smoke"), 4);
}

TEST_F(TextureFactoryTest, LoadingAnExistingNameReplacesThePictureUnderTheSameId)
{
    const int id = factory->LoadTexture("a.png", "Fabric");
    const auto revision = kl::core::Context::current()->resources().textures.find(id)->data.revision;
    EXPECT_EQ(factory->LoadTexture("b.bmp", "Fabric"), id);
    EXPECT_EQ(factory->GetTextureWidth(id), 16);
    EXPECT_GT(kl::core::Context::current()->resources().textures.find(id)->data.revision, revision);
    EXPECT_EQ(factory->LoadTexture("a.png", "Other"), id + 1);
}

TEST_F(TextureFactoryTest, ReadsEveryImageFormat)
{
    const QImage pattern = kltest::testPattern(8, 8);
    writeFile("t.jpg", encoded(pattern, "JPG"));
    writeFile("t.tif", encoded(pattern, "TIFF"));
    writeFile("t.gif", redGif());
    writeFile("t.dds", kl::dds::encode(pattern, kl::dds::Format::Rgba8));
    writeFile("t5.dds", kl::dds::encode(pattern, kl::dds::Format::Dxt5));

    for (const char* file : {"a.png", "b.bmp", "t.jpg", "t.tif", "t.dds", "t5.dds"}) {
        SCOPED_TRACE(file);
        const int id = factory->LoadTexture(file, file);
        EXPECT_GT(factory->GetTextureWidth(id), 0);
        EXPECT_EQ(textureImage(id).format(), QImage::Format_ARGB32);
    }
    // Exact pixels where the format is lossless.
    EXPECT_EQ(textureImage(factory->GetTextureId("b.bmp")).pixel(15, 0), kltest::testPattern(16, 16).pixel(15, 0));
    EXPECT_EQ(textureImage(factory->GetTextureId("t.tif")).pixel(7, 7), pattern.pixel(7, 7));
    EXPECT_EQ(textureImage(factory->GetTextureId("t.dds")).pixel(3, 5), pattern.pixel(3, 5));
    const int gif = factory->LoadTexture("t.gif", "gif");
    EXPECT_EQ(textureImage(gif).pixel(0, 0), qRgb(255, 0, 0));
}

TEST_F(TextureFactoryTest, PathsResolveAgainstTheSearchFolderWithoutRegardToCase)
{
    ASSERT_TRUE(QDir(dir.path()).mkpath("Data/textures"));
    writeFile("Data/textures/Fabrics004.jpg", encoded(kltest::testPattern(4, 4), "JPG"));
    EXPECT_EQ(factory->LoadTexture("data\\TEXTURES\\fabrics004.JPG", "Fabric"), 1);
    EXPECT_EQ(factory->LoadTexture("\\Data\\textures\\Fabrics004.jpg", "Back"), 2);
}

TEST_F(TextureFactoryTest, SizeArgumentsScaleThePicture)
{
    const int id = factory->LoadTexture("a.png", "Flake", 128, 128);
    EXPECT_EQ(factory->GetTextureWidth(id), 128);
    EXPECT_EQ(factory->GetTextureHeight(id), 128);
    const int own = factory->LoadTexture("a.png", "Own", -1, -1);
    EXPECT_EQ(factory->GetTextureWidth(own), 8);
    EXPECT_EQ(factory->GetTextureHeight(own), 4);
}

TEST_F(TextureFactoryTest, ColourKeyMakesMatchingPixelsTransparent)
{
    QImage image(2, 1, QImage::Format_ARGB32);
    image.setPixel(0, 0, 0xFFFF00FFu);
    image.setPixel(1, 0, 0xFF00FF00u);
    writeFile("key.png", encoded(image, "PNG"));

    const int keyed = factory->LoadTexture("key.png", "Custom", -1, -1, 0xFFFF00FFLL);
    EXPECT_EQ(qAlpha(textureImage(keyed).pixel(0, 0)), 0);
    EXPECT_EQ(qAlpha(textureImage(keyed).pixel(1, 0)), 255);
    // -1 is no key; 0 (transparent black) matches nothing in an opaque picture.
    for (std::int64_t key : {std::int64_t(-1), std::int64_t(0)}) {
        const int id = factory->LoadTexture("key.png", QStringLiteral("k%1").arg(key), -1, -1, key);
        EXPECT_EQ(qAlpha(textureImage(id).pixel(0, 0)), 255);
        EXPECT_EQ(qAlpha(textureImage(id).pixel(1, 0)), 255);
    }
}

TEST_F(TextureFactoryTest, BumpTexturesAreFlaggedAndNamedLikeOthers)
{
    const int id = factory->LoadBumpTexture("b.bmp", "Bump", -1, 1.0f);
    EXPECT_EQ(id, 1);
    EXPECT_TRUE(kl::core::Context::current()->resources().textures.find(id)->data.isBumpMap);
    EXPECT_EQ(factory->GetTextureId("Bump"), 1);
    factory->DeleteTexture(id);
    EXPECT_EQ(factory->LoadBumpTexture("b.bmp", "Bump", -1, 1.0f), 2);
}

TEST_F(TextureFactoryTest, MissingAndMalformedFilesRaiseErrorsNamingTheFile)
{
    EXPECT_KLERROR(factory->LoadTexture("nothere.jpg", "X"), KLERR_FILE_NOT_FOUND, "nothere.jpg");

    const QImage pattern = kltest::testPattern(32, 32);
    const QByteArray files[] = {encoded(pattern, "PNG"), encoded(pattern, "BMP"), encoded(pattern, "JPG"),
                                encoded(pattern, "TIFF"), redGif(), kl::dds::encode(pattern, kl::dds::Format::Dxt1)};
    const char* names[] = {"cut.png", "cut.bmp", "cut.jpg", "cut.tif", "cut.gif", "cut.dds"};
    for (size_t i = 0; i < std::size(files); ++i) {
        SCOPED_TRACE(names[i]);
        writeFile(names[i], files[i].left(files[i].size() / 3 < 20 ? 12 : 20));
        EXPECT_KLERROR(factory->LoadTexture(names[i], names[i]), KLERR_BAD_FILE_FORMAT, names[i]);
    }
    writeFile("garbage.jpg", QByteArray(1000, '\x5a'));
    EXPECT_KLERROR(factory->LoadTexture("garbage.jpg", "G"), KLERR_BAD_FILE_FORMAT, "garbage.jpg");
    writeFile("empty.png", {});
    EXPECT_KLERROR(factory->LoadTexture("empty.png", "E"), KLERR_BAD_FILE_FORMAT, "empty.png");
    // Failed loads use up no id.
    EXPECT_EQ(factory->LoadTexture("a.png", "ok"), 1);
}

TEST_F(TextureFactoryTest, PicturesFromMemoryTakeIdsInTheSameSequenceAndCopyThePixels)
{
    EXPECT_EQ(factory->LoadTexture("a.png", "Flake"), 1);
    QImage lightmap(3, 2, QImage::Format_RGB32);   // B, G, R, spare bytes
    lightmap.fill(qRgb(10, 20, 30));
    lightmap.setPixel(2, 1, qRgb(200, 100, 50));
    EXPECT_EQ(factory->CreateTextureFromImage(lightmap, "Lightmap"), 2);
    lightmap.fill(Qt::black);   // the engine holds its own copy
    EXPECT_EQ(factory->GetTextureId("Lightmap"), 2);
    EXPECT_EQ(factory->GetTextureWidth(2), 3);
    EXPECT_EQ(factory->GetTextureHeight(2), 2);
    EXPECT_EQ(textureImage(2).pixel(0, 0), qRgb(10, 20, 30));
    EXPECT_EQ(textureImage(2).pixel(2, 1), qRgb(200, 100, 50));
    EXPECT_EQ(factory->LoadTexture("b.bmp", "Smoke"), 3);

    // The same name again replaces the picture under its id, like a reload.
    const QImage grey(4, 4, QImage::Format_Grayscale8);
    QImage mid = grey;
    mid.fill(128);
    EXPECT_EQ(factory->CreateTextureFromImage(mid, "Lightmap"), 2);
    EXPECT_EQ(textureImage(2).pixel(3, 3), qRgb(128, 128, 128));
}

TEST_F(TextureFactoryTest, UpdatingATextureReplacesItsPictureAndSizeForTheRenderer)
{
    const int id = factory->LoadTexture("a.png", "Terrain");
    const auto revision = kl::core::Context::current()->resources().textures.find(id)->data.revision;
    QImage generated(5, 7, QImage::Format_ARGB32);
    generated.fill(qRgba(1, 2, 3, 4));
    factory->UpdateTexture(id, generated);
    EXPECT_EQ(factory->GetTextureWidth(id), 5);
    EXPECT_EQ(factory->GetTextureHeight(id), 7);
    EXPECT_EQ(textureImage(id).pixel(4, 6), qRgba(1, 2, 3, 4));
    EXPECT_GT(kl::core::Context::current()->resources().textures.find(id)->data.revision, revision);
    EXPECT_EQ(factory->GetTextureName(id), "Terrain");
}

TEST_F(TextureFactoryTest, EmptyOrOversizedPicturesAndUnknownIdsAreRefused)
{
    EXPECT_KLERROR(factory->CreateTextureFromImage(QImage(), "Empty"), KLERR_INVALID_CALL, "empty");
    EXPECT_KLERROR(factory->CreateTextureFromImage(QImage(16385, 1, QImage::Format_Mono), "Wide"), KLERR_INVALID_CALL,
                   "16385");
    EXPECT_FALSE(factory->TextureExists(1));   // nothing was stored
    EXPECT_KLERROR(factory->UpdateTexture(1, kltest::testPattern(2, 2)), KLERR_UNKNOWN_ID, "1");
    const int id = factory->CreateTextureFromImage(kltest::testPattern(2, 2), "Kept");
    EXPECT_KLERROR(factory->UpdateTexture(id, QImage()), KLERR_INVALID_CALL, "empty");
    EXPECT_EQ(textureImage(id).size(), QSize(2, 2));   // the old picture stays
}

TEST_F(TextureFactoryTest, FailuresAreWrittenToTheDebugLog)
{
    engine->SetDebugFile(path("debug.txt"));
    EXPECT_THROW(factory->LoadTexture("lost.bmp", "Lost"), KLError);
    QFile log(path("debug.txt"));
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    EXPECT_TRUE(log.readAll().contains("lost.bmp"));
}

TEST(TextureFactoryWithoutEngine, CreationNeedsAnEngine)
{
    EXPECT_KLERROR(KLTextureFactory(), KLERR_NOT_INITIALISED, "KLEngine");
}

} // namespace
