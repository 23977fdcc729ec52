// GLSL sources of the renderer's programs.
#pragma once

namespace kl::gpu::shaders {

// Meshes: Direct3D 8 fixed-function lighting evaluated per pixel, texture
// stages (base or sphere map, detail, lightmap) and bump relief.
extern const char* const meshVertex;
extern const char* const meshFragment;

// Screen-space quads (background, 2D quads, text): pixel positions, vertex
// colours, optional texture.
extern const char* const quadVertex;
extern const char* const quadFragment;

} // namespace kl::gpu::shaders
