// The landscape built from the heightmap, with its height and ground normal.
#pragma once

#include <korlith3d/types.h>

#include <memory>

class KLLandscape;

namespace landlume {

struct SceneSettings;

class ClsLand {
public:
    ClsLand();
    ~ClsLand();
    // Builds a new landscape from the settings' heightmap and chunk counts and
    // replaces the current one; sets the world extent and centre.
    void Init_Land(SceneSettings& settings);
    void Flush_Land();
    void Render_Land();
    void Kill_Land();
    float height(float x, float z) const;
    D3DVECTOR normal(float x, float z) const;
    KLLandscape* land() const { return land_.get(); }

private:
    std::unique_ptr<KLLandscape> land_;
};

} // namespace landlume
