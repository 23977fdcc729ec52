// The meshes of the scene in creation order. The registry does not own them:
// a mesh leaves when its last KLMesh handle goes.
#pragma once

#include <memory>
#include <vector>

namespace kl::scene {

struct MeshData;

class MeshRegistry {
public:
    void add(const std::shared_ptr<MeshData>& mesh) { meshes_.push_back(mesh); }
    // The meshes still alive, in creation order; forgets the others.
    std::vector<std::shared_ptr<MeshData>> live();
    // Every entry, expired ones included (ray tests skip those).
    const std::vector<std::weak_ptr<MeshData>>& entries() const { return meshes_; }

private:
    std::vector<std::weak_ptr<MeshData>> meshes_;
};

} // namespace kl::scene
