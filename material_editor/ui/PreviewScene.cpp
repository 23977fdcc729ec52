#include "ui/PreviewScene.h"

#include "core/MaterialSettings.h"

#include <korlith3d/KLGlobals.h>

#include <platform/Paths.h>
#include <platform/RuntimeError.h>

namespace glazery {

PreviewScene::PreviewScene(QString programFolder)
    : programFolder_(std::move(programFolder))
{
}

PreviewScene::~PreviewScene()
{
    release();
}

QString PreviewScene::programFile(const QString& relative) const
{
    return platform::resolvePath(platform::joinPath(programFolder_, relative));
}

void PreviewScene::prepareMesh(int slot, double scale)
{
    KLMesh& mesh = previewMeshes.at(static_cast<size_t>(slot));
    mesh.SetScale(static_cast<float>(scale));
    mesh.SetTexture(KLGlobals().GetTex("Fabric"));
    mesh.SetMaterial(materialId);
    mesh.SetRenderOptions(true, 0, true, true);
    mesh.SetPosition(0, 50, 0);
}

void PreviewScene::loadModel(int slot, const QString& file)
{
    KLMesh& mesh = previewMeshes.at(static_cast<size_t>(slot));
    if (modelLoaderFor(file) == ModelLoader::DirectX) {
        mesh.LoadX(file, true, true);
    } else {
        mesh.Load3DS(file, true, true, false, true, true);
        mesh.Optimize();
    }
}

void PreviewScene::showOnly(int slot)
{
    for (KLMesh& mesh : previewMeshes)
        if (!mesh.IsNull())
            mesh.SetVisible(false);
    KLMesh& shown = previewMeshes.at(static_cast<size_t>(slot));
    if (!shown.IsNull())
        shown.SetVisible(true);
}

void PreviewScene::setSphereMapping(bool on)
{
    for (KLMesh& mesh : previewMeshes)
        if (!mesh.IsNull())
            mesh.SetSphereMapping(on, 0, true);
}

void PreviewScene::setBumpMapping(bool on)
{
    // Lighting of the scene is switched off while the bump light does the work.
    if (on)
        scene->SetLighting(false);
    for (KLMesh& mesh : previewMeshes)
        if (!mesh.IsNull())
            mesh.SetBumpMapping(on, bumpTextureId, lightIndex, -1, 5);
    if (!on)
        scene->SetLighting(true);
}

void PreviewScene::setBackgroundPicture(const QString& boxText)
{
    if (!screen2D)
        return;
    screen2D->SetBackgroundPicture(boxText == kNoFileText ? programFile(kDefaultBackFile) : boxText, -1);
}

void PreviewScene::windowResized()
{
    if (ready())
        engine->Resize();
}

void PreviewScene::release()
{
    // Shutdown order: 2D object, texture factory, material factory, scene (with
    // its meshes and the light engine), input object, engine. Errors are ignored.
    platform::StepByStep steps;
    steps.step([&] { screen2D.reset(); });
    steps.step([&] { textures.reset(); });
    steps.step([&] { materials.reset(); });
    steps.step([&] {
        background = KLMesh();
        previewMeshes.fill(KLMesh());
        scene.reset();
        lights.reset();
    });
    steps.step([&] { input.reset(); });
    steps.step([&] { engine.reset(); });
    initialised = false;
}

} // namespace glazery
