// The scene: the sky colour behind the land, mesh creation, picking and the
// ray tests of the bake.
#pragma once

#include <memory>

class KLScene;

namespace landlume {

class ClsScene {
public:
    ClsScene();
    ~ClsScene();
    void Init_Scene();
    void Kill_Scene();
    KLScene& scene();
    bool alive() const { return bool(scene_); }

private:
    std::unique_ptr<KLScene> scene_;
};

} // namespace landlume
