// The free camera's speed run-down, height keys, pitch clamp, the frame-rate
// count, and the panel's number rules.
#include "core/Camera.h"
#include "core/NumberInput.h"
#include "core/SceneSettings.h"

#include <gtest/gtest.h>

#include <cmath>

namespace landlume {
namespace {

const auto flat = [](float, float) { return 5.0f; };

// Frames of `ms` milliseconds each until the camera stops; returns the distance.
float coastDistance(CameraState& camera, float ms)
{
    const D3DVECTOR start = camera.position;
    for (int i = 0; i < 1000 && (camera.forwardSpeed != 0.0f || camera.strafeSpeed != 0.0f); ++i)
        checkMovement(camera, [ms] { return ms; }, flat);
    return std::hypot(camera.position.x - start.x, camera.position.z - start.z);
}

TEST(Camera, ReleasingWAtFullSpeedCoastsAbout6Point7Units)
{
    CameraState camera;
    CameraInput keys;
    keys.forward = true;
    applyCameraInput(camera, keys);
    EXPECT_EQ(camera.forwardSpeed, 1.0f);
    // Released: the factor runs down in 200 ms.
    const float distance = coastDistance(camera, 1.0f);
    EXPECT_NEAR(distance, 6.7f, 0.1f);
    // Yaw 0 moves along +x; the eye rides the ground.
    EXPECT_NEAR(camera.position.z, 0.0f, 1e-4f);
    EXPECT_FLOAT_EQ(camera.position.y, 5.0f + kStartCameraHeight);
}

TEST(Camera, StrafeRunsAtRightAnglesAndSAndDWin)
{
    CameraState camera;
    CameraInput keys;
    keys.forward = keys.back = keys.left = keys.right = true;
    applyCameraInput(camera, keys);
    EXPECT_EQ(camera.forwardSpeed, -1.0f);
    EXPECT_EQ(camera.strafeSpeed, -1.0f);
    camera.forwardSpeed = 0.0f;
    checkMovement(camera, [] { return 10.0f; }, flat);
    // D (-1) at yaw 0 moves towards -z by the speed run down one frame.
    EXPECT_NEAR(camera.position.z, -(1.0f - 0.05f) * 10.0f * kUnitsPerMs, 1e-4f);
    EXPECT_NEAR(camera.position.x, 0.0f, 1e-5f);
}

TEST(Camera, PageUpHeldFor100FramesRaisesTheEyeBy100)
{
    CameraState camera;
    CameraInput keys;
    keys.raise = true;
    for (int i = 0; i < 100; ++i) {
        applyCameraInput(camera, keys);
        checkMovement(camera, [] { return 16.0f; }, flat);
    }
    EXPECT_FLOAT_EQ(camera.position.y, 5.0f + kStartCameraHeight + 100.0f);
    keys = CameraInput{};
    keys.lower = true;
    for (int i = 0; i < 200; ++i)
        applyCameraInput(camera, keys);
    checkMovement(camera, [] { return 16.0f; }, flat);
    // No limit: below the ground.
    EXPECT_LT(camera.position.y, 5.0f);
}

TEST(Camera, PitchIsClampedBeforeTheLookAtPoint)
{
    CameraState camera;
    CameraInput keys;
    keys.mouseDy = -500;   // the mouse moved up a long way
    keys.mouseDx = 20;
    applyCameraInput(camera, keys);
    EXPECT_FLOAT_EQ(camera.pitch, 5.0f);
    EXPECT_FLOAT_EQ(camera.yaw, -0.2f);
    checkMovement(camera, [] { return 0.0f; }, flat);
    EXPECT_FLOAT_EQ(camera.pitch, 1.3f);
    EXPECT_NEAR(camera.lookAt.y - camera.position.y, std::tan(1.3f), 1e-4f);
    EXPECT_NEAR(camera.lookAt.x - camera.position.x, std::cos(-0.2f), 1e-5f);
    EXPECT_NEAR(camera.lookAt.z - camera.position.z, std::sin(-0.2f), 1e-5f);
}

TEST(FrameRate, ZeroDuringTheFirstSecondThenFramesOfTheLastPeriod)
{
    SceneSettings s;
    s.lastFpsTick = 1000;
    for (int ms = 1000; ms < 2000; ms += 10)
        updateFps(s, ms);
    EXPECT_EQ(s.framesPerSecond, 0);
    updateFps(s, 2000);   // 1000 ms after the start: the 100 frames count
    EXPECT_EQ(s.framesPerSecond, 100);
    for (int ms = 2100; ms < 3000; ms += 100)
        updateFps(s, ms);
    EXPECT_EQ(s.framesPerSecond, 100);
    updateFps(s, 3050);
    EXPECT_EQ(s.framesPerSecond, 10);
}

TEST(Settings, NewSceneKeepsViewAnglesLightmapPathSelectionAndCoordinates)
{
    SceneSettings s = defaultSettings("/p");
    EXPECT_EQ(s.heightmap, "/p/Textures/Landscape/heightmap.bmp");
    s.camera.pitch = 0.5f;
    s.camera.yaw = 1.0f;
    s.camera.height = 80.0f;
    s.camera.position = {9, 9, 9};
    s.width = 3;
    s.alpha = 0.9f;
    s.lightmap = "/p/l.bmp";
    s.selectedObject = 2;
    s.objectCount = 2;
    s.cameraActive = true;
    s.shadowCoordinates = {{1, 2, 3}, {4, 5, 6}};
    resetSettings(s, "/p");
    EXPECT_EQ(s.heightmap, "/p/Textures/Landscape/Heightmap.bmp");
    EXPECT_EQ(s.width, 8);
    EXPECT_FLOAT_EQ(s.alpha, 0.4f);
    EXPECT_FLOAT_EQ(s.camera.height, 30.0f);
    EXPECT_FLOAT_EQ(s.camera.position.x, 0.0f);
    EXPECT_FLOAT_EQ(s.camera.lookAt.z, 100.0f);
    EXPECT_FLOAT_EQ(s.camera.pitch, 0.5f);
    EXPECT_FLOAT_EQ(s.camera.yaw, 1.0f);
    EXPECT_EQ(s.lightmap, "/p/l.bmp");
    EXPECT_FLOAT_EQ(s.selectedObject, 2.0f);
    EXPECT_FLOAT_EQ(s.objectCount, 0.0f);
    EXPECT_FALSE(s.cameraActive);
    EXPECT_EQ(s.shadowCoordinates.size(), 2u);
}

TEST(PanelNumbers, BoxesNeedAWholeNumberAndChunkCountsAreChecked)
{
    EXPECT_EQ(strictNumber(" 12.5 ").value_or(-1), 12.5);
    EXPECT_FALSE(strictNumber("").has_value());
    EXPECT_FALSE(strictNumber("12abc").has_value());
    EXPECT_FALSE(strictNumber("-").has_value());
    EXPECT_FALSE(strictNumber("1..2").has_value());
    EXPECT_FALSE(strictSingle("1e300").has_value());

    qint32 count = 0;
    EXPECT_TRUE(chunkCountProblem("4", count).isEmpty());
    EXPECT_EQ(count, 4);
    EXPECT_TRUE(chunkCountProblem("2.5", count).isEmpty());
    EXPECT_EQ(count, 2);   // halves to even
    EXPECT_TRUE(chunkCountProblem("32767", count).isEmpty());
    count = 7;
    EXPECT_TRUE(chunkCountProblem("32768", count).contains("32767"));
    EXPECT_TRUE(chunkCountProblem("99999999999", count).contains("too large"));
    EXPECT_TRUE(chunkCountProblem("0", count).contains("at least 1"));
    EXPECT_TRUE(chunkCountProblem("-3", count).contains("at least 1"));
    EXPECT_TRUE(chunkCountProblem("8-", count).contains("not a number"));
    EXPECT_EQ(count, 7);   // untouched by every refused text

    EXPECT_TRUE(legalLightmapSize(64, 2048));
    EXPECT_FALSE(legalLightmapSize(63, 512));
    EXPECT_FALSE(legalLightmapSize(512, 2049));
}

} // namespace
} // namespace landlume
