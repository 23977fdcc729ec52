// The sky box: a cube around the camera, each face one texture, drawn before
// everything else and without depth, so the scene covers it wherever it is.
//
// Face layout (left-handed, y up, seen from inside): front +z, back −z,
// left −x, right +x, top +y, bottom −y. Side faces are upright; the top face's
// lower edge and the bottom face's upper edge join the front face, and on
// both the image's right is +x. A face's texture runs from edge to edge and
// is sampled clamped, so neighbouring faces meet without a seam.
#pragma once

#include "core/AtmosphereState.h"
#include "gpu/RenderTypes.h"

#include <glm/glm.hpp>

#include <vector>

namespace kl::core {
class Context;
}

namespace kl::scene {

// The cube from −1 to 1, one group of two triangles per face in SkyFace order.
gpu::MeshGeometry makeSkyCube(gpu::ResourceId id);

// Point of face `face` at face coordinates s (image right) and t (image
// down), both −1..1, on the cube from −1 to 1.
glm::vec3 skyFacePoint(core::SkyFace face, float s, float t);

// Half the edge length the box is drawn with: the given size, kept inside the
// camera's far plane (corners included) and outside its near plane when the
// box follows the camera — there its size does not change the picture.
float skyHalfSize(float size, bool followsCamera, float nearPlane, float farPlane);

// Whether a face texture `texels` across is never shown smaller than its
// texels on a box that follows the camera, seen with `pixelsPerTangent`
// pixels per unit of view tangent (projection[1][1] · view height / 2). A
// face point in direction d covers at least |d|⁻² of its size in view angle
// and |d|² ≤ 3 on the cube, and the projection never shrinks an angle, so a
// texel (2 / texels of a face) spans at least 2·pixelsPerTangent / (3·texels)
// pixels. Allows texels down to 0.8 pixel: the mip-mapped look differs there
// by under a third of a level, at a cube corner in the middle of the view.
bool skyFaceMagnified(int texels, float pixelsPerTangent);

// One item per face with a texture (none while the sky box is off).
void appendSkyItems(const core::Context& context, std::vector<gpu::DrawItem>& items);

} // namespace kl::scene
