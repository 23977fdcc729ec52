#include "scene/MeshRegistry.h"

namespace kl::scene {

std::vector<std::shared_ptr<MeshData>> MeshRegistry::live()
{
    std::vector<std::shared_ptr<MeshData>> alive;
    alive.reserve(meshes_.size());
    auto kept = meshes_.begin();
    for (auto& weak : meshes_) {
        if (auto mesh = weak.lock()) {
            alive.push_back(std::move(mesh));
            *kept++ = weak;
        }
    }
    meshes_.erase(kept, meshes_.end());
    return alive;
}

} // namespace kl::scene
