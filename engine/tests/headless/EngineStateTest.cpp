// The parts the engine context is made of, on their own.
#include "core/CameraState.h"
#include "core/RenderBinding.h"
#include "scene/MeshData.h"
#include "scene/MeshRegistry.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

glm::vec3 project(const kl::core::CameraState& camera, QSize viewport, glm::vec3 point)
{
    const glm::vec4 clip = camera.projectionMatrix(viewport) * camera.viewMatrix() * glm::vec4(point, 1.0f);
    return glm::vec3(clip) / clip.w;
}

bool finite(const glm::mat4& m)
{
    for (int c = 0; c < 4; ++c)
        for (int r = 0; r < 4; ++r)
            if (!std::isfinite(m[c][r]))
                return false;
    return true;
}

TEST(CameraStateTest, TargetProjectsToTheCentreAndXRunsRightInTheLeftHandedView)
{
    kl::core::CameraState camera;   // at (0, 0, -10) looking at the origin
    const glm::vec3 centre = project(camera, {640, 480}, camera.target);
    EXPECT_NEAR(centre.x, 0.0f, 1e-5f);
    EXPECT_NEAR(centre.y, 0.0f, 1e-5f);
    EXPECT_GT(project(camera, {640, 480}, {1, 0, 0}).x, 0.0f);
    EXPECT_GT(project(camera, {640, 480}, {0, 1, 0}).y, 0.0f);
    // A wider viewport narrows the picture horizontally, not vertically.
    EXPECT_LT(project(camera, {1280, 480}, {1, 1, 0}).x, project(camera, {640, 480}, {1, 1, 0}).x);
    EXPECT_FLOAT_EQ(project(camera, {1280, 480}, {1, 1, 0}).y, project(camera, {640, 480}, {1, 1, 0}).y);
}

TEST(CameraStateTest, DegenerateCamerasStillGiveFiniteMatrices)
{
    kl::core::CameraState straightDown;
    straightDown.eye = {0, 50, 0};
    straightDown.target = {0, 0, 0};
    EXPECT_TRUE(finite(straightDown.viewMatrix()));
    EXPECT_NEAR(project(straightDown, {640, 480}, {0, 0, 0}).x, 0.0f, 1e-5f);

    kl::core::CameraState onItsTarget;
    onItsTarget.target = onItsTarget.eye;
    onItsTarget.fovDegrees = 0.0f;
    onItsTarget.nearPlane = onItsTarget.farPlane = 0.0f;
    EXPECT_TRUE(finite(onItsTarget.viewMatrix()));
    EXPECT_TRUE(finite(onItsTarget.projectionMatrix({0, 0})));
}

TEST(RenderBindingTest, UnattachedBindingHasTheDefaultViewAndIgnoresReleases)
{
    kl::core::RenderBinding binding;
    EXPECT_FALSE(binding.isAttached());
    EXPECT_EQ(binding.renderer(), nullptr);
    EXPECT_EQ(binding.viewportSize(), QSize(640, 480));
    binding.release(7);
    binding.inFrame = true;
    binding.detach();
    EXPECT_FALSE(binding.inFrame);
}

TEST(MeshRegistryTest, LiveMeshesKeepCreationOrderAndExpiredOnesAreForgotten)
{
    kl::scene::MeshRegistry registry;
    auto first = std::make_shared<kl::scene::MeshData>();
    auto second = std::make_shared<kl::scene::MeshData>();
    auto third = std::make_shared<kl::scene::MeshData>();
    registry.add(first);
    registry.add(second);
    registry.add(third);
    second.reset();
    EXPECT_EQ(registry.entries().size(), 3u);
    const auto live = registry.live();
    ASSERT_EQ(live.size(), 2u);
    EXPECT_EQ(live[0], first);
    EXPECT_EQ(live[1], third);
    EXPECT_EQ(registry.entries().size(), 2u);
}

} // namespace
