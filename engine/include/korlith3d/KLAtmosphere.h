// The sky: a sky box of six textures around the camera, drawn first and behind
// everything else, seamless where its faces meet. Every KLAtmosphere object
// works on the engine's one sky.
//
// Face layout (left-handed, y up, as seen from inside looking along +z):
// front +z, back −z, left −x, right +x, top +y, bottom −y. The four side faces
// stand upright; the top face's lower edge and the bottom face's upper edge
// meet the front face, and on both the picture's right side is +x.
//
// The calls as the particle editor passes them:
//   SetSkyBox(GetTex("Front"), GetTex("Back"), GetTex("Left"), GetTex("Right"),
//             GetTex("Top"), GetTex("Bottom"));
//   SetSkyBoxSize(1000.0f); EnableSkyBox(true, false);
//   per frame, after KLEngine::Clear: RenderSkyBox()
#pragma once

#include "korlith3d/Export.h"

#include "korlith3d/types.h"

#include <memory>

namespace kl::core {
class Context;
}

class KL_API KLAtmosphere {
public:
    KLAtmosphere();   // throws KLERR_NOT_INITIALISED when no KLEngine exists
    ~KLAtmosphere();

    // The six face textures in the order front, back, left, right, top,
    // bottom; 0 leaves that face out (the clear colour shows there). An
    // unknown id: KLERR_UNKNOWN_ID, and nothing changes. A face whose texture
    // is deleted later is left out.
    void SetSkyBox(int front, int back, int left, int right, int top, int bottom);
    // Texture of face 0..5 (same order); others: KLERR_INVALID_CALL.
    int GetSkyBoxTexture(int face) const;

    // Edge length of the cube in world units (> 0; default 1000; others:
    // KLERR_INVALID_CALL). A box that follows the camera looks the same at any
    // size: it is drawn within the camera's far plane whatever the size.
    void SetSkyBoxSize(float size);
    float GetSkyBoxSize() const;

    // on: the sky box is drawn by RenderSkyBox. fixedInWorld false (the usual
    // sky): the box's centre follows the camera, so it stays at the horizon
    // however the camera moves; true: it stays centred on the world origin at
    // its size, a room the camera can move about in.
    void EnableSkyBox(bool on, bool fixedInWorld = false);
    bool IsSkyBoxEnabled() const;
    bool IsSkyBoxFixed() const;

    // Draws the sky box into the frame (between KLEngine::Clear and
    // RenderToScreen): behind everything rendered in the frame, before or
    // after it, without writing depth. Nothing while it is off. Throws
    // KLERR_NOT_INITIALISED without Init3DWindowedMode.
    void RenderSkyBox();

private:
    std::shared_ptr<kl::core::Context> context_;
};
