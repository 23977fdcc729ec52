// Ray tests and mouse picks against scene meshes.
#include "EngineTestSupport.h"

#include "korlith3d/KLMesh.h"
#include "korlith3d/KLScene.h"

#include "scene/Bvh.h"

#include <random>

using kltest::EngineTest;

namespace {

class RayTestTest : public EngineTest {
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        writeFile("box.x", kltest::exportBox("x", -1, -1, -1, 1, 1, 1));
        scene = std::make_unique<KLScene>();
    }
    void TearDown() override
    {
        scene.reset();
        EngineTest::TearDown();
    }
    KLMesh box(const QString& name, float x, float y, float z)
    {
        KLMesh mesh = scene->CreateMesh(name);
        mesh.LoadX("box.x");
        mesh.SetPosition(x, y, z);
        return mesh;
    }
    std::unique_ptr<KLScene> scene;
};

TEST_F(RayTestTest, HitAndMissAgainstOneMesh)
{
    KLMesh mesh = box("A", 0, 0, 10);
    KLCollisionResult result;
    ASSERT_TRUE(scene->RayTest({0, 0, 0}, {0, 0, 100}, result));
    EXPECT_TRUE(result.Hit);
    EXPECT_NEAR(result.Point.z, 9, 1e-4);
    EXPECT_NEAR(result.Distance, 9, 1e-4);
    EXPECT_EQ(result.MeshName, "A");
    EXPECT_EQ(result.Mesh(), mesh);

    EXPECT_FALSE(scene->RayTest({5, 0, 0}, {5, 0, 100}, result));
    EXPECT_FALSE(result.Hit);
    EXPECT_TRUE(result.Mesh().IsNull());
    // The segment ends before the mesh.
    EXPECT_FALSE(scene->RayTest({0, 0, 0}, {0, 0, 8.5f}, result));
    // Only meshes count as collision type 1; type 4 (landscape) finds none here.
    EXPECT_FALSE(scene->RayTest({0, 0, 0}, {0, 0, 100}, result, KL_COLLIDE_LANDSCAPE));
}

TEST_F(RayTestTest, NearestOfSeveralWinsAndHiddenMeshesAreIgnored)
{
    KLMesh far = box("Far", 0, 0, 20);
    KLMesh near = box("Near", 0, 0, 10);
    KLCollisionResult result;
    ASSERT_TRUE(scene->RayTest({0, 0, 0}, {0, 0, 100}, result));
    EXPECT_EQ(result.MeshName, "Near");
    // From the other side the other box is nearer.
    ASSERT_TRUE(scene->RayTest({0, 0, 100}, {0, 0, 0}, result));
    EXPECT_EQ(result.MeshName, "Far");

    near.SetVisible(false);
    ASSERT_TRUE(scene->RayTest({0, 0, 0}, {0, 0, 100}, result));
    EXPECT_EQ(result.MeshName, "Far");
    // A mesh still answers a test made on it alone.
    EXPECT_TRUE(near.RayTest({0, 0, 0}, {0, 0, 100}, result));

    // A kept result does not hold a released mesh in the scene.
    ASSERT_TRUE(scene->RayTest({0, 0, 100}, {0, 0, 0}, result));
    far = KLMesh();
    EXPECT_TRUE(result.Mesh().IsNull());
    EXPECT_EQ(scene->GetMeshCount(), 1);
}

TEST_F(RayTestTest, PlacementScaleAndRotationCount)
{
    KLMesh mesh = box("Moved", 0, 0, 10);
    mesh.SetScale(3);
    KLCollisionResult result;
    ASSERT_TRUE(scene->RayTest({2.5f, 0, 0}, {2.5f, 0, 100}, result));
    EXPECT_NEAR(result.Point.z, 7, 1e-4);

    mesh.SetScale(1, 1, 1);
    mesh.SetRotation(0, 45, 0);   // the corner now points at the ray
    ASSERT_TRUE(scene->RayTest({0, 0, 0}, {0, 0, 100}, result));
    EXPECT_NEAR(result.Point.z, 10 - std::sqrt(2.0f), 1e-3);

    mesh.SetScale(0);   // nothing left to hit
    EXPECT_FALSE(scene->RayTest({0, 0, 0}, {0, 0, 100}, result));
}

TEST_F(RayTestTest, MousePickThroughTheCamera)
{
    // The camera of Glazery's preview: +x to the right, +y up on screen.
    scene->SetCamera(0, 50, -30, 0, 50, 0);
    KLMesh centre = box("Centre", 0, 50, 0);
    KLMesh right = box("Right", 8, 50, 0);
    KLMesh top = box("Top", 0, 58, 0);
    // Headless the view is 640 x 480.
    EXPECT_EQ(scene->MousePick(320, 240).MeshName, "Centre");
    EXPECT_NEAR(scene->MousePick(320, 240, KL_COLLIDE_MESHES, 1).Point.z, -1.0f, 1e-3);
    EXPECT_FALSE(scene->MousePick(5, 5).Hit);

    // Project the boxes' centres: right of centre on screen, above it.
    bool foundRight = false, foundTop = false;
    for (int x = 320; x < 640 && !foundRight; x += 4)
        foundRight = scene->MousePick(x, 240).MeshName == "Right";
    for (int y = 240; y >= 0 && !foundTop; y -= 4)
        foundTop = scene->MousePick(320, y).MeshName == "Top";
    EXPECT_TRUE(foundRight);
    EXPECT_TRUE(foundTop);
}

TEST(Bvh, AgreesWithTestingEveryTriangle)
{
    std::mt19937 random(7);
    std::uniform_real_distribution<float> coordinate(-10.0f, 10.0f);
    std::vector<glm::vec3> positions;
    std::vector<std::uint32_t> indices;
    for (std::uint32_t t = 0; t < 500; ++t) {
        const glm::vec3 centre(coordinate(random), coordinate(random), coordinate(random));
        for (int c = 0; c < 3; ++c) {
            positions.push_back(centre + glm::vec3(coordinate(random), coordinate(random), coordinate(random)) * 0.1f);
            indices.push_back(t * 3 + static_cast<std::uint32_t>(c));
        }
    }
    // A lopsided cluster: triangles crowding ever closer to the origin.
    for (std::uint32_t t = 500; t < 700; ++t) {
        const float x = 10.0f * std::pow(0.8f, float(t - 500));
        positions.push_back({x, -0.5f, 0.0f});
        positions.push_back({x, 0.5f, 0.0f});
        positions.push_back({x + 0.001f, 0.0f, 0.5f});
        for (std::uint32_t c = 0; c < 3; ++c)
            indices.push_back(t * 3 + c);
    }
    indices.push_back(99999);   // a broken triangle is left out, not read
    indices.push_back(0);
    indices.push_back(1);
    kl::scene::Bvh bvh;
    bvh.build(positions, indices);

    const auto bruteForce = [&](const glm::vec3& o, const glm::vec3& d, float& best) {
        bool found = false;
        for (size_t t = 0; t + 2 < positions.size(); t += 3) {
            kl::scene::Bvh single;
            single.build({positions[t], positions[t + 1], positions[t + 2]}, {0, 1, 2});
            kl::scene::RayHit hit;
            if (single.intersect(o, d, best, hit)) {
                best = hit.t;
                found = true;
            }
        }
        return found;
    };
    for (int i = 0; i < 300; ++i) {
        const glm::vec3 origin(coordinate(random), coordinate(random), -20.0f);
        const glm::vec3 direction = glm::vec3(coordinate(random), coordinate(random), 40.0f) * 0.05f;
        kl::scene::RayHit hit;
        float expected = 100.0f;
        const bool found = bvh.intersect(origin, direction, 100.0f, hit);
        ASSERT_EQ(found, bruteForce(origin, direction, expected)) << i;
        if (found) {
            EXPECT_FLOAT_EQ(hit.t, expected);
        }
    }
}

} // namespace
