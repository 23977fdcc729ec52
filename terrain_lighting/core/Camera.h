// The free camera: keys and mouse turned into speed factors and view angles,
// and the movement over the ground that follows from them each frame.
#pragma once

#include <korlith3d/types.h>

#include <functional>

namespace landlume {

inline constexpr float kStartCameraHeight = 30.0f;
inline const D3DVECTOR kStartLookAt{100.0f, 0.0f, 100.0f};
inline constexpr float kPitchLimit = 1.3f;
// Speed factors run down by this much per millisecond once their key is up.
inline constexpr float kSpeedRunDown = 0.005f;
// World units per millisecond at full speed.
inline constexpr float kUnitsPerMs = 0.067f;
// Radians per pixel of mouse movement.
inline constexpr float kMouseTurn = 0.01f;

struct CameraState {
    D3DVECTOR position;
    D3DVECTOR lookAt = kStartLookAt;
    float height = kStartCameraHeight;
    float pitch = 0.0f;
    float yaw = 0.0f;
    float forwardSpeed = 0.0f;
    float strafeSpeed = 0.0f;
};

// The camera keys and the mouse movement of one frame.
struct CameraInput {
    bool forward = false;   // W
    bool back = false;      // S
    bool left = false;      // A
    bool right = false;     // D
    bool raise = false;     // Page Up
    bool lower = false;     // Page Down
    int mouseDx = 0;
    int mouseDy = 0;
};

// The camera part of the per-frame input check (only while the camera is on):
// W/S and A/D set the speed factors to +-1 (S and D win), Page Up/Down move
// the eye height by 1, the mouse turns pitch and yaw.
void applyCameraInput(CameraState& camera, const CameraInput& input);

// The per-frame movement: pitch clamped, speeds run down by the frame's
// milliseconds, the eye moved along yaw, riding `heightAt` + the eye height,
// and the look-at point set one unit ahead. `frameMs` is read at each use.
void checkMovement(CameraState& camera, const std::function<float()>& frameMs,
                   const std::function<float(float x, float z)>& heightAt);

} // namespace landlume
