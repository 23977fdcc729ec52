// The engine behind the main window's preview, and the only code of Glazery
// that talks to the engine: start-up, the frame, the edited material, the test
// light, the textures, the preview objects and Shutdown. An engine failure
// leaves a verb as a SceneError with the engine's number and description.
#pragma once

#include "core/ObjectsList.h"
#include "core/SceneLayout.h"

#include <korlith3d/KLMesh.h>
#include <korlith3d/types.h>

#include <platform/RuntimeError.h>

#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>

class KLEngine;
class KLInputEngine;
class KLLightEngine;
class KLMaterialFactory;
class KLScene;
class KLScreen2D;
class KLTextureFactory;

namespace glazery {

// The four colour groups of the material, in the order of their panels.
enum class Group { Ambient, Diffuse, Specular, Emissive };

// A failed engine operation. Being a run-time error, it is skipped like any
// other by step-by-step handling.
struct SceneError : platform::RuntimeError {
    using platform::RuntimeError::RuntimeError;
};

// What steers the shown object during a frame.
struct ObjectSteering {
    bool viewDragActive = false; // the mouse went down in the preview
    bool autoSpin = false;
};

class PreviewScene {
public:
    explicit PreviewScene(QString programFolder);
    ~PreviewScene();
    PreviewScene(const PreviewScene&) = delete;
    PreviewScene& operator=(const PreviewScene&) = delete;

    const QString& programFolder() const { return programFolder_; }
    // Program folder joined with a path written with "\" (resolved case-blind).
    QString programFile(const QString& relative) const;

    // ---- start-up, in this order ------------------------------------------
    // Engine objects, the engine in the window `windowId`, the scene and its
    // camera, the input object. False when the window cannot be rendered into.
    bool start(std::uintptr_t windowId);
    // The test light "Lys".
    void createTestLight(const D3DLIGHT8& light);
    // The edited material "Mat1" and the background's white "BgMat".
    void createMaterials();
    // "Fabric", "Back" and the bump texture from the default pictures.
    void loadStartTextures();
    // The hidden background wall and the 2D background picture.
    void createBackground();

    // Between start-up and Shutdown.
    bool ready() const { return initialised_ && engine_ && scene_; }

    // ---- the frame ----------------------------------------------------------
    // Clears, moves the shown object, draws the background and the scene and
    // shows the picture. `pumpEvents` runs between the stages; when it answers
    // false (the program shut down meanwhile) the frame ends at once with false.
    bool renderFrame(const ObjectSteering& steering, const std::function<bool()>& pumpEvents);
    // Milliseconds the last frame took.
    float frameTime() const;
    bool escapeDown() const;
    void windowResized();

    // ---- material and light -------------------------------------------------
    void setMaterialGroup(Group group, const D3DCOLORVALUE& colour);
    void setMaterialPower(float power);
    void setLight(const D3DLIGHT8& light);
    void setLightDirection(const D3DVECTOR& direction);
    void enableLight(bool on);
    // The engine's own degrees to radians, as the test light's angles are given.
    static float toRadians(float degrees);

    // ---- textures -------------------------------------------------------------
    void loadBackTexture(const QString& file);
    void loadFabricTexture(const QString& file);
    // Loads the bump map under a new id.
    void loadBumpTexture(const QString& file);
    void deleteBumpTexture();
    // The 2D background picture from a path box ("<none>": the default floor).
    void setBackgroundPicture(const QString& boxText);

    // ---- preview objects ------------------------------------------------------
    // Loads the objects into the slots in order. An empty slot gets a new mesh
    // (named after the description, hidden unless it is the one on show);
    // a filled one takes the new model. Returns the failures, one line each.
    QStringList loadObjects(const QList<PreviewObject>& objects);
    // Loads one object into slot `slot`; throws SceneError.
    void loadObject(int slot, const PreviewObject& object);
    void setObjectScale(int slot, double scale);
    // Shows slot `slot` only; remembered before start-up too.
    void showObject(int slot);
    int shownObject() const { return shownObject_; }
    // The shown object back at the centre.
    void centreObject();
    void setSphereMapping(bool on);
    void setBumpMapping(bool on);

    // Releases the engine objects in Shutdown's order; errors are ignored.
    void release();

    // ---- read-only views for checks -------------------------------------------
    const KLMesh& previewMesh(int slot) const { return previewMeshes_.at(static_cast<size_t>(slot)); }
    int materialId() const { return materialId_; }
    int backgroundMaterialId() const { return backgroundMaterialId_; }
    int lightIndex() const { return lightIndex_; }
    int bumpTextureId() const { return bumpTextureId_; }
    bool engineInitialised() const;
    // Every engine object is gone.
    bool released() const;

private:
    KLMesh& mesh(int slot) { return previewMeshes_.at(static_cast<size_t>(slot)); }
    void loadModel(KLMesh& mesh, const QString& file);
    void prepareMesh(KLMesh& mesh, double scale);
    void moveShownObject(const ObjectSteering& steering);
    void showOnly(int slot);

    QString programFolder_;
    std::unique_ptr<KLEngine> engine_;
    std::unique_ptr<KLLightEngine> lights_;
    std::unique_ptr<KLMaterialFactory> materials_;
    std::unique_ptr<KLTextureFactory> textures_;
    std::unique_ptr<KLScreen2D> screen2D_;
    std::unique_ptr<KLScene> scene_;
    std::unique_ptr<KLInputEngine> input_;
    std::array<KLMesh, kPreviewSlotCount> previewMeshes_;
    KLMesh background_;

    int lightIndex_ = 0;
    int materialId_ = 0;
    int backgroundMaterialId_ = 0;
    int bumpTextureId_ = 0;
    int shownObject_ = 0;
    ObjectMotion motion_;
    bool initialised_ = false;
};

} // namespace glazery
