// One wrapper class per engine object: Init_ creates it, Render_ draws it,
// Kill_ releases it. Each is created on first use by the engine module and
// kept until shutdown.
#pragma once

#include "core/PlacedObjects.h"
#include "core/SceneSettings.h"

#include <korlith3d/KLMesh.h>
#include <korlith3d/types.h>

#include <QString>

#include <functional>
#include <memory>
#include <vector>

class KLCamera;
class KLEngine;
class KLInputEngine;
class KLLandscape;
class KLLightEngine;
class KLMaterialFactory;
class KLScene;
class KLScreen2D;
class KLScreenText;
class KLTextureFactory;

namespace landlume {

// Engine names of the resources the program creates.
inline const QString kTerrainTexture = QStringLiteral("Terrain_Texture");
inline const QString kDetailTexture = QStringLiteral("Detail_Texture");
inline const QString kBumpTexture = QStringLiteral("Bump_Texture");
inline const QString kLightmapTexture = QStringLiteral("LightMap");
inline const QString kLandMaterial = QStringLiteral("LandMat");
inline const QString kFpsFont = QStringLiteral("FontT8b");
inline constexpr std::int64_t kFpsColour = -13312;   // alpha 255, red 255, green 204, blue 0
inline constexpr float kMarkerHeight = 200.0f;

class ClsTextures {
public:
    ClsTextures();
    ~ClsTextures();
    void Init_Textures();
    void Kill_Textures();
    KLTextureFactory& factory();
    bool alive() const { return bool(factory_); }

private:
    std::unique_ptr<KLTextureFactory> factory_;
};

class ClsMaterials {
public:
    ClsMaterials();
    ~ClsMaterials();
    void Init_Materials();
    void Kill_Materials();
    bool alive() const { return bool(factory_); }

private:
    std::unique_ptr<KLMaterialFactory> factory_;
};

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

class ClsScreen2D {
public:
    ClsScreen2D();
    ~ClsScreen2D();
    void Init_Screen2D(SceneSettings& settings);
    void Kill_Screen2D();
    bool alive() const { return bool(screen_); }

private:
    std::unique_ptr<KLScreen2D> screen_;
};

class ClsFont {
public:
    ClsFont();
    ~ClsFont();
    void Init_Font();
    void Render_Font(qint32 framesPerSecond);
    void Kill_Font();
    bool alive() const { return bool(text_); }

private:
    std::unique_ptr<KLScreenText> text_;
};

// The one directional light, number 1, and its record.
class ClsLight {
public:
    ClsLight();
    ~ClsLight();
    void Init_Light(const D3DVECTOR& direction);
    // New direction, then `updateMarker` (the light marker follows), then Render_Light.
    void Change_Light(const D3DVECTOR& direction, const std::function<void()>& updateMarker);
    void Render_Light();
    void Kill_Light();
    const D3DLIGHT8& record() const { return light_; }
    bool alive() const { return bool(lights_); }

private:
    std::unique_ptr<KLLightEngine> lights_;
    D3DLIGHT8 light_;
};

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

class ClsCamera {
public:
    ClsCamera();
    ~ClsCamera();
    void Init_Camera();
    void Render_Camera(const CameraState& camera);
    void Kill_Camera();
    bool alive() const { return bool(camera_); }

private:
    std::unique_ptr<KLCamera> camera_;
};

// Placed objects and the light marker.
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

// Keyboard and mouse of the 3D view.
class ClsInput {
public:
    ClsInput();
    ~ClsInput();
    void Init_Input();
    // F12 screenshot, then (camera on) keys, mouse pick once per press and mouse look.
    void Check_Input(KLEngine& engine, const KLScene& scene, SceneSettings& settings, const QString& screenshot,
                     const std::function<void()>& checkCollision);
    void Check_Movement(KLEngine& engine, const ClsLand& land, SceneSettings& settings);
    // The slot whose object name matches the kept pick, if it hit; -1 otherwise.
    int Check_Collision(const ClsObjects& objects, const SceneSettings& settings) const;
    void Kill_Input();
    bool alive() const { return bool(input_); }

private:
    std::unique_ptr<KLInputEngine> input_;
    bool buttonWasDown_ = false;
    KLCollisionResult pick_;
};

} // namespace landlume
