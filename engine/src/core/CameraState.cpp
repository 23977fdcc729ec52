#include "core/CameraState.h"

#include <glm/gtc/matrix_transform.hpp>

#include <algorithm>
#include <cmath>

namespace kl::core {

glm::mat4 CameraState::viewMatrix() const
{
    glm::vec3 forward = target - eye;
    if (glm::dot(forward, forward) < 1e-12f)
        forward = glm::vec3(0.0f, 0.0f, 1.0f);
    glm::vec3 up(0.0f, 1.0f, 0.0f);
    const glm::vec3 f = glm::normalize(forward);
    if (std::abs(glm::dot(f, up)) > 0.9999f)
        up = glm::vec3(0.0f, 0.0f, 1.0f);
    return glm::lookAtLH(eye, eye + f, up);
}

glm::mat4 CameraState::projectionMatrix(QSize viewport) const
{
    const float aspect = float(std::max(1, viewport.width())) / float(std::max(1, viewport.height()));
    const float fov = glm::radians(std::clamp(fovDegrees, 1.0f, 179.0f));
    const float nearClip = std::max(nearPlane, 1e-4f);
    const float farClip = std::max(farPlane, nearClip * 1.001f);
    return glm::perspectiveLH_NO(fov, aspect, nearClip, farClip);
}

} // namespace kl::core
