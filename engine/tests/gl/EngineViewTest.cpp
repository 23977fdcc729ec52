// What the engine object and texture factory are told reaches the view: the texture
// filter, vertical sync, and textures made or updated from pictures in memory.
#include "PixelTestSupport.h"

#include <korlith3d/KLEngine.h>
#include <korlith3d/KLMesh.h>
#include <korlith3d/KLScene.h>
#include <korlith3d/KLTextureFactory.h>

#include <QApplication>
#include <QGuiApplication>
#include <QWindow>
#include <QTemporaryDir>
#include <QWidget>

#include <gtest/gtest.h>

#include <cmath>

using namespace kl::gpu::test;

namespace {

// The 2 × 2 texture, texel (column, row), row 0 at the top.
const glm::vec3 Texels[2][2] = {{{1, 0, 0}, {0, 0, 1}},    // column 0: red over blue
                                {{0, 1, 0}, {1, 1, 1}}};   // column 1: green over white

// What GL samples at (u, v) with repeating addressing.
glm::vec3 nearestReference(float u, float v)
{
    const auto wrap = [](float t) { return int(std::floor(t * 2.0f)) & 1; };
    return Texels[wrap(u)][wrap(v)];
}

glm::vec3 bilinearReference(float u, float v)
{
    const float x = u * 2.0f - 0.5f;
    const float y = v * 2.0f - 0.5f;
    const int x0 = int(std::floor(x));
    const int y0 = int(std::floor(y));
    const float a = x - float(x0);
    const float b = y - float(y0);
    const auto texel = [](int c, int r) { return Texels[c & 1][r & 1]; };
    return glm::mix(glm::mix(texel(x0, y0), texel(x0 + 1, y0), a), glm::mix(texel(x0, y0 + 1), texel(x0 + 1, y0 + 1), a), b);
}

class EngineView : public ::testing::Test {
protected:
    void SetUp() override
    {
        box.resize(160, 120);
        box.show();
        QApplication::processEvents();
        QImage texture(2, 2, QImage::Format_RGB32);
        for (int c = 0; c < 2; ++c)
            for (int r = 0; r < 2; ++r) {
                const glm::vec3 t = Texels[c][r];
                texture.setPixel(c, r, qRgb(int(t.r * 255), int(t.g * 255), int(t.b * 255)));
            }
        texturePath = dir.filePath("two.bmp");
        ASSERT_TRUE(texture.save(texturePath, "BMP"));
    }

    // One frame of an unlit wall showing the texture once, magnified; read back.
    QImage drawWall(KLEngine& engine, int texture)
    {
        KLScene scene;
        scene.SetColor(0, 0.25f, 0.5f);   // a colour no mix of the texels gives
        KLMesh wall = scene.CreateMesh("Wall");
        wall.AddWall(texture, -1, 0, 1, 0, 2, -1, 1, 1, true, false);
        wall.SetLighting(false);
        scene.SetCamera(0, 0, -3, 0, 0, 0);
        engine.Clear();
        scene.RenderAll(true);
        engine.RenderToScreen();
        const QString shot = dir.filePath("shot.bmp");
        engine.SaveScreenshot(shot);
        return QImage(shot, "BMP");
    }

    QTemporaryDir dir;
    QWidget box;
    QString texturePath;
};

// The pixels of the wall (every pixel not of the clear colour) and, per pixel
// centre, the texture coordinate it shows.
struct WallOnScreen {
    QRect rect;
    glm::vec2 uvAt(int x, int y) const
    {
        return {(float(x - rect.left()) + 0.5f) / float(rect.width()),
                (float(y - rect.top()) + 0.5f) / float(rect.height())};
    }
};

WallOnScreen findWall(const QImage& image)
{
    QRect rect;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (glm::distance(pixelColour(image, x, y), glm::vec4(0, 0.25f, 0.5f, 1)) > 3.0f / 255.0f)
                rect |= QRect(x, y, 1, 1);
    return {rect};
}

float difference(glm::vec4 got, glm::vec3 expected)
{
    return std::max({std::abs(got.r - expected.r), std::abs(got.g - expected.g), std::abs(got.b - expected.b)});
}

} // namespace

TEST_F(EngineView, NearestSetBeforeStartUpThenBilinearAtOnceOnAMagnifiedTexture)
{
    KLEngine engine;
    engine.SetTextureFilter(0);   // recorded before the view exists: applied on attach
    ASSERT_TRUE(engine.Init3DWindowedMode(std::uintptr_t(box.winId()), true));
    KLTextureFactory textures;
    const int texture = textures.LoadTexture(texturePath, "Two");

    const QImage sharp = drawWall(engine, texture);
    const WallOnScreen wall = findWall(sharp);
    ASSERT_GT(wall.rect.width(), 40);
    ASSERT_GT(wall.rect.height(), 40);
    const int centreX = wall.rect.center().x();
    const int centreY = wall.rect.center().y();
    // A hard edge at the centre: the texels of each half, unmixed, up to the pixels beside it.
    for (int x = wall.rect.left() + 1; x < wall.rect.right(); ++x) {
        const glm::vec2 uv = wall.uvAt(x, centreY - 5);
        if (std::abs(uv.x - 0.5f) * float(wall.rect.width()) < 1.5f)
            continue;
        EXPECT_LT(difference(pixelColour(sharp, x, centreY - 5), nearestReference(uv.x, uv.y)), 2.0f / 255.0f)
            << "nearest, x " << x;
    }

    engine.SetTextureFilter(1);   // changed while running: applied at once
    const QImage smooth = drawWall(engine, texture);
    ASSERT_EQ(findWall(smooth).rect, wall.rect);
    // Interpolated between texel centres, as the CPU formula gives it; at the
    // centre the four texels mix equally.
    for (int x = wall.rect.left() + 2; x < wall.rect.right() - 1; x += 3)
        for (int y : {wall.rect.top() + 2, centreY - 5, centreY, centreY + 7, wall.rect.bottom() - 2}) {
            const glm::vec2 uv = wall.uvAt(x, y);
            EXPECT_LT(difference(pixelColour(smooth, x, y), bilinearReference(uv.x, uv.y)), 8.0f / 255.0f)
                << "bilinear at " << x << ", " << y;
        }
    EXPECT_LT(difference(pixelColour(smooth, centreX, centreY), glm::vec3(0.5f, 0.5f, 0.5f)), 0.05f);
}

namespace {

// Swap interval of the engine's GL window (the only QWindow with a GL surface).
int engineWindowSwapInterval()
{
    for (QWindow* window : QGuiApplication::allWindows())
        if (window->surfaceType() == QSurface::OpenGLSurface)
            return window->format().swapInterval();
    return -1;
}

} // namespace

TEST_F(EngineView, VerticalSyncChoiceMakesTheViewWaitForTheBlankOrNot)
{
    {
        KLEngine engine;
        engine.SetVerticalSync(true);
        ASSERT_TRUE(engine.Init3DWindowedMode(std::uintptr_t(box.winId()), true));
        EXPECT_EQ(engineWindowSwapInterval(), 1);
        engine.SetVerticalSync(false);   // recorded; the view keeps its interval
        EXPECT_EQ(engineWindowSwapInterval(), 1);
        ASSERT_TRUE(engine.Init3DWindowedMode(std::uintptr_t(box.winId()), true));
        EXPECT_EQ(engineWindowSwapInterval(), 0);
    }
}

TEST_F(EngineView, TexturesMadeInMemoryAreDrawnAndUpdatesShowInTheNextFrame)
{
    KLEngine engine;
    engine.SetTextureFilter(0);
    ASSERT_TRUE(engine.Init3DWindowedMode(std::uintptr_t(box.winId()), true));
    KLTextureFactory textures;
    QImage picture(2, 2, QImage::Format_RGB32);
    for (int c = 0; c < 2; ++c)
        for (int r = 0; r < 2; ++r) {
            const glm::vec3 t = Texels[c][r];
            picture.setPixel(c, r, qRgb(int(t.r * 255), int(t.g * 255), int(t.b * 255)));
        }
    const int texture = textures.CreateTextureFromImage(picture, "Made");

    const QImage first = drawWall(engine, texture);
    const WallOnScreen wall = findWall(first);
    ASSERT_GT(wall.rect.width(), 40);
    for (const QPoint quarter : {QPoint(1, 1), QPoint(3, 1), QPoint(1, 3), QPoint(3, 3)}) {
        const int x = wall.rect.left() + wall.rect.width() * quarter.x() / 4;
        const int y = wall.rect.top() + wall.rect.height() * quarter.y() / 4;
        const glm::vec2 uv = wall.uvAt(x, y);
        EXPECT_LT(difference(pixelColour(first, x, y), nearestReference(uv.x, uv.y)), 2.0f / 255.0f);
    }

    QImage yellow(1, 1, QImage::Format_RGB32);
    yellow.fill(qRgb(255, 255, 0));
    textures.UpdateTexture(texture, yellow);
    const QImage second = drawWall(engine, texture);
    EXPECT_LT(difference(pixelColour(second, wall.rect.center().x(), wall.rect.center().y()), glm::vec3(1, 1, 0)),
              2.0f / 255.0f);
    EXPECT_LT(difference(pixelColour(second, wall.rect.left() + 2, wall.rect.top() + 2), glm::vec3(1, 1, 0)),
              2.0f / 255.0f);
}
