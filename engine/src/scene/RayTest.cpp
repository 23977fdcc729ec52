#include "scene/RayTest.h"

#include "core/Context.h"
#include "scene/MeshData.h"
#include "terrain/Terrain.h"

#include <algorithm>
#include <atomic>
#include <thread>

namespace kl::scene {
namespace {

// Whether the segment from + t * direction, t in [0, maxT], meets the box.
bool segmentMeetsBox(const Aabb& box, const glm::vec3& from, const glm::vec3& direction, float maxT)
{
    if (!box.valid())
        return false;
    float near = 0.0f, far = maxT;
    for (int axis = 0; axis < 3; ++axis) {
        if (direction[axis] == 0.0f) {
            if (from[axis] < box.min[axis] || from[axis] > box.max[axis])
                return false;
            continue;
        }
        const float inverse = 1.0f / direction[axis];
        float t0 = (box.min[axis] - from[axis]) * inverse;
        float t1 = (box.max[axis] - from[axis]) * inverse;
        if (t0 > t1)
            std::swap(t0, t1);
        near = std::max(near, t0);
        far = std::min(far, t1);
        if (near > far)
            return false;
    }
    return true;
}

} // namespace

bool rayTestMesh(const std::shared_ptr<MeshData>& mesh, const glm::vec3& from, const glm::vec3& to, float& nearest,
                 KLCollisionResult& result)
{
    if (!mesh || mesh->geometry.indices.empty())
        return false;
    const MeshData::Placement& placement = mesh->placement();
    if (!placement.invertible)
        return false;   // a mesh scaled to nothing cannot be hit
    const glm::vec3 direction = to - from;
    if (!segmentMeetsBox(placement.worldBounds, from, direction, nearest))
        return false;
    const glm::vec3 localOrigin(placement.inverse * glm::vec4(from, 1.0f));
    const glm::vec3 localDirection(placement.inverse * glm::vec4(direction, 0.0f));
    RayHit hit;
    if (!mesh->hierarchy().intersect(localOrigin, localDirection, nearest, hit))
        return false;
    nearest = hit.t;
    const glm::vec3 point = from + direction * hit.t;
    result.Hit = true;
    result.Type = KL_COLLIDE_MESHES;
    result.Point = {point.x, point.y, point.z};
    result.Distance = glm::length(direction) * hit.t;
    result.MeshName = mesh->name;
    result.Group = mesh->groupOfTriangle(hit.triangle);
    result.MeshState = mesh;
    return true;
}

RayTargets gatherRayTargets(core::Context& context, int types)
{
    RayTargets targets;
    if (types & KL_COLLIDE_MESHES) {
        for (auto& mesh : context.resources().meshes.live()) {
            if (!mesh->visible || mesh->geometry.indices.empty())
                continue;
            mesh->placement();
            targets.meshes.push_back(std::move(mesh));
        }
    }
    if (types & KL_COLLIDE_LANDSCAPE)
        targets.landscapes = context.landscape().shapes();
    return targets;
}

bool rayTestTargets(const RayTargets& targets, const glm::vec3& from, const glm::vec3& to, KLCollisionResult& result)
{
    result = KLCollisionResult{};
    float nearest = 1.0f;
    bool found = false;
    for (const auto& shape : targets.landscapes) {
        const auto t = terrain::intersectSegment(shape->surface, shape->hierarchy, from, to);
        if (!t || (found && *t >= nearest))
            continue;
        nearest = *t;
        found = true;
        const glm::vec3 point = from + (to - from) * nearest;
        result.Hit = true;
        result.Type = KL_COLLIDE_LANDSCAPE;
        result.Point = {point.x, point.y, point.z};
        result.Distance = glm::length(to - from) * nearest;
    }
    // Meshes only count up to the nearest hit so far; a nearer one overwrites
    // every field of the result.
    for (const auto& mesh : targets.meshes)
        if (rayTestMesh(mesh, from, to, nearest, result))
            found = true;
    return found;
}

void rayTestBatch(const RayTargets& targets, const D3DVECTOR* starts, const D3DVECTOR* ends, std::size_t count,
                  KLCollisionResult* results)
{
    constexpr std::size_t kBlock = 2048;
    std::atomic<std::size_t> nextBlock{0};
    const auto work = [&] {
        for (;;) {
            const std::size_t first = nextBlock.fetch_add(1) * kBlock;
            if (first >= count)
                return;
            const std::size_t last = std::min(count, first + kBlock);
            for (std::size_t i = first; i < last; ++i)
                rayTestTargets(targets, {starts[i].x, starts[i].y, starts[i].z}, {ends[i].x, ends[i].y, ends[i].z},
                               results[i]);
        }
    };
    const std::size_t blocks = (count + kBlock - 1) / kBlock;
    const std::size_t helpers = std::min<std::size_t>(std::max(1u, std::thread::hardware_concurrency()) - 1,
                                                      blocks > 0 ? blocks - 1 : 0);
    std::vector<std::jthread> threads;
    threads.reserve(helpers);
    for (std::size_t i = 0; i < helpers; ++i)
        threads.emplace_back(work);
    work();
}

} // namespace kl::scene
