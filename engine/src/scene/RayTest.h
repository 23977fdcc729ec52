// Ray tests of segments against scene meshes and landscapes.
#pragma once

#include "korlith3d/types.h"
#include "scene/Bvh.h"

#include <glm/glm.hpp>

#include <cstdint>
#include <memory>
#include <vector>

namespace kl::core {
class Context;
}
namespace kl::terrain {
struct TerrainShape;
}

namespace kl::scene {

struct MeshData;

// Tests the segment from→to against one mesh. `nearest` is the segment parameter
// (0..1) of the best hit so far; on a nearer hit it and `result` are updated and
// true is returned.
bool rayTestMesh(const std::shared_ptr<MeshData>& mesh, const glm::vec3& from, const glm::vec3& to, float& nearest,
                 KLCollisionResult& result);

// What a ray test of some collision types can hit, gathered once: the visible
// meshes (their placement and hierarchy made ready, so tests only read them)
// and the surfaces of the landscapes with terrain.
struct RayTargets {
    // A mesh as the tests read it: where it stands and its triangle hierarchy,
    // taken when the targets are gathered.
    struct PlacedMesh {
        glm::mat4 inverse{1.0f};
        Aabb worldBounds;
        bool invertible = false;
        const Bvh* hierarchy = nullptr;
    };
    std::vector<std::shared_ptr<MeshData>> meshes;
    std::vector<PlacedMesh> placed;   // one per mesh
    std::vector<int> meshIndices;     // each mesh's index among the scene's meshes (KLScene::GetMesh)
    std::vector<std::shared_ptr<const terrain::TerrainShape>> landscapes;

    void clear()
    {
        meshes.clear();
        placed.clear();
        meshIndices.clear();
        landscapes.clear();
    }
};

// The nearest hit among the targets, as plain values.
struct RayAnswer {
    bool hit = false;
    int type = 0;             // KL_COLLIDE_MESHES or KL_COLLIDE_LANDSCAPE
    glm::vec3 point{0.0f};
    float distance = 0.0f;
    float t = 1.0f;           // segment parameter of the hit
    int target = -1;          // index into RayTargets::meshes, -1 for the land
    int group = -1;
};
RayAnswer rayAnswer(const RayTargets& targets, const glm::vec3& from, const glm::vec3& to);
RayTargets gatherRayTargets(core::Context& context, int types);
// The same into `targets`, whose lists keep their storage: a caller testing
// one segment at a time gathers without allocating. Clear it after use, so it
// holds no mesh or terrain longer than needed.
void gatherRayTargets(core::Context& context, int types, RayTargets& targets);

// Nearest hit of the segment among the targets; only reads them, so tests of
// one RayTargets may run on several threads at once.
bool rayTestTargets(const RayTargets& targets, const glm::vec3& from, const glm::vec3& to, KLCollisionResult& result);

// Segment i from starts[i] to ends[i], for every i, spread over all cores;
// results[i] the answer rayTestTargets gives for it.
void rayTestBatch(const RayTargets& targets, const D3DVECTOR* starts, const D3DVECTOR* ends, std::size_t count,
                  KLRayHit* results);

// Whether the segment hits any target: rayAnswer(...).hit, found without
// looking for the nearest hit (a landscape hit ends the search before the
// meshes are tried).
bool rayHits(const RayTargets& targets, const glm::vec3& from, const glm::vec3& to);
// hits[i] = 1 when segment i hits any target, else 0; spread over all cores.
void rayHitBatch(const RayTargets& targets, const D3DVECTOR* starts, const D3DVECTOR* ends, std::size_t count,
                 std::uint8_t* hits);

} // namespace kl::scene
