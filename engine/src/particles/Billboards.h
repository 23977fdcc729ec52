// Billboard geometry of a particle system: one square per particle facing the
// camera, coloured by the particle's colour faded with its age, grouped by
// texture so each texture is one draw.
#pragma once

#include "gpu/RenderTypes.h"
#include "particles/ParticleSimulation.h"

#include <glm/glm.hpp>

#include <cstdint>
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

// Rewrites `mesh` (vertices, indices, groups) with the squares of
// `particles` as seen with the view matrix `view` (left-handed, column
// vectors); `groupTextures` receives the texture of each mesh group in order.
// Returns the centre of the particles (their mean position), the point the
// draw order sorts the system by.
glm::vec3 buildBillboards(std::span<const Particle> particles, const BillboardStyle& style, const glm::mat4& view,
                          gpu::MeshGeometry& mesh, std::vector<std::int32_t>& groupTextures);

} // namespace kl::particles
