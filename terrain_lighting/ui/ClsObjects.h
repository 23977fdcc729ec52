// Placed objects and the light marker.
#pragma once

#include "core/PlacedObjects.h"

#include <korlith3d/KLMesh.h>
#include <korlith3d/types.h>

#include <QString>

#include <vector>

class KLScene;

namespace landlume {

class ClsLand;
struct SceneSettings;

// How far the light marker hangs above the land's centre.
inline constexpr float kMarkerHeight = 200.0f;

class ClsObjects {
public:
    ClsObjects();
    ~ClsObjects();
    // Loads and places one object; false (nothing changed) for another file
    // type. An engine failure throws after the new slot has been taken back.
    bool Init_Objects(KLScene& scene, const ClsLand& land, SceneSettings& settings, const QString& fileType,
                      const PlacedObject& object);
    void Render_Objects(const ClsLand& land, const SceneSettings& settings);
    void Kill_Objects();
    // One lean of `mesh` towards the ground's up direction; false once within the tolerance.
    static bool Align_Object(KLMesh& mesh, const ClsLand& land, float& lag);

    void Init_LightSpot(KLScene& scene, const ClsLand& land, const SceneSettings& settings);
    void Update_LightSpot(const ClsLand& land, const SceneSettings& settings);
    void Render_LightSpot();
    void Kill_LightSpot();

    // "New scene": no objects (the records keep their old slots).
    void clear(SceneSettings& settings);
    int count() const { return int(meshes_.size()) - 1; }
    KLMesh& mesh(int slot) { return meshes_.at(std::size_t(slot)); }
    PlacedObject& record(int slot) { return records_.at(std::size_t(slot)); }
    const PlacedObject& record(int slot) const { return records_.at(std::size_t(slot)); }
    int recordSlots() const { return int(records_.size()); }
    const KLMesh& marker() const { return spot_; }

private:
    std::vector<KLMesh> meshes_{KLMesh()};
    std::vector<PlacedObject> records_{PlacedObject{QString(), QString(), false, false, {}, {}, {0, 0, 0}}};
    KLMesh spot_;
    D3DMATRIX spotMatrix_;
};

} // namespace landlume
