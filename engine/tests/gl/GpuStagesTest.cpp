// Texture stages beyond the base texture (sphere and bump mapping), the bump
// texture conversion, and the GL window's input hand-over to the picture box.
#include "gpu/GlWindow.h"
#include "gpu/RenderMath.h"
#include "PixelTestSupport.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QWindow>

#include <gtest/gtest.h>

#include <glm/gtc/matrix_transform.hpp>

#include <cmath>

using namespace kl::gpu;
using namespace kl::gpu::test;

namespace {

class StageTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(fixture.attached()) << fixture.attachError().toStdString(); }
    RenderFixture fixture;
};

// Red square in the middle half of the picture, blue around it.
TextureData centreMarkedTexture(ResourceId id)
{
    TextureData t;
    t.id = id;
    t.image = QImage(64, 64, QImage::Format_ARGB32);
    t.image.fill(Qt::blue);
    QPainter(&t.image).fillRect(16, 16, 32, 32, Qt::red);
    return t;
}

// Vertical stripes of brightness: relief that rises and falls along u.
TextureData stripedBump(ResourceId id)
{
    TextureData t;
    t.id = id;
    t.isBumpMap = true;
    t.image = QImage(64, 64, QImage::Format_ARGB32);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) {
            const int v = int(127.5 + 127.5 * std::sin(x * 2 * 3.14159265 / 16));
            t.image.setPixel(x, y, qRgb(v, v, v));
        }
    return t;
}

// Spread of the red channel along the middle row of the quad.
float rowSpread(const QImage& image)
{
    float lo = 1, hi = 0;
    for (int x = 60; x < 100; ++x) {
        const float r = pixelColour(image, x, image.height() / 2).r;
        lo = std::min(lo, r);
        hi = std::max(hi, r);
    }
    return hi - lo;
}

} // namespace

TEST(BumpGradient, SlopesOfTheBrightnessWrapAtTheBorders)
{
    QImage ramp(8, 4, QImage::Format_ARGB32);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 8; ++x)
            ramp.setPixel(x, y, qRgb(x * 32, x * 32, x * 32));
    const QImage g = bumpGradientImage(ramp);
    ASSERT_EQ(g.size(), ramp.size());
    // Inside: rising along u, flat along v.
    EXPECT_GT(qRed(g.pixel(3, 1)), 140);
    EXPECT_NEAR(qGreen(g.pixel(3, 1)), 128, 1);
    // At the right border the next texel is the left one (repeat addressing): falling.
    EXPECT_LT(qRed(g.pixel(7, 1)), 40);

    // Empty and flat pictures give an unbent normal.
    EXPECT_EQ(bumpGradientImage(QImage()).size(), QSize(1, 1));
    QImage flat(4, 4, QImage::Format_RGB32);
    flat.fill(Qt::gray);
    const QImage f = bumpGradientImage(flat);
    EXPECT_NEAR(qRed(f.pixel(2, 2)), 128, 1);
    EXPECT_NEAR(qGreen(f.pixel(2, 2)), 128, 1);
}

TEST(TextureUpload, NullAndOversizedPicturesAreMadeUsable)
{
    EXPECT_EQ(textureUploadImage(QImage(), 1024).size(), QSize(1, 1));
    QImage big(300, 20, QImage::Format_RGB32);
    big.fill(Qt::red);
    const QImage fitted = textureUploadImage(big, 128);
    EXPECT_EQ(fitted.size(), QSize(128, 20));
    EXPECT_EQ(fitted.format(), QImage::Format_RGBA8888);
}

TEST(LightAttenuation, AllZeroOrNegativeMeansNone)
{
    LightState light;
    light.attenuation0 = light.attenuation1 = light.attenuation2 = 0;
    EXPECT_EQ(effectiveAttenuation(light), glm::vec3(1, 0, 0));
    light.attenuation1 = -1;
    EXPECT_EQ(effectiveAttenuation(light), glm::vec3(1, 0, 0));
    light.attenuation1 = 0;
    light.attenuation2 = 0.5f;
    EXPECT_EQ(effectiveAttenuation(light), glm::vec3(0, 0, 0.5f));
}

TEST_F(StageTest, SphereMapAddressesTheTextureByReflection)
{
    const TextureData texture = centreMarkedTexture(30);
    MeshGeometry quad = makeQuad(31, 1.0f);
    for (Vertex& v : quad.vertices)
        v.uv = glm::vec2(0.01f, 0.01f);   // the mesh's own uv land in the blue border
    DrawItem item;
    item.mesh = &quad;
    item.material.ambient = item.material.diffuse = glm::vec4(0, 0, 0, 1);
    item.material.emissive = glm::vec4(1, 1, 1, 1);
    item.baseTexture = &texture;
    const FrameState frame = frontCamera(2, fixture.size());

    glm::vec4 centre = centrePixel(fixture.render(frame, {&item, 1}));
    EXPECT_GT(centre.b, 0.9f) << "plain uv";
    item.sphereMap = true;
    centre = centrePixel(fixture.render(frame, {&item, 1}));
    EXPECT_GT(centre.r, 0.9f) << "facing the viewer reflects the picture's centre";
    EXPECT_LT(centre.b, 0.1f);

    // Tilting the surface moves the reflection off the centre.
    item.world = glm::rotate(glm::mat4(1.0f), glm::radians(50.0f), glm::vec3(0, 1, 0));
    centre = centrePixel(fixture.render(frame, {&item, 1}));
    EXPECT_GT(centre.b, 0.9f) << "tilted";
}

TEST_F(StageTest, DetailDoublesAndLightmapDarkensTheBaseColour)
{
    TextureData base;
    base.id = 34;
    base.image = QImage(8, 8, QImage::Format_ARGB32);
    base.image.fill(QColor(100, 200, 40));
    TextureData detail = base;
    detail.id = 35;
    detail.image.fill(QColor(255, 128, 64));   // ×2: brighter, same, darker
    TextureData lightmap = base;
    lightmap.id = 36;
    lightmap.image.fill(QColor(128, 128, 128));
    const MeshGeometry quad = makeQuad(37, 1.0f);
    DrawItem item;
    item.mesh = &quad;
    item.lit = false;
    item.material.diffuse = glm::vec4(1, 1, 1, 1);
    item.baseTexture = &base;
    item.detailTexture = &detail;
    item.detailScale = 4;
    const FrameState frame = frontCamera(2, fixture.size());
    glm::vec4 c = centrePixel(fixture.render(frame, {&item, 1}));
    EXPECT_NEAR(c.r, 200 / 255.0f, 0.02f);
    EXPECT_NEAR(c.g, 200 / 255.0f, 0.02f);
    EXPECT_NEAR(c.b, 20 / 255.0f, 0.02f);

    item.detailTexture = nullptr;
    item.lightmapTexture = &lightmap;
    c = centrePixel(fixture.render(frame, {&item, 1}));
    EXPECT_NEAR(c.r, 50 / 255.0f, 0.02f);
    EXPECT_NEAR(c.g, 100 / 255.0f, 0.02f);
}

TEST_F(StageTest, BumpTextureEmbossesTheLitSurface)
{
    const TextureData bump = stripedBump(32);
    const MeshGeometry quad = makeQuad(33, 1.0f);
    DrawItem item;
    item.mesh = &quad;
    item.material.ambient = glm::vec4(0, 0, 0, 1);
    item.material.diffuse = glm::vec4(1, 1, 1, 1);
    FrameState frame = frontCamera(2, fixture.size());
    LightState light;
    light.type = LightType::Directional;
    light.direction = glm::normalize(glm::vec3(1, 0, 1));   // grazing from the left
    light.diffuse = glm::vec4(1, 1, 1, 1);
    light.ambient = light.specular = glm::vec4(0);
    frame.lights = {light};

    const float flat = rowSpread(fixture.render(frame, {&item, 1}));
    EXPECT_LT(flat, 0.05f);

    item.bumpTexture = &bump;
    item.bumpLightIndex = 0;
    const float bumped = rowSpread(fixture.render(frame, {&item, 1}));
    EXPECT_GT(bumped, 0.2f);

    // The relief follows the light it was given: pointing at another (absent)
    // light leaves this one lighting the flat surface.
    item.bumpLightIndex = 3;
    EXPECT_LT(rowSpread(fixture.render(frame, {&item, 1})), 0.05f);
}

TEST_F(StageTest, TheViewCoversThePictureBoxAndPassesInputToIt)
{
    QWidget& box = fixture.pictureBox();
    auto* container = box.findChild<QWidget*>(QStringLiteral("KLRenderView"));
    ASSERT_NE(container, nullptr);
    EXPECT_EQ(container->geometry(), box.rect());
    EXPECT_TRUE(container->testAttribute(Qt::WA_TransparentForMouseEvents));

    GlWindow* window = nullptr;
    for (QWindow* w : QGuiApplication::allWindows())
        if (auto* g = qobject_cast<GlWindow*>(w); g && g->pictureBox() == &box)
            window = g;
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->flags().testFlag(Qt::WindowTransparentForInput));

    struct Recorder : QObject {
        int presses = 0;
        QPointF where;
        bool eventFilter(QObject*, QEvent* e) override
        {
            if (e->type() == QEvent::MouseButtonPress) {
                ++presses;
                where = static_cast<QMouseEvent*>(e)->position();
            }
            return false;
        }
    } recorder;
    box.installEventFilter(&recorder);
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(12, 34), QPointF(12, 34), QPointF(12, 34), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(window, &press);
    EXPECT_EQ(recorder.presses, 1);
    EXPECT_EQ(recorder.where, QPointF(12, 34));
    box.removeEventFilter(&recorder);
}

TEST_F(StageTest, DetachAndDestroyedPictureBoxLeaveTheRendererSafe)
{
    Renderer& r = fixture.renderer();
    r.detach();
    EXPECT_FALSE(r.isAttached());
    EXPECT_FALSE(r.beginFrame(glm::vec4(0)));

    auto box = std::make_unique<QWidget>();
    box->resize(64, 48);
    box->show();
    QString error;
    ASSERT_TRUE(r.attach(box->winId(), error)) << error.toStdString();
    ASSERT_TRUE(r.beginFrame(glm::vec4(0, 1, 0, 1)));
    r.present();
    box.reset();   // the tool's window goes first
    QApplication::processEvents();
    EXPECT_FALSE(r.isAttached());
    EXPECT_FALSE(r.beginFrame(glm::vec4(0)));
    r.release(5);
}

TEST_F(StageTest, FaceSampledWithoutMipLevelsLooksAsTheMipMappedOneWhereMagnified)
{
    // A 16 x 16 checker of 2-texel squares filling most of the 160 x 120
    // view: every texel covers several pixels.
    TextureData checker;
    checker.id = 40;
    checker.image = QImage(16, 16, QImage::Format_ARGB32);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            checker.image.setPixel(x, y, ((x / 2 + y / 2) % 2) ? qRgb(230, 40, 20) : qRgb(20, 90, 240));
    const MeshGeometry quad = makeQuad(41, 1.0f);
    DrawItem item;
    item.mesh = &quad;
    item.lit = false;
    item.material.diffuse = glm::vec4(1);
    item.baseTexture = &checker;
    item.clampToEdge = true;
    const FrameState frame = frontCamera(2, fixture.size());
    const QImage mipMapped = fixture.render(frame, {&item, 1});
    item.baseMagnified = true;
    const QImage magnified = fixture.render(frame, {&item, 1});
    ASSERT_EQ(mipMapped.size(), magnified.size());
    int differing = 0;
    float largest = 0;
    for (int y = 0; y < magnified.height(); ++y)
        for (int x = 0; x < magnified.width(); ++x) {
            const glm::vec4 d = glm::abs(pixelColour(mipMapped, x, y) - pixelColour(magnified, x, y));
            largest = std::max({largest, d.r, d.g, d.b});
            differing += (d.r + d.g + d.b) > 0.0f;
        }
    EXPECT_LE(largest, 2.0f / 255.0f) << differing << " pixels differ";
    // And it shows the texture: plenty of full red and full blue pixels.
    int red = 0, blue = 0;
    for (int y = 0; y < magnified.height(); ++y)
        for (int x = 0; x < magnified.width(); ++x) {
            const glm::vec4 c = pixelColour(magnified, x, y);
            red += c.r > 0.85f && c.b < 0.15f;
            blue += c.b > 0.9f && c.r < 0.15f;
        }
    EXPECT_GT(red, 500);
    EXPECT_GT(blue, 500);
}

TEST_F(StageTest, SkyDrawnBehindTheSceneKeepsNearAndFarOpaqueItemsInFront)
{
    TextureData blue;
    blue.id = 42;
    blue.image = QImage(4, 4, QImage::Format_ARGB32);
    blue.image.fill(QColor(0, 0, 255));
    const MeshGeometry quad = makeQuad(43, 1.0f);
    // The sky: a big quad 3 units behind the origin, no depth writes.
    DrawItem sky;
    sky.mesh = &quad;
    sky.lit = false;
    sky.material.diffuse = glm::vec4(1);
    sky.baseTexture = &blue;
    sky.clampToEdge = true;
    sky.depthTest = false;
    sky.depthWrite = false;
    sky.layer = DrawLayer::Sky;
    sky.world = glm::scale(glm::translate(glm::mat4(1), glm::vec3(0, 0, 3)), glm::vec3(20));
    // Two opaque quads: a green one nearer than the sky (left) and a red one
    // far beyond it (right), which covers the sky all the same.
    DrawItem near = sky;
    near.baseTexture = nullptr;
    near.material.diffuse = glm::vec4(0, 1, 0, 1);
    near.depthTest = true;
    near.depthWrite = true;
    near.layer = DrawLayer::Automatic;
    near.world = glm::scale(glm::translate(glm::mat4(1), glm::vec3(-0.6f, 0, 0)), glm::vec3(0.3f));
    DrawItem far = near;
    far.material.diffuse = glm::vec4(1, 0, 0, 1);
    far.world = glm::scale(glm::translate(glm::mat4(1), glm::vec3(30, 0, 98)), glm::vec3(15));
    const FrameState frame = frontCamera(2, fixture.size());
    const DrawItem items[] = {sky, near, far};
    const QImage image = fixture.render(frame, items);
    const int w = image.width(), h = image.height();
    const glm::vec4 left = pixelColour(image, w / 2 - 25, h / 2);
    const glm::vec4 right = pixelColour(image, w / 2 + 40, h / 2);
    const glm::vec4 top = pixelColour(image, w / 2, 5);
    EXPECT_NEAR(left.g, 1.0f, 0.02f);
    EXPECT_NEAR(left.b, 0.0f, 0.02f);
    EXPECT_NEAR(right.r, 1.0f, 0.02f);
    EXPECT_NEAR(right.b, 0.0f, 0.02f);
    EXPECT_NEAR(top.b, 1.0f, 0.02f);   // the sky where nothing covers it
    EXPECT_NEAR(top.r + top.g, 0.0f, 0.02f);

    // A later queue (another camera) finds depth already written: its sky is
    // drawn first and untested, so it covers what the first queue drew.
    fixture.renderer().beginFrame(glm::vec4(0, 0, 0, 1), true);
    fixture.renderer().drawItems(frame, {&near, 1});
    FrameState other = frame;
    other.ambient = glm::vec4(0.1f);
    fixture.renderer().drawItems(other, {&sky, 1});
    fixture.renderer().present();
    const QImage covered = fixture.renderer().grabFrame();
    EXPECT_NEAR(pixelColour(covered, w / 2 - 25, h / 2).b, 1.0f, 0.02f);
}
