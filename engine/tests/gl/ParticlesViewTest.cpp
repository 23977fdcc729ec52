// The sky box and billboard particles on screen: each face where the camera
// looks, upright and seamless; squares at their particles' places, blended as
// the mode says, over the opaque scene, without writing depth; three systems
// of a thousand billboards streaming without new buffers.
#include "PixelTestSupport.h"

#include <korlith3d/KLAtmosphere.h>
#include <korlith3d/KLCamera.h>
#include <korlith3d/KLEngine.h>
#include <korlith3d/KLMesh.h>
#include <korlith3d/KLParticleSystem.h>
#include <korlith3d/KLScene.h>
#include <korlith3d/KLTextureFactory.h>

#include "core/Context.h"
#include "gpu/GlState.h"

#include <QApplication>
#include <QImage>
#include <QTemporaryDir>
#include <QWidget>

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <memory>

using kl::gpu::test::pixelColour;

namespace {

constexpr int ViewSize = 120;

bool near(glm::vec4 got, glm::vec3 expected, float tolerance = 4.0f / 255.0f)
{
    return glm::all(glm::lessThanEqual(glm::abs(glm::vec3(got) - expected), glm::vec3(tolerance)));
}

std::string describe(glm::vec4 c)
{
    return std::to_string(int(c.r * 255)) + "," + std::to_string(int(c.g * 255)) + "," + std::to_string(int(c.b * 255));
}

class ParticlesView : public ::testing::Test {
protected:
    void SetUp() override
    {
        box.resize(ViewSize, ViewSize);
        box.show();
        QApplication::processEvents();
        engine = std::make_unique<KLEngine>();
        ASSERT_TRUE(engine->Init3DWindowedMode(std::uintptr_t(box.winId()), true));
        scene = std::make_unique<KLScene>();
    }

    void TearDown() override
    {
        scene.reset();
        engine.reset();
    }

    // The last presented frame, read back.
    QImage shot()
    {
        const QString file = dir.filePath("shot.bmp");
        engine->SaveScreenshot(file);
        return QImage(file, "BMP");
    }

    // Pixel where the world point shows with the current camera.
    QPoint pixelOf(glm::vec3 world) const
    {
        const kl::gpu::FrameState frame = kl::core::Context::current()->frameState();
        const glm::vec4 clip = frame.projection * frame.view * glm::vec4(world, 1.0f);
        const glm::vec2 ndc = glm::vec2(clip) / clip.w;
        return {int((ndc.x * 0.5f + 0.5f) * ViewSize), int((0.5f - ndc.y * 0.5f) * ViewSize)};
    }

    QTemporaryDir dir;
    QWidget box;
    std::unique_ptr<KLEngine> engine;
    std::unique_ptr<KLScene> scene;
};

// --- Sky box ---

// Colour of a face's band: top, middle (left, centre, right) and bottom.
enum Band { Top, Left, Middle, Right, Bottom };
glm::vec3 bandColour(int face, Band band)
{
    return glm::vec3(float(40 + face * 40), float(20 + int(band) * 50), float(230 - face * 30 - int(band) * 20)) / 255.0f;
}

// 64 × 64: top and bottom thirds, and between them a left quarter, the centre
// half and a right quarter.
QImage faceImage(int face)
{
    QImage image(64, 64, QImage::Format_RGB32);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) {
            const Band band = y < 21 ? Top : y >= 43 ? Bottom : x < 16 ? Left : x >= 48 ? Right : Middle;
            const glm::vec3 c = bandColour(face, band) * 255.0f;
            image.setPixel(x, y, qRgb(int(std::lround(c.r)), int(std::lround(c.g)), int(std::lround(c.b))));
        }
    return image;
}

TEST_F(ParticlesView, SkyBoxShowsEachFaceUprightWhereTheCameraLooks)
{
    KLTextureFactory textures;
    std::array<int, 6> ids{};
    for (int face = 0; face < 6; ++face)
        ids[std::size_t(face)] = textures.CreateTextureFromImage(faceImage(face), QStringLiteral("Sky%1").arg(face));
    KLAtmosphere sky;
    sky.SetSkyBox(ids[0], ids[1], ids[2], ids[3], ids[4], ids[5]);
    sky.SetSkyBoxSize(1000.0f);
    sky.EnableSkyBox(true, false);
    scene->SetFieldOfView(90.0f);   // a square view then shows exactly one face
    scene->SetColor(0, 0, 0);

    // Looking at each face's centre from the camera, far from the origin: the
    // box follows it. Up and down are looked at as someone facing the front
    // tilts the head.
    const glm::vec3 eye(300, 20, -250);
    const std::pair<int, glm::vec3> views[] = {{0, {0, 0, 1}},  {1, {0, 0, -1}}, {2, {-1, 0, 0}},
                                               {3, {1, 0, 0}},  {4, {0, 1, 0.02f}}, {5, {0, -1, 0.02f}}};
    for (const auto& [face, direction] : views) {
        scene->SetCamera(eye.x, eye.y, eye.z, eye.x + direction.x, eye.y + direction.y, eye.z + direction.z);
        engine->Clear();
        sky.RenderSkyBox();
        engine->RenderToScreen();
        const QImage image = shot();
        const std::pair<QPoint, Band> samples[] = {{{60, 60}, Middle}, {{60, 14}, Top},  {{60, 106}, Bottom},
                                                   {{12, 60}, Left},   {{108, 60}, Right}};
        for (const auto& [at, band] : samples)
            EXPECT_TRUE(near(pixelColour(image, at.x(), at.y()), bandColour(face, band), 6.0f / 255.0f))
                << "face " << face << " band " << band << ": " << describe(pixelColour(image, at.x(), at.y()));
    }
}

TEST_F(ParticlesView, SkyBoxFacesMeetWithoutSeamAndStayBehindTheScene)
{
    // The front's left column is red; repeating addressing would bleed it
    // into the front's right edge, where it meets the right face.
    QImage front(4, 4, QImage::Format_RGB32);
    front.fill(qRgb(100, 100, 100));
    for (int y = 0; y < 4; ++y)
        front.setPixel(0, y, qRgb(255, 0, 0));
    QImage grey(4, 4, QImage::Format_RGB32);
    grey.fill(qRgb(100, 100, 100));
    KLTextureFactory textures;
    const int frontId = textures.CreateTextureFromImage(front, "Front");
    const int greyId = textures.CreateTextureFromImage(grey, "Grey");
    KLAtmosphere sky;
    sky.SetSkyBox(frontId, greyId, greyId, greyId, greyId, greyId);
    sky.EnableSkyBox(true, false);
    scene->SetFieldOfView(60.0f);
    scene->SetCamera(0, 0, 0, 1, 0, 1);   // the front-right edge runs down the middle

    KLMesh wall = scene->CreateMesh("Wall");
    wall.AddWall(0, -1, 5, 1, 5, 1, 0.5f, 1, 1, true, false);   // a small opaque wall, drawn before the sky
    wall.SetLighting(false);
    wall.SetColor(0, 1, 0, 1);
    wall.SetPosition(3.5f, 0, -1.5f);

    engine->Clear();
    wall.Render();
    sky.RenderSkyBox();
    engine->RenderToScreen();
    const QImage image = shot();
    for (int x = 40; x < 80; ++x)
        EXPECT_TRUE(near(pixelColour(image, x, 20), glm::vec3(100.0f / 255.0f))) << x << ": " << describe(pixelColour(image, x, 20));
    const QPoint wallAt = pixelOf({3.5f, 0.75f, 3.5f});
    EXPECT_TRUE(near(pixelColour(image, wallAt.x(), wallAt.y()), {0, 1, 0})) << describe(pixelColour(image, wallAt.x(), wallAt.y()));
}

// --- Billboards ---

// A system whose particles stand where the handler puts them, in order, with
// the colours given, living `life` seconds, `size` units across, with the
// given texture (0: none).
struct Placed {
    glm::vec3 position;
    glm::vec4 colour;
};

void placeParticles(KLParticleSystem& system, std::vector<Placed> placed, int mode, int source, int destination,
                    float life = 100.0f, float size = 1.0f, std::int32_t textureId = 0)
{
    system.SetBillboardMode(1);
    system.CreateBillboardSystem(int(placed.size()) + 1, 1, size, {placed[0].position.x, placed[0].position.y, placed[0].position.z},
                                 0, 0);
    system.SetAlphaBlendingMode(mode, source, destination);
    system.SetParticleSpeed(0.0f);
    auto next = std::make_shared<std::size_t>(0);
    system.SetNewParticleHandler([&system, placed, next, life, textureId](float& vx, float& vy, float& vz, float& r,
                                                                         float& g, float& b, float& a, float& lifeTime,
                                                                         std::int32_t& texture) {
        const Placed& p = placed[std::min(*next, placed.size() - 1)];
        vx = vy = vz = 0;
        r = p.colour.r, g = p.colour.g, b = p.colour.b, a = p.colour.a;
        lifeTime = life;
        texture = textureId;
        if (++*next < placed.size()) {
            const glm::vec3 at = placed[*next].position;
            system.MoveEmittor({at.x, at.y, at.z});
        }
    });
}

TEST_F(ParticlesView, BillboardsShowAtTheirParticlesAndAdditiveBlendingBrightens)
{
    scene->SetCamera(0, 0, -10, 0, 0, 0);
    scene->SetColor(0.25f, 0.25f, 0.25f);
    KLParticleSystem system;
    const std::vector<Placed> placed{{{-2, 0, 0}, {0.5f, 0.25f, 0, 1}},
                                     {{2, 0, 0}, {0, 0.5f, 0.25f, 1}},
                                     {{0, 2, 0}, {0.25f, 0, 0.5f, 1}},
                                     {{0, 2, 0}, {0.25f, 0, 0.5f, 1}}};   // twice in one place
    placeParticles(system, placed, KL_CHANGE_NO, D3DBLEND_SRCALPHA, D3DBLEND_ONE);
    system.SetGeneratorSpeed(3.0f);   // three more in one second besides the burst
    system.UpdateParticles(KL_UPDATE_GENERATOR, 1000.0f);
    ASSERT_EQ(system.GetParticleCount(), 4);

    engine->Clear();
    system.RenderParticles();
    engine->RenderToScreen();
    const QImage image = shot();
    const glm::vec3 background(0.25f);
    for (std::size_t i = 0; i < 3; ++i) {
        const QPoint at = pixelOf(placed[i].position);
        const float copies = i == 2 ? 2.0f : 1.0f;
        const glm::vec3 expected = glm::min(background + glm::vec3(placed[i].colour) * copies, glm::vec3(1.0f));
        EXPECT_TRUE(near(pixelColour(image, at.x(), at.y()), expected))
            << i << ": " << describe(pixelColour(image, at.x(), at.y()));
        // Half a unit across the square's edge it is the background again.
        const QPoint beside = pixelOf(placed[i].position + glm::vec3(0.75f, 0, 0));
        EXPECT_TRUE(near(pixelColour(image, beside.x(), beside.y()), background)) << i;
    }
    EXPECT_TRUE(near(pixelColour(image, pixelOf({0, -2, 0}).x(), pixelOf({0, -2, 0}).y()), background));
}

TEST_F(ParticlesView, AlphaBlendingFadesWithAgeAlphaOrColourAsTheModeSays)
{
    scene->SetCamera(0, 0, -10, 0, 0, 0);
    scene->SetColor(0, 0, 1);
    const std::vector<Placed> placed{{{-2, 0, 0}, {1, 1, 1, 1}}, {{2, 0, 0}, {1, 1, 1, 1}}};
    KLParticleSystem fadingAlpha, fadingColour;
    placeParticles(fadingAlpha, placed, KL_CHANGE_ALPHA, D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA, 2.0f);
    placeParticles(fadingColour, placed, KL_CHANGE_COLOR, D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA, 2.0f);
    for (KLParticleSystem* system : {&fadingAlpha, &fadingColour}) {
        // The burst at the start of the second, the generator's one at its end:
        // ages 1 s and 0 s of a 2 s life.
        system->SetGeneratorSpeed(1.0f);
        system->UpdateParticles(KL_UPDATE_GENERATOR, 1000.0f);
        ASSERT_EQ(system->GetParticleCount(), 2);
    }
    const QPoint old = pixelOf(placed[0].position);
    const QPoint young = pixelOf(placed[1].position);

    engine->Clear();
    fadingAlpha.RenderParticles();
    engine->RenderToScreen();
    QImage image = shot();
    EXPECT_TRUE(near(pixelColour(image, old.x(), old.y()), {0.5f, 0.5f, 1.0f})) << describe(pixelColour(image, old.x(), old.y()));
    EXPECT_TRUE(near(pixelColour(image, young.x(), young.y()), {1, 1, 1}));

    engine->Clear();
    fadingColour.RenderParticles();
    engine->RenderToScreen();
    image = shot();
    EXPECT_TRUE(near(pixelColour(image, old.x(), old.y()), {0.5f, 0.5f, 0.5f})) << describe(pixelColour(image, old.x(), old.y()));
    EXPECT_TRUE(near(pixelColour(image, young.x(), young.y()), {1, 1, 1}));
}

// Sprites are drawn only where a texel can show under the blend mode; the
// pixels they cover are the blend of the particle's colour times the texel.
TEST_F(ParticlesView, TexturedBillboardsBlendTheColourTimesTheTexelAsTheFactorsSay)
{
    // 32 x 32: white of alpha 0, with an orange block of alpha 128 in 8..23.
    QImage image(32, 32, QImage::Format_ARGB32);
    image.fill(qRgba(255, 255, 255, 0));
    for (int y = 8; y < 24; ++y)
        for (int x = 8; x < 24; ++x)
            image.setPixel(x, y, qRgba(200, 100, 50, 128));
    KLTextureFactory textures;
    const int sprite = textures.CreateTextureFromImage(image, "Sprite");
    scene->SetCamera(0, 0, -10, 0, 0, 0);
    scene->SetColor(0.25f, 0.25f, 0.25f);
    const glm::vec4 colour(0.5f, 1.0f, 0.8f, 1.0f);
    const glm::vec3 texel = glm::vec3(200, 100, 50) / 255.0f;
    const float texelAlpha = 128.0f / 255.0f;
    const glm::vec3 background(0.25f);
    // The square is 4 units across: the block covers -1..1, the clear frame the rest.
    const QPoint centre = pixelOf({0, 0, 0}), frame = pixelOf({1.6f, 0.3f, 0}), outside = pixelOf({2.4f, 0, 0});

    // Source times its alpha, added: the frame's alpha 0 adds nothing.
    KLParticleSystem alphaAdded;
    placeParticles(alphaAdded, {{{0, 0, 0}, colour}}, KL_CHANGE_NO, D3DBLEND_SRCALPHA, D3DBLEND_ONE, 100.0f, 4.0f, sprite);
    alphaAdded.UpdateParticles(KL_UPDATE_GENERATOR, 10.0f);
    ASSERT_EQ(alphaAdded.GetParticleCount(), 1);
    engine->Clear();
    alphaAdded.RenderParticles();
    engine->RenderToScreen();
    QImage shown = shot();
    const glm::vec3 added = background + glm::vec3(colour) * texel * (colour.a * texelAlpha);
    EXPECT_TRUE(near(pixelColour(shown, centre.x(), centre.y()), added)) << describe(pixelColour(shown, centre.x(), centre.y()));
    EXPECT_TRUE(near(pixelColour(shown, frame.x(), frame.y()), background, 1.0f / 255.0f));
    EXPECT_TRUE(near(pixelColour(shown, outside.x(), outside.y()), background, 1.0f / 255.0f));

    // Source added whole: the frame's white shows, tinted by the colour.
    KLParticleSystem whole;
    placeParticles(whole, {{{0, 0, 0}, colour}}, KL_CHANGE_NO, D3DBLEND_ONE, D3DBLEND_ONE, 100.0f, 4.0f, sprite);
    whole.UpdateParticles(KL_UPDATE_GENERATOR, 10.0f);
    engine->Clear();
    whole.RenderParticles();
    engine->RenderToScreen();
    shown = shot();
    EXPECT_TRUE(near(pixelColour(shown, centre.x(), centre.y()), background + glm::vec3(colour) * texel))
        << describe(pixelColour(shown, centre.x(), centre.y()));
    EXPECT_TRUE(near(pixelColour(shown, frame.x(), frame.y()), glm::min(background + glm::vec3(colour), glm::vec3(1.0f))))
        << describe(pixelColour(shown, frame.x(), frame.y()));
    EXPECT_TRUE(near(pixelColour(shown, outside.x(), outside.y()), background, 1.0f / 255.0f));
}

TEST_F(ParticlesView, SpritesAreReadAtTheMipLevelOfTheirSizeOnScreen)
{
    // 64 x 64 checks of 2 x 2 texels, black and white: level 0 and 1 show
    // them, level 2 and coarser are an even grey. A square of 4 units is drawn
    // additively over black, close up (level 0: the checks show) and far off
    // (about 16 pixels across, level 2: grey, where level 0 read at that size
    // would break into black and white pixels).
    QImage image(64, 64, QImage::Format_ARGB32);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x)
            image.setPixel(x, y, ((x / 2 + y / 2) % 2) ? qRgba(255, 255, 255, 255) : qRgba(0, 0, 0, 255));
    KLTextureFactory textures;
    const int checks = textures.CreateTextureFromImage(image, "Checks");
    scene->SetColor(0.0f, 0.0f, 0.0f);
    const auto squareAt = [&](float distance, float& darkest, float& brightest) {
        scene->SetCamera(0, 0, -distance, 0, 0, 0);
        KLParticleSystem system;
        placeParticles(system, {{{0, 0, 0}, {1, 1, 1, 1}}}, KL_CHANGE_NO, D3DBLEND_ONE, D3DBLEND_ONE, 100.0f, 4.0f,
                       checks);
        system.UpdateParticles(KL_UPDATE_GENERATOR, 10.0f);
        engine->Clear();
        system.RenderParticles();
        engine->RenderToScreen();
        const QImage shown = shot();
        // The middle half of the square, clear of its edges.
        const QPoint centre = pixelOf({0, 0, 0});
        const int reach = (pixelOf({1.0f, 0, 0}).x() - centre.x());
        darkest = 1.0f;
        brightest = 0.0f;
        for (int y = centre.y() - reach; y <= centre.y() + reach; ++y)
            for (int x = centre.x() - reach; x <= centre.x() + reach; ++x) {
                const float grey = pixelColour(shown, x, y).g;
                darkest = std::min(darkest, grey);
                brightest = std::max(brightest, grey);
            }
        return 2 * std::abs(reach) * 2;   // the square's width in pixels
    };
    float darkest = 0.0f, brightest = 0.0f;
    EXPECT_GE(squareAt(6.0f, darkest, brightest), 64);
    EXPECT_LT(darkest, 0.2f);
    EXPECT_GT(brightest, 0.8f);
    const int far = squareAt(48.0f, darkest, brightest);
    EXPECT_GE(far, 12);
    EXPECT_LE(far, 20);
    EXPECT_GT(darkest, 0.35f);
    EXPECT_LT(brightest, 0.65f);
}

TEST_F(ParticlesView, BillboardsDrawOverTheOpaqueSceneAndWriteNoDepth)
{
    scene->SetCamera(0, 0, -10, 0, 0, 0);
    scene->SetColor(0, 0, 0);
    KLMesh wall = scene->CreateMesh("Wall");
    wall.AddWall(0, -3, 2, 3, 2, 6, -3, 1, 1, true, false);   // at z = 2, behind the origin
    wall.SetLighting(false);
    wall.SetColor(0, 0, 1, 1);

    // Red in front of the wall, then green behind the red (drawn after it, in
    // birth order), then yellow behind the wall.
    KLParticleSystem system;
    placeParticles(system, {{{0, 0, 0}, {1, 0, 0, 1}}, {{0.3f, 0, 1}, {0, 1, 0, 1}}, {{-2, 0, 4}, {1, 1, 0, 1}}},
                   KL_CHANGE_NO, D3DBLEND_SRCALPHA, D3DBLEND_ONE);
    system.SetGeneratorSpeed(2.0f);
    system.UpdateParticles(KL_UPDATE_GENERATOR, 1000.0f);
    ASSERT_EQ(system.GetParticleCount(), 3);

    engine->Clear();
    system.RenderParticles();   // before the wall: still drawn after it
    wall.Render();
    engine->RenderToScreen();
    const QImage image = shot();
    const QPoint front = pixelOf({-0.3f, 0, 0});
    const QPoint overlap = pixelOf({0.15f, 0, 0});
    const QPoint hidden = pixelOf({-2, 0, 4});
    EXPECT_TRUE(near(pixelColour(image, front.x(), front.y()), {1, 0, 1})) << describe(pixelColour(image, front.x(), front.y()));
    // The green square is behind the red one yet blends in: the red wrote no depth.
    EXPECT_TRUE(near(pixelColour(image, overlap.x(), overlap.y()), {1, 1, 1})) << describe(pixelColour(image, overlap.x(), overlap.y()));
    EXPECT_TRUE(near(pixelColour(image, hidden.x(), hidden.y()), {0, 0, 1})) << describe(pixelColour(image, hidden.x(), hidden.y()));
}

TEST_F(ParticlesView, ThreeThousandBillboardsStreamWithoutNewBuffers)
{
    scene->SetCamera(0, 0, -60, 0, 0, 0);
    std::vector<std::unique_ptr<KLParticleSystem>> systems;
    for (int s = 0; s < 3; ++s) {
        auto system = std::make_unique<KLParticleSystem>();
        system->SetBillboardMode(1);
        system->CreateBillboardSystem(1000, 1000, 0.5f, {float(s - 1) * 15.0f, 0, 0}, 0, 0);
        system->SetParticleSpeed(0.03f);
        int n = 0;
        system->SetNewParticleHandler([n](float& vx, float& vy, float& vz, float&, float&, float&, float&,
                                          float& life, std::int32_t&) mutable {
            vx = float(n % 10 - 5) * 0.05f;
            vy = float(n / 10 % 10 - 5) * 0.05f;
            vz = 0;
            life = 10.0f;
            ++n;
        });
        system->UpdateParticles(0, 100.0f);
        ASSERT_EQ(system->GetParticleCount(), 1000);
        systems.push_back(std::move(system));
    }
    std::uint64_t buffersAfterFirst = 0;
    for (int frame = 0; frame < 4; ++frame) {
        engine->Clear();
        for (auto& system : systems) {
            system->UpdateParticles(64, 16.0f);
            system->RenderParticles();
        }
        engine->RenderToScreen();
        if (frame == 0)
            buffersAfterFirst = kl::gpu::buffersCreated();
    }
    EXPECT_EQ(kl::gpu::buffersCreated(), buffersAfterFirst);
    // Each system's cloud shows (white squares on black).
    const QImage image = shot();
    for (int s = 0; s < 3; ++s) {
        const QPoint at = pixelOf({float(s - 1) * 15.0f, 0, 0});
        EXPECT_GT(pixelColour(image, at.x(), at.y()).r, 0.5f) << s;
    }
}

} // namespace
