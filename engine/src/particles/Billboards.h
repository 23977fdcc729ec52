// Billboard geometry of a particle system: one square per particle facing the
// camera, coloured by the particle's colour faded with its age, grouped by
// texture so each texture is one draw.
#pragma once

#include "gpu/RenderTypes.h"
#include "particles/ParticleSimulation.h"

#include <glm/glm.hpp>

#include <QImage>

#include <cstdint>
#include <functional>
#include <span>
#include <vector>

namespace kl::particles {

// How a particle fades as it ages (KL_CHANGE_* of KLParticleSystem.h).
enum class Fade { Alpha = 1, Colour = 2, None = 3 };

// How the squares turn (the system's billboard mode).
enum class Facing { Camera = 1, Upright = 2 };

struct BillboardStyle {
    float size = 1.0f;             // edge length in world units
    Fade fade = Fade::Alpha;
    Facing facing = Facing::Camera;
    bool farToNear = false;        // particles of a texture drawn farthest first
    bool shrinkWithAge = false;    // edge length falls with the remaining life
};

// The particle's colour at its age: with Fade::Alpha the alpha, with
// Fade::Colour red, green and blue fall in proportion to the life left, so a
// particle starts as it was born and ends invisible.
glm::vec4 fadedColour(const Particle& particle, Fade fade);

// Share of the life still to come, 1 at birth and 0 at the end.
float lifeLeft(const Particle& particle);

// Which texels of a sprite can change the picture under a blend mode: the
// texels outside them are drawn as nothing (zero source, destination kept).
enum class SpriteCoverage {
    Everything,         // the blend mode changes the destination even for a zero source: no texel is invisible
    NonZeroAlpha,       // texels of alpha 0 add nothing and keep the destination
    NonZeroTexel,       // texels with all four channels 0 add nothing and keep the destination
};
SpriteCoverage spriteCoverage(gpu::BlendFactor source, gpu::BlendFactor destination);

// The smallest rectangle of a sprite's texels holding every texel that can
// show under a coverage, in texel indices (inclusive); `empty` when none can.
struct SpriteFootprint {
    int width = 0;
    int height = 0;
    bool empty = false;
    int x0 = 0, y0 = 0, x1 = -1, y1 = -1;
};
SpriteFootprint spriteFootprint(const QImage& image, SpriteCoverage coverage);

// Texture coordinates (top-left origin) of the part of the sprite that can
// show when it is sampled bilinearly from mip level `level` (each level
// averaging 2 x 2 texels of the one below): the footprint widened by the
// reach of that level's texels and filter. Outside it every sample is zero.
struct SpriteRect {
    glm::vec2 min{0.0f};
    glm::vec2 max{1.0f};
};
SpriteRect visibleRect(const SpriteFootprint& footprint, int level);

// The mip level a square `edge` world units across, facing the camera
// `depth` units ahead, is sampled from when one world unit at distance 1
// spans `pixelsPerUnit` pixels: the nearest level to the texel-per-pixel
// ratio, with a little to spare so the estimate never falls short of the
// rasteriser's.
int spriteMipLevel(int textureSize, float edge, float depth, float pixelsPerUnit);

// What trims squares to the visible part of their sprite: the footprint of
// each texture (null: not trimmed) and the view's scale.
struct SpriteTrimming {
    float pixelsPerUnit = 0.0f;   // 0: no trimming
    std::function<const SpriteFootprint*(std::int32_t texture)> footprint;
};

// Whether buildBillboards trims the squares of a texture with footprint
// `footprint` (null: none) in `style`: then each vertex also carries the mip
// level its square is sampled from, in uv2.x (uv2.y 1; otherwise uv2 is 0).
bool trimsSquares(const BillboardStyle& style, const SpriteTrimming* trimming, const SpriteFootprint* footprint);

// Rewrites `mesh` (vertices, indices, groups) with the squares of
// `particles` as seen with the view matrix `view` (left-handed, column
// vectors); `groupTextures` receives the texture of each mesh group in order.
// Returns the centre of the particles (their mean position), the point the
// draw order sorts the system by. With `trimming`, squares facing the camera
// are cut down to the part of their sprite that can show (the picture stays
// the same; fewer pixels are blended).
glm::vec3 buildBillboards(std::span<const Particle> particles, const BillboardStyle& style, const glm::mat4& view,
                          gpu::MeshGeometry& mesh, std::vector<std::int32_t>& groupTextures,
                          const SpriteTrimming* trimming = nullptr);

} // namespace kl::particles
