// GLSL sources of the renderer's programs.
#pragma once

#include <QByteArray>

#include <span>

namespace kl::gpu::shaders {

// Meshes: Direct3D 8 fixed-function lighting evaluated per pixel, texture
// stages (base or sphere map, detail, lightmap) and bump relief.
extern const char* const meshVertex;
extern const char* const meshFragment;   // body without version line and stage switches

enum MeshFeature : unsigned {
    Lit = 1u << 0,
    BaseTexture = 1u << 1,
    SphereMap = 1u << 2,
    BumpMap = 1u << 3,
    DetailTexture = 1u << 4,
    Lightmap = 1u << 5,
    Specular = 1u << 6,   // highlights: the material has a power and a specular colour
    VertexColour = 1u << 7,   // vertex colours replace the material's diffuse colour
    SpriteLevel = 1u << 8,    // the base texture is read at the mip level the vertices carry (uv2.x)
};

// Complete fragment shader for one combination of MeshFeature bits and the
// types (LightType values) of the lights in use, in uniform-array order.
QByteArray meshFragmentSource(unsigned features, std::span<const int> lightTypes);

// Screen-space quads (background, 2D quads, text): pixel positions, vertex
// colours, optional texture.
extern const char* const quadVertex;
extern const char* const quadFragment;

} // namespace kl::gpu::shaders
