// The one camera of the engine (KLScene, KLCamera): where it stands, what it
// looks at and its projection, with the matrices derived from them.
#pragma once

#include <QSize>

#include <glm/glm.hpp>

namespace kl::core {

struct CameraState {
    glm::vec3 eye{0.0f, 0.0f, -10.0f};
    glm::vec3 target{0.0f};
    float fovDegrees = 45.0f;   // vertical field of view
    float nearPlane = 1.0f;
    float farPlane = 10000.0f;

    // Left-handed view matrix (column-vector convention); a camera on its target
    // looks along +z, one looking straight up or down keeps z as its up axis.
    glm::mat4 viewMatrix() const;
    // Perspective for a viewport of that size in pixels; the field of view is
    // clamped to 1..179 degrees, the planes kept apart and an empty viewport
    // taken as one pixel.
    glm::mat4 projectionMatrix(QSize viewport) const;
};

} // namespace kl::core
