#include "scene/MeshData.h"

#include "core/Context.h"

#include <glm/gtc/matrix_transform.hpp>

#include <cmath>

namespace kl::scene {

MeshData::~MeshData()
{
    if (auto owner = context.lock())
        owner->rendering().release(geometry.id);
}

glm::mat4 MeshData::world() const
{
    return glm::translate(glm::mat4(1.0f), position) * rotation * glm::scale(glm::mat4(1.0f), scale);
}

const Bvh& MeshData::hierarchy()
{
    if (bvhRevision != geometry.revision || (bvh.empty() && !geometry.indices.empty())) {
        std::vector<glm::vec3> positions;
        positions.reserve(geometry.vertices.size());
        for (const gpu::Vertex& v : geometry.vertices)
            positions.push_back(v.position);
        bvh.build(positions, geometry.indices);
        bvhRevision = geometry.revision;
    }
    return bvh;
}

const MeshData::Placement& MeshData::placement()
{
    const Bvh& tree = hierarchy();
    if (placed_ && placedPosition_ == position && placedRotation_ == rotation && placedScale_ == scale &&
        placedRevision_ == geometry.revision)
        return placement_;
    placedPosition_ = position;
    placedRotation_ = rotation;
    placedScale_ = scale;
    placedRevision_ = geometry.revision;
    placed_ = true;
    placement_.world = world();
    const float det = glm::determinant(placement_.world);
    placement_.invertible = std::isfinite(det) && std::abs(det) > 1e-20f;
    placement_.inverse = placement_.invertible ? glm::inverse(placement_.world) : glm::mat4(1.0f);
    placement_.worldBounds = Aabb{};
    if (tree.empty())
        return placement_;
    const Aabb& box = tree.bounds();
    for (int corner = 0; corner < 8; ++corner) {
        const glm::vec3 p((corner & 1) ? box.max.x : box.min.x, (corner & 2) ? box.max.y : box.min.y,
                          (corner & 4) ? box.max.z : box.min.z);
        placement_.worldBounds.grow(glm::vec3(placement_.world * glm::vec4(p, 1.0f)));
    }
    return placement_;
}

Aabb MeshData::modelBounds() const
{
    Aabb box;
    for (const gpu::Vertex& v : geometry.vertices)
        box.grow(v.position);
    return box;
}

void MeshData::syncSurfaces()
{
    const size_t groups = std::max<size_t>(1, geometry.groups.size());
    surfaces.resize(groups);
}

int MeshData::groupOfTriangle(std::uint32_t triangle) const
{
    const std::uint64_t index = std::uint64_t(triangle) * 3;
    for (size_t g = 0; g < geometry.groups.size(); ++g) {
        const gpu::MeshGroup& group = geometry.groups[g];
        if (index >= group.firstIndex && index < std::uint64_t(group.firstIndex) + group.indexCount)
            return static_cast<int>(g);
    }
    return 0;
}

} // namespace kl::scene
