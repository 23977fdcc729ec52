#include "ui/PreviewScene.h"

#include "core/MaterialSettings.h"

#include <korlith3d/KLEngine.h>
#include <korlith3d/KLGlobals.h>
#include <korlith3d/KLInputEngine.h>
#include <korlith3d/KLLightEngine.h>
#include <korlith3d/KLMaterialFactory.h>
#include <korlith3d/KLMath.h>
#include <korlith3d/KLScene.h>
#include <korlith3d/KLScreen2D.h>
#include <korlith3d/KLTextureFactory.h>

#include <platform/Paths.h>

#include <algorithm>

namespace glazery {
namespace {

// Runs engine work; an engine failure leaves as SceneError.
template <class Work>
decltype(auto) engineCall(Work&& work)
{
    try {
        return std::forward<Work>(work)();
    } catch (const KLError& error) {
        throw SceneError(error.Number(), error.Description());
    }
}

const QString kTestLightName = QStringLiteral("Lys");
const QString kFabricTexture = QStringLiteral("Fabric");
const QString kBackTexture = QStringLiteral("Back");
const QString kBumpTexture = QStringLiteral("Bump");

} // namespace

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

bool PreviewScene::start(std::uintptr_t windowId)
{
    return engineCall([&] {
        engine_ = std::make_unique<KLEngine>();
        lights_ = std::make_unique<KLLightEngine>();
        materials_ = std::make_unique<KLMaterialFactory>();
        textures_ = std::make_unique<KLTextureFactory>();
        screen2D_ = std::make_unique<KLScreen2D>();

        engine_->PreInit(-1, -1, 0);
        engine_->SetDebugFile(programFile("debugfile.txt"));
        engine_->SetTextureFilter(1);
        engine_->SetVerticalSync(true);
        if (!engine_->Init3DWindowedMode(windowId, true))
            return false;
        engine_->ShowMouseCursor(true);
        engine_->SetSearchFolder(programFolder_);

        scene_ = std::make_unique<KLScene>();
        scene_->SetCamera(0, 50, -30, 0, 50, 0);
        scene_->SetShadeMode(2);
        scene_->SetFieldOfView(50.0f);
        scene_->SetCullMode(2);
        scene_->SetLighting(true);

        input_ = std::make_unique<KLInputEngine>();
        initialised_ = true;
        return true;
    });
}

void PreviewScene::createTestLight(const D3DLIGHT8& light)
{
    engineCall([&] { lightIndex_ = lights_->CreateLight(light, kTestLightName, false); });
}

void PreviewScene::createMaterials()
{
    engineCall([&] {
        materialId_ = materials_->CreateMaterial("Mat1");
        backgroundMaterialId_ = materials_->CreateMaterial("BgMat");
        materials_->SetAmbient(backgroundMaterialId_, 1, 1, 1, 1);
        materials_->SetDiffuse(backgroundMaterialId_, 1, 1, 1, 1);
        materials_->SetEmissive(backgroundMaterialId_, 1, 1, 1, 1);
    });
}

void PreviewScene::loadStartTextures()
{
    engineCall([&] {
        const QString fabric = programFile(kDefaultFabricFile);
        textures_->LoadTexture(fabric, kFabricTexture);
        textures_->LoadTexture(programFile(kDefaultBackFile), kBackTexture);
        bumpTextureId_ = textures_->LoadBumpTexture(fabric, kBumpTexture, -1, 1);
        textures_->SetMipMapping();
    });
}

void PreviewScene::createBackground()
{
    engineCall([&] {
        background_ = scene_->CreateMesh("Backg");
        background_.AddWall(KLGlobals().GetTex(kBackTexture), -200, 50, 200, 50, 400, 0, 8, 8, true, false);
        background_.SetPosition(0, -80, 0);
        background_.SetVisible(false);
        background_.SetMaterial(backgroundMaterialId_);
        screen2D_->SetBackgroundPicture(programFile(kDefaultBackFile), -1);
    });
}

bool PreviewScene::renderFrame(const ObjectSteering& steering, const std::function<bool()>& pumpEvents)
{
    return engineCall([&] {
        engine_->Clear(false);
        moveShownObject(steering);
        if (!pumpEvents())
            return false;
        screen2D_->BeginDraw();
        screen2D_->DrawBackground();
        screen2D_->EndDraw();
        if (!pumpEvents())
            return false;
        scene_->Update(1.0f);
        scene_->SetDepthMode(2);
        if (!pumpEvents())
            return false;
        scene_->RenderAll(true);
        if (!pumpEvents())
            return false;
        engine_->RenderToScreen();
        return true;
    });
}

void PreviewScene::moveShownObject(const ObjectSteering& steering)
{
    const KLMouseState m = input_->GetMouseState();
    MouseState mouse;
    mouse.dx = static_cast<float>(m.dx);
    mouse.dy = static_cast<float>(m.dy);
    mouse.button1 = m.button1;
    mouse.button2 = m.button2;
    mouse.button3 = m.button3;
    mouse.wheel = static_cast<float>(m.wheel);
    UpdateObjectMotion(motion_, mouse, engine_->GetFrameTime(), steering.viewDragActive, steering.autoSpin);
    KLMesh& shown = mesh(shownObject_);
    if (shown.IsNull())
        return;
    shown.SetPosition(motion_.position.x, motion_.position.y, motion_.position.z);
    shown.SetRotation(motion_.rotation.x, motion_.rotation.y, motion_.rotation.z);
}

float PreviewScene::frameTime() const
{
    return engineCall([&] { return engine_->GetFrameTime(); });
}

bool PreviewScene::escapeDown() const
{
    return engineCall([&] { return input_->KeyDown(KLK_ESCAPE); });
}

void PreviewScene::windowResized()
{
    if (ready())
        engineCall([&] { engine_->Resize(); });
}

void PreviewScene::setMaterialGroup(Group group, const D3DCOLORVALUE& c)
{
    if (!ready())
        return;
    engineCall([&] {
        switch (group) {
        case Group::Ambient: materials_->SetAmbient(materialId_, c.r, c.g, c.b, c.a); break;
        case Group::Diffuse: materials_->SetDiffuse(materialId_, c.r, c.g, c.b, c.a); break;
        case Group::Specular: materials_->SetSpecular(materialId_, c.r, c.g, c.b, c.a); break;
        case Group::Emissive: materials_->SetEmissive(materialId_, c.r, c.g, c.b, c.a); break;
        }
    });
}

void PreviewScene::setMaterialPower(float power)
{
    if (ready())
        engineCall([&] { materials_->SetPower(materialId_, power); });
}

void PreviewScene::setLight(const D3DLIGHT8& light)
{
    if (ready())
        engineCall([&] { lights_->UpdateLight(lightIndex_, light); });
}

void PreviewScene::setLightDirection(const D3DVECTOR& direction)
{
    if (ready())
        engineCall([&] { lights_->SetDirection(lightIndex_, direction); });
}

void PreviewScene::enableLight(bool on)
{
    if (ready())
        engineCall([&] { lights_->EnableLight(lightIndex_, on); });
}

float PreviewScene::toRadians(float degrees)
{
    return KLMath().Deg2Rad(degrees);
}

void PreviewScene::loadBackTexture(const QString& file)
{
    engineCall([&] { textures_->LoadTexture(file, kBackTexture); });
}

void PreviewScene::loadFabricTexture(const QString& file)
{
    engineCall([&] { textures_->LoadTexture(file, kFabricTexture); });
}

void PreviewScene::loadBumpTexture(const QString& file)
{
    engineCall([&] { bumpTextureId_ = textures_->LoadBumpTexture(file, kBumpTexture, -1, 1); });
}

void PreviewScene::deleteBumpTexture()
{
    engineCall([&] {
        if (textures_->TextureExists(bumpTextureId_))
            textures_->DeleteTexture(bumpTextureId_);
    });
}

void PreviewScene::setBackgroundPicture(const QString& boxText)
{
    if (!screen2D_)
        return;
    engineCall([&] {
        screen2D_->SetBackgroundPicture(boxText == kNoFileText ? programFile(kDefaultBackFile) : boxText, -1);
    });
}

QStringList PreviewScene::loadObjects(const QList<PreviewObject>& objects)
{
    QStringList failures;
    if (!ready())
        return failures;
    const auto count = std::min<qsizetype>(objects.size(), kPreviewSlotCount);
    for (int slot = 0; slot < count; ++slot) {
        try {
            loadObject(slot, objects[slot]);
        } catch (const SceneError& error) {
            failures << error.description;
        }
    }
    return failures;
}

void PreviewScene::loadObject(int slot, const PreviewObject& object)
{
    engineCall([&] {
        KLMesh& target = mesh(slot);
        const bool created = target.IsNull();
        try {
            if (created)
                target = scene_->CreateMesh(object.description);
            loadModel(target, resolveModelPath(object.fileName, programFolder_));
            if (created)
                target.SetCullMode(1);
            prepareMesh(target, object.scale);
            if (created && slot != shownObject_)
                target.SetVisible(false);
        } catch (const KLError&) {
            // A new mesh whose model failed is seen only when it is the one on show.
            if (created && !target.IsNull())
                target.SetVisible(slot == shownObject_);
            throw;
        }
    });
}

void PreviewScene::loadModel(KLMesh& target, const QString& file)
{
    if (modelLoaderFor(file) == ModelLoader::DirectX) {
        target.LoadX(file, true, true);
    } else {
        target.Load3DS(file, true, true, false, true, true);
        target.Optimize();
    }
}

void PreviewScene::prepareMesh(KLMesh& target, double scale)
{
    // Every preview mesh: its scale, texture "Fabric", the edited material,
    // lit and depth-tested, at the centre.
    target.SetScale(static_cast<float>(scale));
    target.SetTexture(KLGlobals().GetTex(kFabricTexture));
    target.SetMaterial(materialId_);
    target.SetRenderOptions(true, 0, true, true);
    target.SetPosition(0, 50, 0);
}

void PreviewScene::setObjectScale(int slot, double scale)
{
    KLMesh& target = mesh(slot);
    if (ready() && !target.IsNull())
        engineCall([&] { target.SetScale(static_cast<float>(scale)); });
}

void PreviewScene::showObject(int slot)
{
    shownObject_ = slot;
    if (ready())
        engineCall([&] { showOnly(slot); });
}

void PreviewScene::showOnly(int slot)
{
    for (KLMesh& each : previewMeshes_)
        if (!each.IsNull())
            each.SetVisible(false);
    KLMesh& shown = mesh(slot);
    if (!shown.IsNull())
        shown.SetVisible(true);
}

void PreviewScene::centreObject()
{
    motion_.position = {0, 50, 0};
}

void PreviewScene::setSphereMapping(bool on)
{
    if (!ready())
        return;
    engineCall([&] {
        for (KLMesh& each : previewMeshes_)
            if (!each.IsNull())
                each.SetSphereMapping(on, 0, true);
    });
}

void PreviewScene::setBumpMapping(bool on)
{
    if (!ready())
        return;
    engineCall([&] {
        // Lighting of the scene is switched off while the bump light does the work.
        if (on)
            scene_->SetLighting(false);
        for (KLMesh& each : previewMeshes_)
            if (!each.IsNull())
                each.SetBumpMapping(on, bumpTextureId_, lightIndex_, -1, 5);
        if (!on)
            scene_->SetLighting(true);
    });
}

void PreviewScene::release()
{
    // Shutdown order: 2D object, texture factory, material factory, scene (with
    // its meshes and the light engine), input object, engine. Errors are ignored.
    platform::StepByStep steps;
    steps.step([&] { screen2D_.reset(); });
    steps.step([&] { textures_.reset(); });
    steps.step([&] { materials_.reset(); });
    steps.step([&] {
        background_ = KLMesh();
        previewMeshes_.fill(KLMesh());
        scene_.reset();
        lights_.reset();
    });
    steps.step([&] { input_.reset(); });
    steps.step([&] { engine_.reset(); });
    initialised_ = false;
}

bool PreviewScene::engineInitialised() const
{
    return engine_ && engine_->IsInitialised();
}

bool PreviewScene::released() const
{
    return !engine_ && !lights_ && !materials_ && !textures_ && !screen2D_ && !scene_ && !input_;
}

} // namespace glazery
