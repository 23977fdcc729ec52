#include "scene/RayTest.h"

#include "scene/MeshData.h"

namespace kl::scene {

bool rayTestMesh(const std::shared_ptr<MeshData>& mesh, const glm::vec3& from, const glm::vec3& to, float& nearest,
                 KLCollisionResult& result)
{
    if (!mesh || mesh->geometry.indices.empty())
        return false;
    const glm::mat4 world = mesh->world();
    const float det = glm::determinant(world);
    if (!(std::abs(det) > 1e-20f))
        return false;   // a mesh scaled to nothing cannot be hit
    const glm::mat4 inverse = glm::inverse(world);
    const glm::vec3 origin(inverse * glm::vec4(from, 1.0f));
    const glm::vec3 direction(inverse * glm::vec4(to - from, 0.0f));
    RayHit hit;
    if (!mesh->hierarchy().intersect(origin, direction, nearest, hit))
        return false;
    nearest = hit.t;
    const glm::vec3 point = from + (to - from) * hit.t;
    result.Hit = true;
    result.Point = {point.x, point.y, point.z};
    result.Distance = glm::length(to - from) * hit.t;
    result.MeshName = mesh->name;
    result.Group = mesh->groupOfTriangle(hit.triangle);
    result.MeshState = mesh;
    return true;
}

bool rayTestMeshes(const std::vector<std::shared_ptr<MeshData>>& meshes, const glm::vec3& from, const glm::vec3& to,
                   KLCollisionResult& result)
{
    result = KLCollisionResult{};
    float nearest = 1.0f;
    bool found = false;
    for (const auto& mesh : meshes)
        if (mesh->visible && rayTestMesh(mesh, from, to, nearest, result))
            found = true;
    return found;
}

} // namespace kl::scene
