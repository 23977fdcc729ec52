#include "korlith3d/KLCamera.h"

#include "core/Context.h"

#include <glm/gtc/constants.hpp>

#include <cmath>

KLCamera::KLCamera() : context_(kl::core::Context::current()) {}
KLCamera::~KLCamera() = default;

void KLCamera::SetPosition(float x, float y, float z)
{
    context_->camera().eye = {x, y, z};
}

void KLCamera::SetLookAt(float x, float y, float z)
{
    context_->camera().target = {x, y, z};
}

D3DVECTOR KLCamera::GetPosition() const
{
    const glm::vec3& e = context_->camera().eye;
    return {e.x, e.y, e.z};
}

D3DVECTOR KLCamera::GetLookAt() const
{
    const glm::vec3& t = context_->camera().target;
    return {t.x, t.y, t.z};
}

void KLCamera::SetProjection(float fovDegrees, float farPlane, float nearPlane)
{
    if (!(fovDegrees > 0.0f && fovDegrees < 180.0f) || !(nearPlane > 0.0f && farPlane > nearPlane))
        context_->fail(KLERR_INVALID_CALL, QStringLiteral("SetProjection: invalid values %1, %2, %3")
                                               .arg(fovDegrees)
                                               .arg(farPlane)
                                               .arg(nearPlane));
    context_->camera().fovDegrees = fovDegrees;
    context_->camera().farPlane = farPlane;
    context_->camera().nearPlane = nearPlane;
}

void KLCamera::Orbit(float toward, float vertical, float horizontal, bool keepTarget)
{
    kl::core::CameraState& camera = context_->camera();
    glm::vec3 offset = camera.eye - camera.target;
    float distance = glm::length(offset);
    if (distance < 1e-6f) {
        offset = glm::vec3(0.0f, 0.0f, -1.0f);
        distance = 1.0f;
    }
    // Angles of the camera seen from the target: yaw about y, pitch above the horizon.
    float yaw = std::atan2(offset.x, offset.z);
    float pitch = std::asin(std::clamp(offset.y / distance, -1.0f, 1.0f));
    yaw += glm::radians(horizontal);
    const float limit = glm::radians(89.0f);
    pitch = std::clamp(pitch + glm::radians(vertical), -limit, limit);
    distance = std::max(1.0f, distance - toward);
    const glm::vec3 newOffset =
        distance * glm::vec3(std::cos(pitch) * std::sin(yaw), std::sin(pitch), std::cos(pitch) * std::cos(yaw));
    const glm::vec3 oldEye = camera.eye;
    camera.eye = camera.target + newOffset;
    if (!keepTarget)
        camera.target += camera.eye - oldEye;
}

void KLCamera::Refresh() {}
