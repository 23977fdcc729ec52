// Turns scene meshes into the renderer's draw items.
#pragma once

#include "gpu/RenderTypes.h"

#include <memory>
#include <vector>

namespace kl::core {
class Context;
}

namespace kl::scene {

struct MeshData;

// Appends one item per group of the mesh (nothing for a mesh without geometry).
void appendDrawItems(const core::Context& context, const MeshData& mesh, std::vector<gpu::DrawItem>& items);

} // namespace kl::scene
