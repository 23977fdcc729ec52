#include "ui/ClsCamera.h"

#include "core/Camera.h"

#include <korlith3d/KLCamera.h>

namespace landlume {

ClsCamera::ClsCamera() = default;
ClsCamera::~ClsCamera() = default;

void ClsCamera::Init_Camera()
{
    camera_ = std::make_unique<KLCamera>();
    camera_->SetPosition(50.0f, 0.0f, 50.0f);
    camera_->SetProjection(60.0f, 30000.0f, 1.0f);
}

void ClsCamera::Render_Camera(const CameraState& camera)
{
    camera_->SetPosition(camera.position.x, camera.position.y, camera.position.z);
    camera_->SetLookAt(camera.lookAt.x, camera.lookAt.y, camera.lookAt.z);
}

void ClsCamera::Kill_Camera() { camera_.reset(); }

} // namespace landlume
