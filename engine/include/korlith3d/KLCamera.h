// The view camera. Every KLCamera object works on the engine's one view camera
// (the same one KLScene::SetCamera sets), so reading a camera gives what is drawn.
//
// The particle editor's camera, once per frame (mouse movement dx, dy in
// pixels, wheel in its steps, frame time e in milliseconds):
//   left drag Orbit(0, dy / 2, dx / 2, true)        half a degree per pixel
//   right drag Orbit(-dy / 2, 0, 0, true)           half a unit per pixel
//   auto-rotate Orbit(0, 0, e * 0.025f, true)       25 degrees per second
//   300 units or more away: Orbit(1.0f, 0, 0, true) one unit back per frame
//   then Refresh(); below y = 2 SetPosition(x, 2, z) and SetLookAt(pole)
#pragma once

#include "korlith3d/Export.h"

#include "korlith3d/types.h"

#include <memory>

namespace kl::core {
class Context;
}

class KL_API KLCamera {
public:
    KLCamera();
    ~KLCamera();

    void SetPosition(float x, float y, float z);
    void SetLookAt(float x, float y, float z);
    D3DVECTOR GetPosition() const;
    D3DVECTOR GetLookAt() const;
    // Projection: vertical field of view in degrees, far and near plane.
    //   Landlume: SetProjection(60, 30000, 1.0)
    void SetProjection(float fovDegrees, float farPlane, float nearPlane);
    // Orbit about the look-at target: `toward` moves the camera that many units
    // toward the target (negative away; it stops 1 unit short of it), `vertical`
    // and `horizontal` turn it about the target by that many degrees (vertical is
    // kept within ±89° of the horizon): positive vertical raises it, positive
    // horizontal carries it clockwise as seen from above (from −z towards −x).
    // Pure turns keep its distance to the target. With keepTarget false the
    // target moves along with the camera instead.
    void Orbit(float toward, float vertical, float horizontal, bool keepTarget = true);
    // Re-reads the view camera (kept for the tools' call order; always current).
    void Refresh();

private:
    std::shared_ptr<kl::core::Context> context_;
};
