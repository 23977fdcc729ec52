// Ray tests of segments against scene meshes.
#pragma once

#include "korlith3d/types.h"

#include <glm/glm.hpp>

#include <memory>
#include <vector>

namespace kl::scene {

struct MeshData;

// Tests the segment from→to against one mesh. `nearest` is the segment parameter
// (0..1) of the best hit so far; on a nearer hit it and `result` are updated and
// true is returned.
bool rayTestMesh(const std::shared_ptr<MeshData>& mesh, const glm::vec3& from, const glm::vec3& to, float& nearest,
                 KLCollisionResult& result);

// Nearest hit among the visible meshes.
bool rayTestMeshes(const std::vector<std::weak_ptr<MeshData>>& meshes, const glm::vec3& from, const glm::vec3& to,
                   KLCollisionResult& result);

} // namespace kl::scene
