#include "scene/MeshData.h"

#include <glm/gtc/matrix_transform.hpp>

namespace kl::scene {

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
