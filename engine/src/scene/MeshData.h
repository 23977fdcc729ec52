// The state behind a KLMesh handle: geometry, placement and per-group surface.
#pragma once

#include "gpu/RenderTypes.h"
#include "scene/Bvh.h"

#include <QString>

#include <memory>
#include <optional>
#include <vector>

namespace kl::core {
class Context;
}

namespace kl::scene {

// What one group (subset) of a mesh is drawn with.
struct GroupSurface {
    int textureId = 0;                             // engine texture, 0 = none
    int materialId = 0;                            // engine material, 0 = own colours below
    gpu::MaterialColors ownColors;                 // the model file's material or white
    std::optional<glm::vec4> flatColor;            // SetColor: replaces diffuse and ambient
};

struct MeshData {
    MeshData() = default;
    MeshData(const MeshData&) = delete;
    MeshData& operator=(const MeshData&) = delete;
    // Frees the GPU copy of the geometry when the engine is still there.
    ~MeshData();

    std::weak_ptr<core::Context> context;
    QString name;
    QString sourceFile;

    gpu::MeshGeometry geometry;
    std::vector<GroupSurface> surfaces;   // one per geometry group (at least one)

    glm::vec3 position{0.0f};
    glm::vec3 rotationDegrees{0.0f};
    glm::mat4 rotation{1.0f};             // column-vector convention
    glm::vec3 scale{1.0f};
    bool visible = true;

    bool sphereMap = false;
    int sphereTextureId = 0;
    bool bumpMap = false;
    int bumpTextureId = 0;
    int bumpLight = 1;
    float bumpStrength = 5.0f;

    int cullMode = 0;                     // 0 = the scene's choice, else 1 none, 2 back, 3 front
    bool lighting = true;
    int blendMode = 0;
    bool depthTest = true;
    bool depthWrite = true;
    bool useVertexColors = false;

    // Ray-test hierarchy in model space, rebuilt when the geometry revision changes.
    Bvh bvh;
    std::uint32_t bvhRevision = 0;


    glm::mat4 world() const;
    const Bvh& hierarchy();

    // World matrix, its inverse and the world-space bounds, cached until the
    // placement or geometry changes (ray tests ask for them constantly).
    struct Placement {
        glm::mat4 world{1.0f};
        glm::mat4 inverse{1.0f};
        Aabb worldBounds;
        bool invertible = false;
    };
    const Placement& placement();
    // Model-space bounds of the vertices.
    Aabb modelBounds() const;
    // Makes sure there is one surface per group.
    void syncSurfaces();
    // Group of the triangle with the given index (first index / 3).
    int groupOfTriangle(std::uint32_t triangle) const;

private:
    Placement placement_;
    glm::vec3 placedPosition_{0.0f};
    glm::mat4 placedRotation_{1.0f};
    glm::vec3 placedScale_{1.0f};
    std::uint32_t placedRevision_ = 0;
    bool placed_ = false;
};

} // namespace kl::scene
