// The sky of the scene (KLAtmosphere): the sky box's six face textures, its
// size and switches, and the cube it is drawn with.
#pragma once

#include "gpu/RenderTypes.h"

#include <array>

namespace kl::core {

// Faces in the order the tools pass them.
enum class SkyFace { Front, Back, Left, Right, Top, Bottom };
inline constexpr int SkyFaceCount = 6;

struct AtmosphereState {
    std::array<int, SkyFaceCount> skyTextures{};   // texture ids, 0 = face not drawn
    float skySize = 1000.0f;                        // edge length of the cube
    bool skyEnabled = false;
    bool skyFixed = false;                          // centred on the origin instead of the camera
    gpu::MeshGeometry skyCube;                      // unit cube seen from inside, one group per face
};

} // namespace kl::core
