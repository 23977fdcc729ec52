// The engine module: start-up, one pass of the frame loop and shutdown, and
// the verbs the windows use to change the scene. It is the only way the
// windows reach the engine; what it needs of the windows (sizing the lightmap
// window, the camera menu's tick, the panel) it asks through its hooks.
#pragma once

#include "core/MapFile.h"
#include "core/SceneSettings.h"
#include "ui/ClsCamera.h"
#include "ui/ClsFont.h"
#include "ui/ClsInput.h"
#include "ui/ClsLand.h"
#include "ui/ClsLight.h"
#include "ui/ClsMaterials.h"
#include "ui/ClsObjects.h"
#include "ui/ClsScene.h"
#include "ui/ClsScreen2D.h"
#include "ui/ClsTextures.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <memory>

namespace landlume {

struct EngineHooks {
    // SetLightmapSize: sizes the lightmap window, or warns and keeps the size.
    std::function<void(float width, float height)> setLightmapSize;
    // The tick mark of "Activate camera".
    std::function<void(bool ticked)> cameraTick;
    // Show_MeshInfo of an object slot.
    std::function<void(int slot)> showMeshInfo;
};

// Start-up stopped at a step; `message` names the file or the failing step.
struct StartError {
    QString message;
};

class MdEngine {
public:
    MdEngine(QString programFolder, EngineHooks hooks);
    ~MdEngine();
    MdEngine(const MdEngine&) = delete;
    MdEngine& operator=(const MdEngine&) = delete;

    const QString& programFolder() const { return programFolder_; }
    SceneSettings& settings() { return settings_; }
    const SceneSettings& settings() const { return settings_; }

    // ---- start-up, loop, shutdown ---------------------------------------------
    // Start-up into the view `window`, wrapper by wrapper; false with `error` set when
    // a step fails (a missing file, no 3D view).
    bool startEngine(std::uintptr_t window, StartError& error);
    // Start-up without a 3D view, for work on the command line: the same
    // textures, materials, scene, light, land and light marker as startEngine,
    // and none of the parts that draw or read the window (2D layer, fonts,
    // camera, input), so it needs no display and no OpenGL. False with
    // `error` set when a step fails.
    bool startWithoutView(StartError& error);
    // One pass of the loop; `pumpEvents` lets the window system run its events.
    void runFrame(const std::function<void()>& pumpEvents);
    // Shutdown in its order; safe to call twice.
    void stopEngine();
    // The steps shutdown ran, in order (for checks).
    const QStringList& shutdownSteps() const { return shutdownSteps_; }
    bool started() const { return bool(engine_); }

    // ---- the landscape --------------------------------------------------------
    // "Apply" under landscape settings: rebuild with the new values, objects
    // back on the ground, the marker over the new centre.
    void applyLand(qint32 width, qint32 height, float factorY);
    // "Load heightmap": rebuild from another picture with the current values.
    void loadHeightmap(const QString& path);
    // Rebuild with the current settings (the landscape without lightmap).
    void rebuildLand();
    // The engine part of "New scene" (settings, objects, land, light).
    void resetLand();
    // A map's landscape: the settings' heightmap, chunk counts and height
    // factor replaced, then the land rebuilt.
    void buildLandscape(const QString& heightmap, qint32 width, qint32 height, float factorY);
    float heightAt(float x, float z) const { return land_.height(x, z); }
    D3DVECTOR normalAt(float x, float z) const { return land_.normal(x, z); }
    KLLandscape* landscape() const { return land_.land(); }
    // The picture file as texture "LightMap" (the old one deleted first) and
    // on the land; throws when the engine cannot load it.
    void loadLightmapTexture(const QString& path);
    // The texture "LightMap" there is back on the land (after an alpha change).
    void reapplyLightmap();

    // ---- light ----------------------------------------------------------------
    void setShadowFlags(bool landShadows, bool objectShadows);
    void changeLight(const D3DVECTOR& direction);
    const D3DLIGHT8& lightRecord() const { return light_.record(); }
    const KLMesh& lightMarker() const { return objects_.marker(); }

    // ---- objects --------------------------------------------------------------
    // Init_Objects; false when the file type is not a model the program loads.
    bool placeObject(const QString& fileType, const PlacedObject& object);
    // The selected object (0 when none or when its slot no longer holds one).
    int selectedSlot() const;
    PlacedObject& record(int slot) { return objects_.record(slot); }
    KLMesh& objectMesh(int slot) { return objects_.mesh(slot); }
    int objectCount() const { return objects_.count(); }
    // Applies a record to the selected object's mesh (position, rotation, scale).
    void applyObject(const PlacedObject& object);
    // Turns every aligned object step by step, as the frame loop does once per
    // frame, until each lies on the ground within the alignment tolerance:
    // the scene as the view shows it once it has settled. Returns the steps
    // taken by the object that needed most.
    int settleAlignedObjects();

    // ---- map file -----------------------------------------------------------------
    MapScene mapScene() const;

    // ---- engine access for the bake and the view's resize -----------------------------
    KLScene& scene() { return scene_.scene(); }
    KLEngine* engine() const { return engine_.get(); }

private:
    void initVariables();
    // The start-up steps after the engine object exists; `withView` adds the
    // parts that draw into or read the window.
    bool startParts(bool withView, StartError& error);
    void checkCollision();
    void updateLightSpot();

    QString programFolder_;
    EngineHooks hooks_;
    SceneSettings settings_;
    std::unique_ptr<KLEngine> engine_;
    ClsTextures textures_;
    ClsMaterials materials_;
    ClsScene scene_;
    ClsScreen2D screen2D_;
    ClsFont font_;
    ClsLight light_;
    ClsLand land_;
    ClsCamera camera_;
    ClsInput input_;
    ClsObjects objects_;
    QStringList shutdownSteps_;
};

} // namespace landlume
