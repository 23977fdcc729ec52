// The sky box without a window: the cube's faces and where they meet, its
// size against the camera's planes, and the draw items the atmosphere makes.
#include "EngineTestSupport.h"

#include "korlith3d/KLAtmosphere.h"
#include "korlith3d/KLScene.h"
#include "korlith3d/KLTextureFactory.h"

#include "core/Context.h"
#include "scene/SkyBox.h"

#include <cmath>
#include <vector>

using kl::core::SkyFace;
using kltest::EngineTest;

namespace {

TEST(SkyCubeTest, EachFaceLiesWhereItsNameSaysAndNeighboursShareTheirEdges)
{
    const std::pair<SkyFace, glm::vec3> centres[] = {
        {SkyFace::Front, {0, 0, 1}}, {SkyFace::Back, {0, 0, -1}}, {SkyFace::Left, {-1, 0, 0}},
        {SkyFace::Right, {1, 0, 0}}, {SkyFace::Top, {0, 1, 0}},   {SkyFace::Bottom, {0, -1, 0}}};
    for (const auto& [face, centre] : centres)
        EXPECT_EQ(kl::scene::skyFacePoint(face, 0, 0), centre) << int(face);

    // Seen from inside looking along +z: the front's image right is +x, its top +y;
    // the top face's lower edge and the bottom face's upper edge are the front's.
    EXPECT_EQ(kl::scene::skyFacePoint(SkyFace::Front, 1, -1), glm::vec3(1, 1, 1));
    EXPECT_EQ(kl::scene::skyFacePoint(SkyFace::Top, 1, 1), glm::vec3(1, 1, 1));
    EXPECT_EQ(kl::scene::skyFacePoint(SkyFace::Bottom, 1, -1), glm::vec3(1, -1, 1));
    EXPECT_EQ(kl::scene::skyFacePoint(SkyFace::Right, -1, 0), glm::vec3(1, 0, 1));

    // Every point along every face edge is a point of another face's edge at
    // the same spacing, so the pictures meet without a jump.
    std::vector<std::pair<int, glm::vec3>> edgePoints;
    for (int f = 0; f < 6; ++f)
        for (float a = -1.0f; a <= 1.0f; a += 0.5f)
            for (const glm::vec2 st : {glm::vec2(a, -1), glm::vec2(a, 1), glm::vec2(-1, a), glm::vec2(1, a)})
                edgePoints.push_back({f, kl::scene::skyFacePoint(SkyFace(f), st.x, st.y)});
    for (const auto& [face, point] : edgePoints) {
        const bool shared = std::any_of(edgePoints.begin(), edgePoints.end(),
                                        [&](const auto& other) { return other.first != face && other.second == point; });
        EXPECT_TRUE(shared) << face << " " << point.x << "," << point.y << "," << point.z;
    }

    const kl::gpu::MeshGeometry cube = kl::scene::makeSkyCube(5);
    ASSERT_EQ(cube.groups.size(), 6u);
    ASSERT_EQ(cube.vertices.size(), 24u);
    // The front face's picture: top-left texel at the upper left, (−1, 1, 1).
    EXPECT_EQ(cube.vertices[0].position, glm::vec3(-1, 1, 1));
    EXPECT_EQ(cube.vertices[0].uv, glm::vec2(0, 0));
    EXPECT_EQ(cube.vertices[2].position, glm::vec3(1, -1, 1));
    EXPECT_EQ(cube.vertices[2].uv, glm::vec2(1, 1));
}

TEST(SkyCubeTest, ABoxFollowingTheCameraStaysBetweenItsPlanes)
{
    EXPECT_FLOAT_EQ(kl::scene::skyHalfSize(1000, true, 1, 10000), 500.0f);
    EXPECT_NEAR(kl::scene::skyHalfSize(1000, true, 1, 500), 0.99f * 500.0f / std::sqrt(3.0f), 1e-3);
    EXPECT_FLOAT_EQ(kl::scene::skyHalfSize(1, true, 2, 10000), 2.02f);
    EXPECT_FLOAT_EQ(kl::scene::skyHalfSize(1000, false, 1, 500), 500.0f);   // a fixed box keeps its size
}

class AtmosphereTest : public EngineTest {
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        KLTextureFactory textures;
        for (int i = 0; i < 6; ++i)
            ids.push_back(textures.CreateTextureFromImage(kltest::testPattern(4, 4), QStringLiteral("Face%1").arg(i)));
    }

    std::vector<kl::gpu::DrawItem> items() const
    {
        std::vector<kl::gpu::DrawItem> result;
        kl::scene::appendSkyItems(*kl::core::Context::current(), result);
        return result;
    }

    std::vector<int> ids;
};

TEST(SkyCubeTest, FacesAreSampledWithoutMipLevelsOnlyWhereNoTexelIsShownMuchSmallerThanAPixel)
{
    // 800 x 600 at 45 degrees: 724 pixels per unit of tangent; a texel of a
    // 512 face spans at least 0.94 pixel, of a 1024 face 0.47.
    const float pixelsPerTangent = 300.0f / std::tan(glm::radians(22.5f));
    EXPECT_TRUE(kl::scene::skyFaceMagnified(512, pixelsPerTangent));
    EXPECT_TRUE(kl::scene::skyFaceMagnified(128, pixelsPerTangent));
    EXPECT_FALSE(kl::scene::skyFaceMagnified(1024, pixelsPerTangent));
    // The bound's edge: 2·f / (3·texels) = 0.8.
    EXPECT_TRUE(kl::scene::skyFaceMagnified(600, 720.0f));
    EXPECT_FALSE(kl::scene::skyFaceMagnified(601, 720.0f));
    // No texture size or no view: mip-mapped as before.
    EXPECT_FALSE(kl::scene::skyFaceMagnified(0, pixelsPerTangent));
    EXPECT_FALSE(kl::scene::skyFaceMagnified(64, 0.0f));
    EXPECT_FALSE(kl::scene::skyFaceMagnified(64, std::nanf("")));
}

TEST_F(AtmosphereTest, FacesInTheOrderGivenDrawnFirstClampedAndCentredOnTheCamera)
{
    KLAtmosphere sky;
    sky.SetSkyBox(ids[0], ids[1], ids[2], ids[3], ids[4], ids[5]);
    for (int face = 0; face < 6; ++face)
        EXPECT_EQ(sky.GetSkyBoxTexture(face), ids[std::size_t(face)]);
    sky.SetSkyBoxSize(1000.0f);
    EXPECT_TRUE(items().empty());   // off until enabled
    sky.EnableSkyBox(true, false);
    EXPECT_TRUE(sky.IsSkyBoxEnabled());
    EXPECT_FALSE(sky.IsSkyBoxFixed());

    KLScene scene;
    scene.SetCamera(10, 20, -30, 0, 30, 0);
    std::vector<kl::gpu::DrawItem> drawn = items();
    ASSERT_EQ(drawn.size(), 6u);
    for (int face = 0; face < 6; ++face) {
        const kl::gpu::DrawItem& item = drawn[std::size_t(face)];
        EXPECT_EQ(item.group, face);
        EXPECT_EQ(item.layer, kl::gpu::DrawLayer::Sky);
        EXPECT_TRUE(item.clampToEdge);
        EXPECT_FALSE(item.depthWrite);
        EXPECT_FALSE(item.lit);
        EXPECT_EQ(item.baseTexture, &kl::core::Context::current()->resources().textures.find(ids[std::size_t(face)])->data);
        EXPECT_EQ(glm::vec3(item.world * glm::vec4(0, 0, 0, 1)), glm::vec3(10, 20, -30));
        EXPECT_EQ(glm::vec3(item.world * glm::vec4(0, 0, 1, 1)), glm::vec3(10, 20, 470));
    }

    // Fixed in the world: centred on the origin whatever the camera does.
    sky.EnableSkyBox(true, true);
    drawn = items();
    EXPECT_EQ(glm::vec3(drawn[0].world * glm::vec4(1, 1, 1, 1)), glm::vec3(500, 500, 500));

    // A face without a texture, or whose texture went, is left out.
    sky.SetSkyBox(ids[0], 0, ids[2], ids[3], ids[4], ids[5]);
    KLTextureFactory().DeleteTexture(ids[4]);
    drawn = items();
    ASSERT_EQ(drawn.size(), 4u);
    EXPECT_EQ(drawn[1].group, 2);
    EXPECT_EQ(drawn[3].group, 5);
}

TEST_F(AtmosphereTest, UnknownTexturesAndSizesAreRefusedAndChangeNothing)
{
    KLAtmosphere sky;
    sky.SetSkyBox(ids[0], ids[1], ids[2], ids[3], ids[4], ids[5]);
    EXPECT_KLERROR(sky.SetSkyBox(ids[5], ids[4], 99, ids[2], ids[1], ids[0]), KLERR_UNKNOWN_ID, "99");
    EXPECT_EQ(sky.GetSkyBoxTexture(0), ids[0]);
    EXPECT_KLERROR(sky.GetSkyBoxTexture(6), KLERR_INVALID_CALL, "face 6");
    EXPECT_KLERROR(sky.SetSkyBoxSize(0.0f), KLERR_INVALID_CALL, "SetSkyBoxSize");
    EXPECT_FLOAT_EQ(sky.GetSkyBoxSize(), 1000.0f);
    sky.EnableSkyBox(true, false);
    EXPECT_KLERROR(sky.RenderSkyBox(), KLERR_NOT_INITIALISED, "RenderSkyBox");
    // Every KLAtmosphere object works on the one sky.
    EXPECT_EQ(KLAtmosphere().GetSkyBoxTexture(3), ids[3]);
}

} // namespace
