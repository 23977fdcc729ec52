// Frame-level behaviour: background, 2D quads, text, textures, presenting into
// the picture box, screenshots and the GPU cache.
#include "PixelTestSupport.h"

#include <QApplication>
#include <QFont>
#include <QPainter>
#include <QScreen>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace kl::gpu;
using namespace kl::gpu::test;

namespace {

constexpr float Tolerance = 3.0f / 255.0f;

TextureData solidTexture(ResourceId id, QColor colour, QSize size = QSize(8, 8))
{
    TextureData t;
    t.id = id;
    t.image = QImage(size, QImage::Format_ARGB32);
    t.image.fill(colour);
    return t;
}

// Top half red, bottom half blue.
TextureData topRedBottomBlue(ResourceId id)
{
    TextureData t;
    t.id = id;
    t.image = QImage(64, 64, QImage::Format_ARGB32);
    t.image.fill(Qt::blue);
    QPainter(&t.image).fillRect(0, 0, 64, 32, Qt::red);
    return t;
}

bool near(glm::vec4 a, glm::vec4 b, float tolerance = Tolerance)
{
    return std::abs(a.r - b.r) <= tolerance && std::abs(a.g - b.g) <= tolerance &&
           std::abs(a.b - b.b) <= tolerance;
}

::testing::AssertionResult colourIs(glm::vec4 got, glm::vec4 expected)
{
    if (near(got, expected))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "got (" << got.r << ", " << got.g << ", " << got.b << ") expected ("
                                         << expected.r << ", " << expected.g << ", " << expected.b << ")";
}

class FrameTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(fixture.attached()) << fixture.attachError().toStdString(); }

    DrawItem emissiveItem(const MeshGeometry& mesh, glm::vec4 colour) const
    {
        DrawItem item;
        item.mesh = &mesh;
        item.material.ambient = item.material.diffuse = glm::vec4(0, 0, 0, 1);
        item.material.emissive = colour;
        return item;
    }

    RenderFixture fixture;
};

} // namespace

TEST(RendererAttach, UnknownHandleOrMissingWidgetIsAnError)
{
    Renderer renderer;
    QString error;
    EXPECT_FALSE(renderer.attach(WId(0x7ffffff0), error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(renderer.attach(static_cast<QWidget*>(nullptr), error));
    EXPECT_FALSE(renderer.isAttached());
    // Drawing without a view does nothing and reports why.
    EXPECT_FALSE(renderer.beginFrame(glm::vec4(0)));
    EXPECT_FALSE(renderer.lastError().isEmpty());
    renderer.drawText(QFont(), QStringLiteral("x"), 0, 0, 0xFFFFFFFFu);
    EXPECT_FALSE(renderer.present());
    EXPECT_TRUE(renderer.grabFrame().isNull());
}

TEST_F(FrameTest, ReportsTheContextAndFollowsThePictureBoxSize)
{
    EXPECT_TRUE(fixture.renderer().glVersion().contains(QStringLiteral("3.3"))
                || fixture.renderer().glVersion().startsWith(QStringLiteral("4")))
        << fixture.renderer().glVersion().toStdString();
    EXPECT_FALSE(fixture.renderer().glRenderer().isEmpty());
    EXPECT_EQ(fixture.renderer().viewportSize(), fixture.size());

    fixture.pictureBox().resize(200, 100);
    QApplication::processEvents();
    EXPECT_EQ(fixture.renderer().viewportSize(), QSize(200, 100));
    ASSERT_TRUE(fixture.renderer().beginFrame(glm::vec4(0, 1, 0, 1)));
    ASSERT_TRUE(fixture.renderer().present());
    const QImage frame = fixture.renderer().grabFrame();
    EXPECT_EQ(frame.size(), QSize(200, 100));
    EXPECT_TRUE(colourIs(pixelColour(frame, 199, 99), glm::vec4(0, 1, 0, 1)));
}

TEST_F(FrameTest, BackgroundFillsTheViewBehindTheMesh)
{
    const TextureData background = solidTexture(10, QColor(40, 120, 200));
    const MeshGeometry sphere = makeSphere(11, 1.0f);
    const DrawItem item = emissiveItem(sphere, glm::vec4(1, 0, 0, 1));
    const QImage image = fixture.render(frontCamera(3, fixture.size()), {&item, 1}, glm::vec4(0, 0, 0, 1), &background);
    const glm::vec4 back(40 / 255.0f, 120 / 255.0f, 200 / 255.0f, 1);
    for (QPoint corner : {QPoint(0, 0), QPoint(159, 0), QPoint(0, 119), QPoint(159, 119)})
        EXPECT_TRUE(colourIs(pixelColour(image, corner.x(), corner.y()), back)) << corner.x() << "," << corner.y();
    EXPECT_TRUE(colourIs(centrePixel(image), glm::vec4(1, 0, 0, 1)));
}

TEST_F(FrameTest, BackgroundPictureIsStretchedTheRightWayUp)
{
    const TextureData background = topRedBottomBlue(12);
    const QImage image = fixture.render(FrameState{}, {}, glm::vec4(0, 0, 0, 1), &background);
    EXPECT_TRUE(colourIs(pixelColour(image, 80, 10), glm::vec4(1, 0, 0, 1)));
    EXPECT_TRUE(colourIs(pixelColour(image, 80, 110), glm::vec4(0, 0, 1, 1)));
}

TEST_F(FrameTest, BackgroundFollowsPictureChangesAndViewSize)
{
    TextureData background = solidTexture(24, Qt::red);
    EXPECT_TRUE(colourIs(centrePixel(fixture.render(FrameState{}, {}, glm::vec4(0, 0, 0, 1), &background)),
                         glm::vec4(1, 0, 0, 1)));
    background.image.fill(Qt::green);
    ++background.revision;
    EXPECT_TRUE(colourIs(centrePixel(fixture.render(FrameState{}, {}, glm::vec4(0, 0, 0, 1), &background)),
                         glm::vec4(0, 1, 0, 1)));
    // Another picture under another id.
    const TextureData other = solidTexture(25, Qt::white);
    EXPECT_TRUE(colourIs(centrePixel(fixture.render(FrameState{}, {}, glm::vec4(0, 0, 0, 1), &other)),
                         glm::vec4(1, 1, 1, 1)));
    // A larger view is covered to its far corner.
    fixture.pictureBox().resize(240, 180);
    QApplication::processEvents();
    const QImage image = fixture.render(FrameState{}, {}, glm::vec4(0, 0, 0, 1), &background);
    ASSERT_EQ(image.size(), QSize(240, 180));
    EXPECT_TRUE(colourIs(pixelColour(image, 239, 179), glm::vec4(0, 1, 0, 1)));
}

TEST_F(FrameTest, MeshTextureTopLeftOriginAndModulation)
{
    const TextureData texture = topRedBottomBlue(13);
    const MeshGeometry quad = makeQuad(14, 1.0f);
    DrawItem item = emissiveItem(quad, glm::vec4(1, 1, 1, 1));
    item.baseTexture = &texture;
    item.material.diffuse.a = 1;
    FrameState frame = frontCamera(2, fixture.size());
    QImage image = fixture.render(frame, {&item, 1});
    EXPECT_TRUE(colourIs(pixelColour(image, 80, 45), glm::vec4(1, 0, 0, 1)));
    EXPECT_TRUE(colourIs(pixelColour(image, 80, 75), glm::vec4(0, 0, 1, 1)));

    // The lit colour modulates the texture.
    item.material.emissive = glm::vec4(0.5f, 0.5f, 0.5f, 1);
    image = fixture.render(frame, {&item, 1});
    EXPECT_TRUE(colourIs(pixelColour(image, 80, 45), glm::vec4(0.5f, 0, 0, 1)));
}

TEST_F(FrameTest, TextureFilterChoosesBetweenSharpAndSmoothMagnification)
{
    // A 2x2 checker stretched over the whole quad: nearest keeps hard edges,
    // the linear filters blend towards grey between texel centres.
    TextureData checker;
    checker.id = 26;
    checker.image = QImage(2, 2, QImage::Format_ARGB32);
    checker.image.setPixel(0, 0, qRgb(255, 255, 255));
    checker.image.setPixel(1, 1, qRgb(255, 255, 255));
    checker.image.setPixel(1, 0, qRgb(0, 0, 0));
    checker.image.setPixel(0, 1, qRgb(0, 0, 0));
    const MeshGeometry quad = makeQuad(27, 1.0f);
    DrawItem item = emissiveItem(quad, glm::vec4(1, 1, 1, 1));
    item.baseTexture = &checker;
    const FrameState frame = frontCamera(2, fixture.size());
    Renderer& r = fixture.renderer();
    r.setTextureFilter(TextureFilter::Nearest);
    const float sharp = centrePixel(fixture.render(frame, {&item, 1})).r;
    EXPECT_TRUE(sharp < 0.05f || sharp > 0.95f) << sharp;
    for (TextureFilter smooth : {TextureFilter::Bilinear, TextureFilter::Trilinear}) {
        r.setTextureFilter(smooth);
        EXPECT_NEAR(centrePixel(fixture.render(frame, {&item, 1})).r, 0.5f, 0.1f) << int(smooth);
    }
}

TEST_F(FrameTest, TextureChangesReachTheGpuOnlyWithANewRevision)
{
    TextureData texture = solidTexture(15, Qt::green);
    const MeshGeometry quad = makeQuad(16, 1.0f);
    DrawItem item = emissiveItem(quad, glm::vec4(1, 1, 1, 1));
    item.baseTexture = &texture;
    const FrameState frame = frontCamera(2, fixture.size());
    EXPECT_TRUE(colourIs(centrePixel(fixture.render(frame, {&item, 1})), glm::vec4(0, 1, 0, 1)));

    texture.image.fill(Qt::red);
    EXPECT_TRUE(colourIs(centrePixel(fixture.render(frame, {&item, 1})), glm::vec4(0, 1, 0, 1)));
    ++texture.revision;
    EXPECT_TRUE(colourIs(centrePixel(fixture.render(frame, {&item, 1})), glm::vec4(1, 0, 0, 1)));

    // A released id is uploaded afresh.
    texture.image.fill(Qt::blue);
    fixture.renderer().release(texture.id);
    EXPECT_TRUE(colourIs(centrePixel(fixture.render(frame, {&item, 1})), glm::vec4(0, 0, 1, 1)));
}

TEST_F(FrameTest, AlphaBlendingMixesWithTheBackground)
{
    const TextureData background = solidTexture(17, Qt::blue);
    const MeshGeometry quad = makeQuad(18, 1.0f);
    DrawItem item = emissiveItem(quad, glm::vec4(1, 0, 0, 1));
    item.material.diffuse.a = 0.5f;
    item.blend = BlendMode::Alpha;
    const FrameState frame = frontCamera(2, fixture.size());
    QImage image = fixture.render(frame, {&item, 1}, glm::vec4(0, 0, 0, 1), &background);
    EXPECT_TRUE(colourIs(centrePixel(image), glm::vec4(0.5f, 0, 0.5f, 1)));

    item.blend = BlendMode::Additive;
    image = fixture.render(frame, {&item, 1}, glm::vec4(0, 0, 0, 1), &background);
    EXPECT_TRUE(colourIs(centrePixel(image), glm::vec4(1, 0, 1, 1)));

    item.blend = BlendMode::Opaque;
    image = fixture.render(frame, {&item, 1}, glm::vec4(0, 0, 0, 1), &background);
    EXPECT_TRUE(colourIs(centrePixel(image), glm::vec4(1, 0, 0, 1)));
}

TEST_F(FrameTest, DepthBufferHidesFartherMeshes)
{
    const MeshGeometry nearQuad = makeQuad(19, 0.5f);
    const MeshGeometry farQuad = makeQuad(20, 1.0f);
    DrawItem nearItem = emissiveItem(nearQuad, glm::vec4(0, 1, 0, 1));
    DrawItem farItem = emissiveItem(farQuad, glm::vec4(1, 0, 0, 1));
    farItem.world = glm::mat4(1.0f);
    farItem.world[3] = glm::vec4(0, 0, 1, 1);   // farther from the camera
    const DrawItem items[] = {nearItem, farItem};   // near drawn first
    const QImage image = fixture.render(frontCamera(2, fixture.size()), items);
    EXPECT_TRUE(colourIs(centrePixel(image), glm::vec4(0, 1, 0, 1)));
}

TEST_F(FrameTest, SkyFirstThenOpaqueThenBlendedFarthestFirstWhateverTheSubmissionOrder)
{
    const auto at = [](DrawItem item, float z) {
        item.world = glm::mat4(1.0f);
        item.world[3] = glm::vec4(0, 0, z, 1);
        return item;
    };
    const MeshGeometry smallQuad = makeQuad(40, 0.5f);
    const MeshGeometry wall = makeQuad(41, 1.0f);
    const MeshGeometry skyQuad = makeQuad(42, 3.0f);
    DrawItem nearGlass = at(emissiveItem(smallQuad, glm::vec4(1, 0, 0, 1)), 0.0f);
    nearGlass.material.diffuse.a = 0.5f;
    nearGlass.blend = BlendMode::Alpha;
    DrawItem farGlass = at(emissiveItem(smallQuad, glm::vec4(0, 1, 0, 1)), 0.5f);
    farGlass.material.diffuse.a = 0.5f;
    farGlass.blend = BlendMode::Alpha;
    const DrawItem opaqueWall = at(emissiveItem(wall, glm::vec4(0, 0, 1, 1)), 1.0f);
    // The sky sits in front of the wall here; drawn first without depth it still ends up behind.
    DrawItem sky = at(emissiveItem(skyQuad, glm::vec4(1, 1, 0, 1)), 0.25f);
    sky.layer = DrawLayer::Sky;

    const DrawItem items[] = {nearGlass, farGlass, opaqueWall, sky};   // the worst order
    const QImage image = fixture.render(frontCamera(2, fixture.size()), items);

    // CPU reference: wall, then the far glass over it, then the near glass.
    const auto over = [](glm::vec3 source, float alpha, glm::vec3 destination) {
        return source * alpha + destination * (1.0f - alpha);
    };
    const glm::vec3 expected = over({1, 0, 0}, 0.5f, over({0, 1, 0}, 0.5f, {0, 0, 1}));
    EXPECT_TRUE(colourIs(centrePixel(image), glm::vec4(expected, 1)))
        << qPrintable(QString::number(image.pixel(80, 60), 16));
    EXPECT_TRUE(colourIs(pixelColour(image, 2, 2), glm::vec4(1, 1, 0, 1)));   // the sky around the wall
}

TEST_F(FrameTest, VertexColoursReplaceTheDiffuseMaterial)
{
    MeshGeometry quad = makeQuad(21, 1.0f);
    quad.hasVertexColours = true;
    for (Vertex& v : quad.vertices)
        v.colour = glm::vec4(0, 0.5f, 1, 1);
    DrawItem item;
    item.mesh = &quad;
    item.lit = false;
    item.useVertexColours = true;
    item.material.diffuse = glm::vec4(1, 0, 0, 1);
    EXPECT_TRUE(colourIs(centrePixel(fixture.render(frontCamera(2, fixture.size()), {&item, 1})),
                         glm::vec4(0, 0.5f, 1, 1)));
}

TEST_F(FrameTest, BrokenMeshDataIsSkippedSafely)
{
    MeshGeometry mesh = makeQuad(22, 1.0f);
    mesh.indices.push_back(1000);   // dangling triangle fragment and out-of-range index
    mesh.indices.insert(mesh.indices.end(), {0, 1, 999999});
    mesh.groups = {{0, 6}, {6, 1000}, {5000, 3}};
    MeshGeometry empty;
    empty.id = 23;
    DrawItem items[4];
    for (DrawItem& item : items) {
        item.mesh = &mesh;
        item.material.emissive = glm::vec4(1, 1, 0, 1);
    }
    items[1].group = 1;
    items[2].group = 7;   // no such group
    items[3].mesh = &empty;
    const QImage image = fixture.render(frontCamera(2, fixture.size()), items);
    EXPECT_TRUE(colourIs(centrePixel(image), glm::vec4(1, 1, 0, 1)));
}

TEST_F(FrameTest, QuadsUseScreenPixelsAndCornerColours)
{
    Renderer& r = fixture.renderer();
    ASSERT_TRUE(r.beginFrame(glm::vec4(0, 0, 0, 1)));
    Quad2D quad;
    quad.position = {glm::vec2(10, 20), glm::vec2(50, 20), glm::vec2(50, 60), glm::vec2(10, 60)};
    quad.argb = {0xFFFF0000u, 0xFFFF0000u, 0xFF0000FFu, 0xFF0000FFu};   // red top, blue bottom
    quad.blend = BlendMode::Opaque;
    r.drawQuad2D(quad);
    r.present();
    const QImage image = r.grabFrame();
    EXPECT_TRUE(colourIs(pixelColour(image, 5, 15), glm::vec4(0, 0, 0, 1)));
    EXPECT_TRUE(colourIs(pixelColour(image, 65, 40), glm::vec4(0, 0, 0, 1)));
    const glm::vec4 top = pixelColour(image, 30, 21);
    const glm::vec4 bottom = pixelColour(image, 30, 58);
    EXPECT_GT(top.r, 0.9f);
    EXPECT_GT(bottom.b, 0.9f);
    const glm::vec4 middle = pixelColour(image, 30, 40);
    EXPECT_NEAR(middle.r, 0.5f, 0.05f);
    EXPECT_NEAR(middle.b, 0.5f, 0.05f);
}

TEST_F(FrameTest, TextAppearsWhereItIsDrawn)
{
    Renderer& r = fixture.renderer();
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(20);
    auto countBright = [](const QImage& image, QRect area) {
        int bright = 0;
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x)
                bright += qGreen(image.pixel(x, y)) > 128 ? 1 : 0;
        return bright;
    };
    for (int frame = 0; frame < 2; ++frame) {   // the second frame draws from the text cache
        ASSERT_TRUE(r.beginFrame(glm::vec4(0, 0, 0, 1)));
        r.drawText(font, QStringLiteral("FPS 60"), 20, 70, 0xFF00FF00u);
        r.present();
        const QImage image = r.grabFrame();
        EXPECT_GT(countBright(image, QRect(20, 70, 80, 24)), 20) << "frame " << frame;
        EXPECT_EQ(countBright(image, QRect(0, 0, 160, 65)), 0);
        EXPECT_EQ(countBright(image, QRect(0, 96, 160, 24)), 0);
    }
}

TEST_F(FrameTest, PresentShowsTheFrameInThePictureBox)
{
    Renderer& r = fixture.renderer();
    ASSERT_TRUE(r.beginFrame(glm::vec4(1, 0.5f, 0, 1)));
    ASSERT_TRUE(r.present());
    const auto showsTheFrame = [](const QImage& shown) {
        return colourIs(pixelColour(shown, shown.width() / 2, shown.height() / 2), glm::vec4(1, 0.5f, 0, 1));
    };
    const QImage shown = grabShownPicture(fixture.pictureBox(), showsTheFrame);
    ASSERT_FALSE(shown.isNull());
    EXPECT_TRUE(showsTheFrame(shown));
}

TEST_F(FrameTest, ScreenshotIsWrittenAsBmp)
{
    Renderer& r = fixture.renderer();
    ASSERT_TRUE(r.beginFrame(glm::vec4(0, 0, 1, 1)));
    r.present();
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("shot.bmp"));
    QString error;
    ASSERT_TRUE(r.saveScreenshot(path, error)) << error.toStdString();
    QImage saved(path, "BMP");
    ASSERT_FALSE(saved.isNull());
    EXPECT_EQ(saved.size(), fixture.size());
    EXPECT_TRUE(colourIs(pixelColour(saved, 3, 3), glm::vec4(0, 0, 1, 1)));
    EXPECT_FALSE(r.saveScreenshot(dir.filePath(QStringLiteral("missing/dir/shot.bmp")), error));
    EXPECT_FALSE(error.isEmpty());
}

TEST_F(FrameTest, FrameTimeIsMeasuredBetweenPresents)
{
    Renderer& r = fixture.renderer();
    EXPECT_EQ(r.lastFrameMilliseconds(), 0.0);
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(r.beginFrame(glm::vec4(0)));
        r.present();
    }
    EXPECT_GT(r.lastFrameMilliseconds(), 0.0);
    EXPECT_LT(r.lastFrameMilliseconds(), 5000.0);
}
