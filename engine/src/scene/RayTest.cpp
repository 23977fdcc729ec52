#include "scene/RayTest.h"

#include "scene/MeshData.h"

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
    result.Point = {point.x, point.y, point.z};
    result.Distance = glm::length(direction) * hit.t;
    result.MeshName = mesh->name;
    result.Group = mesh->groupOfTriangle(hit.triangle);
    result.MeshState = mesh;
    return true;
}

bool rayTestMeshes(const std::vector<std::weak_ptr<MeshData>>& meshes, const glm::vec3& from, const glm::vec3& to,
                   KLCollisionResult& result)
{
    result = KLCollisionResult{};
    float nearest = 1.0f;
    bool found = false;
    for (const auto& weak : meshes) {
        const std::shared_ptr<MeshData> mesh = weak.lock();
        if (mesh && mesh->visible && rayTestMesh(mesh, from, to, nearest, result))
            found = true;
    }
    return found;
}

} // namespace kl::scene
