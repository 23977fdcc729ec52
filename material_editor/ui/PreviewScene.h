// The engine objects of the main window and the ids it keeps: the preview
// meshes, the test light, the edited material, the background. Created during
// start-up and released by Shutdown in a fixed order.
#pragma once

#include "core/ObjectsList.h"
#include "core/SceneLayout.h"

#include <korlith3d/KLEngine.h>
#include <korlith3d/KLInputEngine.h>
#include <korlith3d/KLLightEngine.h>
#include <korlith3d/KLMaterialFactory.h>
#include <korlith3d/KLMesh.h>
#include <korlith3d/KLScene.h>
#include <korlith3d/KLScreen2D.h>
#include <korlith3d/KLTextureFactory.h>

#include <QString>

#include <array>
#include <memory>

namespace glazery {

class PreviewScene {
public:
    static constexpr int MeshCountMinusOne = kPreviewSlotCount - 1;

    explicit PreviewScene(QString programFolder);
    ~PreviewScene();
    PreviewScene(const PreviewScene&) = delete;
    PreviewScene& operator=(const PreviewScene&) = delete;

    const QString& programFolder() const { return programFolder_; }
    // Program folder joined with a path written with "\" (resolved case-blind).
    QString programFile(const QString& relative) const;

    // Engine objects, present between start-up and Shutdown.
    std::unique_ptr<KLEngine> engine;
    std::unique_ptr<KLLightEngine> lights;
    std::unique_ptr<KLMaterialFactory> materials;
    std::unique_ptr<KLTextureFactory> textures;
    std::unique_ptr<KLScreen2D> screen2D;
    std::unique_ptr<KLScene> scene;
    std::unique_ptr<KLInputEngine> input;
    std::array<KLMesh, kPreviewSlotCount> previewMeshes;
    KLMesh background;

    int lightIndex = 0;
    int materialId = 0;
    int backgroundMaterialId = 0;
    int bumpTextureId = 0;
    int shownObject = 0;
    ObjectMotion motion;
    bool initialised = false;

    bool ready() const { return initialised && engine && scene; }

    // Scaling, texture "Fabric", the edited material, render options and the
    // centre position, as every preview mesh gets after a load.
    void prepareMesh(int slot, double scale);
    // Loads a model into slot `slot` with the loader its name asks for.
    // `file` is handed to the engine as given.
    void loadModel(int slot, const QString& file);
    void showOnly(int slot);
    void setSphereMapping(bool on);
    void setBumpMapping(bool on);

    // The 2D background picture from a path box ("<none>": the default floor).
    void setBackgroundPicture(const QString& boxText);
    void windowResized();

    // Releases the engine objects in Shutdown's order; errors are ignored.
    void release();

private:
    QString programFolder_;
};

} // namespace glazery
