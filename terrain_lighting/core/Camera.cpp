#include "core/Camera.h"

#include <algorithm>
#include <cmath>

namespace landlume {
namespace {

// A factor moves towards 0 by the run-down of `ms` milliseconds, stopping at 0.
float runDown(float speed, float ms)
{
    if (speed > 0.0f) {
        speed -= ms * kSpeedRunDown;
        if (speed < 0.0f)
            speed = 0.0f;
    } else if (speed < 0.0f) {
        speed += ms * kSpeedRunDown;
        if (speed > 0.0f)
            speed = 0.0f;
    }
    return speed;
}

constexpr float kQuarterTurn = 1.5707964f;

} // namespace

void applyCameraInput(CameraState& camera, const CameraInput& input)
{
    if (input.forward)
        camera.forwardSpeed = 1.0f;
    if (input.back)
        camera.forwardSpeed = -1.0f;
    if (input.left)
        camera.strafeSpeed = 1.0f;
    if (input.right)
        camera.strafeSpeed = -1.0f;
    if (input.raise)
        camera.height += 1.0f;
    if (input.lower)
        camera.height -= 1.0f;
    camera.pitch -= float(input.mouseDy) * kMouseTurn;
    camera.yaw -= float(input.mouseDx) * kMouseTurn;
}

void checkMovement(CameraState& camera, const std::function<float()>& frameMs,
                   const std::function<float(float x, float z)>& heightAt)
{
    camera.pitch = std::clamp(camera.pitch, -kPitchLimit, kPitchLimit);
    camera.forwardSpeed = runDown(camera.forwardSpeed, frameMs());
    camera.strafeSpeed = runDown(camera.strafeSpeed, frameMs());

    D3DVECTOR& p = camera.position;
    p.x += camera.forwardSpeed * std::cos(camera.yaw) * frameMs() * kUnitsPerMs +
           camera.strafeSpeed * std::cos(camera.yaw + kQuarterTurn) * frameMs() * kUnitsPerMs;
    p.z += camera.forwardSpeed * std::sin(camera.yaw) * frameMs() * kUnitsPerMs +
           camera.strafeSpeed * std::sin(camera.yaw + kQuarterTurn) * frameMs() * kUnitsPerMs;
    p.y = heightAt(p.x, p.z) + camera.height;
    camera.lookAt = D3DVECTOR{p.x + std::cos(camera.yaw), p.y + std::tan(camera.pitch), p.z + std::sin(camera.yaw)};
}

} // namespace landlume
