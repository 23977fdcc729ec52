// The engine camera, set from the camera state each frame.
#pragma once

#include <memory>

class KLCamera;

namespace landlume {

struct CameraState;

class ClsCamera {
public:
    ClsCamera();
    ~ClsCamera();
    void Init_Camera();
    void Render_Camera(const CameraState& camera);
    void Kill_Camera();
    bool alive() const { return bool(camera_); }

private:
    std::unique_ptr<KLCamera> camera_;
};

} // namespace landlume
