#include "ui/Wrappers.h"

#include "core/Alignment.h"
#include "core/Vectors.h"

#include <korlith3d/KLCamera.h>
#include <korlith3d/KLEngine.h>
#include <korlith3d/KLGlobals.h>
#include <korlith3d/KLInputEngine.h>
#include <korlith3d/KLLandscape.h>
#include <korlith3d/KLLightEngine.h>
#include <korlith3d/KLMaterialFactory.h>
#include <korlith3d/KLMath.h>
#include <korlith3d/KLScene.h>
#include <korlith3d/KLScreen2D.h>
#include <korlith3d/KLScreenText.h>
#include <korlith3d/KLTextureFactory.h>

#include <platform/RuntimeError.h>
#include <platform/TextRules.h>

#include <QDir>
#include <QFileInfo>

namespace landlume {

// ---- textures and materials -------------------------------------------------

ClsTextures::ClsTextures() = default;
ClsTextures::~ClsTextures() = default;

void ClsTextures::Init_Textures()
{
    factory_ = std::make_unique<KLTextureFactory>();
    factory_->SetMipMapping(true);
    factory_->LoadTexture(QStringLiteral("Textures\\Landscape\\colormap.bmp"), kTerrainTexture, -1, -1, 0);
    factory_->LoadTexture(QStringLiteral("Textures\\Landscape\\detailmap.bmp"), kDetailTexture, -1, -1, 0);
    factory_->LoadBumpTexture(QStringLiteral("Textures\\Landscape\\detailmap.bmp"), kBumpTexture, -1, 1.0f);
}

void ClsTextures::Kill_Textures() { factory_.reset(); }

KLTextureFactory& ClsTextures::factory()
{
    if (!factory_)
        factory_ = std::make_unique<KLTextureFactory>();
    return *factory_;
}

ClsMaterials::ClsMaterials() = default;
ClsMaterials::~ClsMaterials() = default;

void ClsMaterials::Init_Materials()
{
    factory_ = std::make_unique<KLMaterialFactory>();
    factory_->CreateMaterial(kLandMaterial);
    const int id = KLGlobals().GetMat(kLandMaterial);
    factory_->SetAmbient(id, 0.2f, 0.2f, 0.2f, 1.0f);
    factory_->SetDiffuse(id, 0.5f, 0.5f, 0.5f, 1.0f);
    factory_->SetPower(id, 10.0f);
}

void ClsMaterials::Kill_Materials() { factory_.reset(); }

// ---- scene, 2D, font ----------------------------------------------------------

ClsScene::ClsScene() = default;
ClsScene::~ClsScene() = default;

void ClsScene::Init_Scene()
{
    scene_ = std::make_unique<KLScene>();
    scene_->SetColor(0.79f, 0.89f, 1.0f);
}

void ClsScene::Kill_Scene() { scene_.reset(); }

KLScene& ClsScene::scene()
{
    if (!scene_)
        scene_ = std::make_unique<KLScene>();
    return *scene_;
}

ClsScreen2D::ClsScreen2D() = default;
ClsScreen2D::~ClsScreen2D() = default;

void ClsScreen2D::Init_Screen2D(SceneSettings& settings)
{
    screen_ = std::make_unique<KLScreen2D>();
    settings.shadowCoordinates.assign(1, D3DVECTOR{});
}

void ClsScreen2D::Kill_Screen2D() { screen_.reset(); }

ClsFont::ClsFont() = default;
ClsFont::~ClsFont() = default;

void ClsFont::Init_Font()
{
    text_ = std::make_unique<KLScreenText>();
    text_->CreateFont(QStringLiteral("FontA8b"), QStringLiteral("Arial"), 8, true, false, false, false);
    text_->CreateFont(kFpsFont, QStringLiteral("Tahoma"), 8, true, false, false, false);
}

void ClsFont::Render_Font(qint32 framesPerSecond)
{
    text_->DrawText(kFpsFont, platform::cstrInteger(framesPerSecond) + QStringLiteral(" FPS"), 10, 10, kFpsColour);
}

void ClsFont::Kill_Font() { text_.reset(); }

// ---- light ---------------------------------------------------------------------

ClsLight::ClsLight() = default;
ClsLight::~ClsLight() = default;

void ClsLight::Init_Light(const D3DVECTOR& direction)
{
    lights_ = std::make_unique<KLLightEngine>();
    const KLGlobals globals;
    light_ = D3DLIGHT8{};
    light_.Type = D3DLIGHT_DIRECTIONAL;
    light_.Diffuse = globals.DXColor(1.0f, 1.0f, 1.0f, 1.0f);
    light_.Ambient = globals.DXColor(0.7f, 0.7f, 0.7f, 0.7f);
    light_.Direction = KLMath().VNormalize(globals.Vector3(direction.x, direction.y, direction.z));
    // The returned number is not kept: the light is number 1 from here on.
    lights_->CreateLight(light_, QStringLiteral("Light"), false);
}

void ClsLight::Change_Light(const D3DVECTOR& direction, const std::function<void()>& updateMarker)
{
    light_.Direction = KLMath().VNormalize(KLGlobals().Vector3(direction.x, direction.y, direction.z));
    updateMarker();
    Render_Light();
}

void ClsLight::Render_Light() { lights_->UpdateLight(1, light_); }

void ClsLight::Kill_Light() { lights_.reset(); }

// ---- land ----------------------------------------------------------------------

ClsLand::ClsLand() = default;
ClsLand::~ClsLand() = default;

void ClsLand::Init_Land(SceneSettings& settings)
{
    land_ = std::make_unique<KLLandscape>();
    land_->SetHeightFactor(settings.factorY);
    land_->GenerateTerrain(settings.heightmap, 4, settings.width, settings.height, 0.0f, 0.0f, 0.0f);
    const KLGlobals globals;
    land_->SpreadTexture(globals.GetTex(kTerrainTexture), 0, 0, platform::cint(settings.width),
                         platform::cint(settings.height), false);
    land_->SetMaterial(globals.GetMat(kLandMaterial), -1, 0);
    land_->SetDetailTexture(globals.GetTex(kDetailTexture));
    land_->SetDetailTiling(5.0f, 5.0f, -1);
    settings.landWidth = float(platform::clng(double(settings.width) * kChunkSize));
    settings.landHeight = float(platform::clng(double(settings.height) * kChunkSize));
    const float cx = settings.landWidth / 2.0f;
    const float cz = settings.landHeight / 2.0f;
    settings.landCentre = D3DVECTOR{cx, height(cx, cz), cz};
}

void ClsLand::Flush_Land()
{
    if (land_)
        land_->DestroyTerrain();
    land_.reset();
}

void ClsLand::Render_Land()
{
    if (land_)
        land_->Render(true, false);
}

void ClsLand::Kill_Land() { land_.reset(); }

float ClsLand::height(float x, float z) const { return land_ ? land_->GetHeight(x, z) : 0.0f; }

D3DVECTOR ClsLand::normal(float x, float z) const
{
    return land_ ? land_->GetNormal(x, z) : D3DVECTOR{0.0f, -1.0f, 0.0f};
}

// ---- camera ----------------------------------------------------------------------

ClsCamera::ClsCamera() = default;
ClsCamera::~ClsCamera() = default;

void ClsCamera::Init_Camera()
{
    camera_ = std::make_unique<KLCamera>();
    camera_->SetPosition(50.0f, 0.0f, 50.0f);
    camera_->SetProjection(60.0f, 30000.0f, 1.0f);
}

void ClsCamera::Render_Camera(const CameraState& camera)
{
    camera_->SetPosition(camera.position.x, camera.position.y, camera.position.z);
    camera_->SetLookAt(camera.lookAt.x, camera.lookAt.y, camera.lookAt.z);
}

void ClsCamera::Kill_Camera() { camera_.reset(); }

// ---- objects and the light marker -------------------------------------------------

ClsObjects::ClsObjects() = default;
ClsObjects::~ClsObjects() = default;

bool ClsObjects::Init_Objects(KLScene& scene, const ClsLand& land, SceneSettings& settings, const QString& fileType,
                              const PlacedObject& object)
{
    const ModelKind kind = modelKind(fileType);
    if (kind == ModelKind::None)
        return false;
    const int slot = count() + 1;
    KLMesh mesh = scene.CreateMesh(QString());
    // A model that fails to load takes no slot: the store stays as it was.
    if (kind == ModelKind::X)
        mesh.LoadX(object.fileName, true, true);
    else
        mesh.Load3DS(object.fileName, true, true, false, true, true);
    settings.objectCount = float(slot);
    meshes_.push_back(mesh);
    if (int(records_.size()) <= slot)
        records_.resize(std::size_t(slot) + 1);

    mesh.SetName(objectName(slot));
    const D3DVECTOR& p = object.meshPosition;
    if (object.onLand)
        mesh.SetPosition(p.x, land.height(p.x, p.z), p.z);
    else
        mesh.SetPosition(p.x, p.y, p.z);
    mesh.SetRotation(object.meshRotation.x, object.meshRotation.y, object.meshRotation.z);
    mesh.SetScale(object.meshScale.x, object.meshScale.y, object.meshScale.z);
    mesh.SetMaterial(KLGlobals().GetMat(kLandMaterial), -1);
    mesh.SetLighting(true);

    PlacedObject& record = records_[std::size_t(slot)];
    record = object;
    record.objectName = objectName(slot);
    settings.selectedObject = float(slot);
    return true;
}

void ClsObjects::Render_Objects(const ClsLand& land, const SceneSettings& settings)
{
    const int last = std::min(slotIndex(settings.objectCount), count());
    for (int i = 1; i <= last; ++i) {
        if (records_[std::size_t(i)].aligned) {
            float lag = 0.0f;
            Align_Object(meshes_[std::size_t(i)], land, lag);
        }
        meshes_[std::size_t(i)].Render();
    }
}

void ClsObjects::Kill_Objects() { meshes_.resize(1); }

bool ClsObjects::Align_Object(KLMesh& mesh, const ClsLand& land, float& lag)
{
    const D3DVECTOR p = mesh.GetPosition();
    D3DMATRIX m = mesh.GetRotationMatrix();
    if (!alignStep(m, land.normal(p.x, p.z), lag))
        return false;
    mesh.SetRotationMatrix(m);
    return true;
}

void ClsObjects::Init_LightSpot(KLScene& scene, const ClsLand& land, const SceneSettings& settings)
{
    spot_ = scene.CreateMesh(QString());
    spot_.LoadX(QStringLiteral("Models\\spot.x"), true, true);
    const D3DVECTOR& c = settings.landCentre;
    spot_.SetPosition(c.x, land.height(c.x, c.z) + kMarkerHeight, c.z);
    spot_.SetColor(1.0f, 0.0f, 0.0f, 1.0f, -1);
    spot_.SetLighting(true);
    Update_LightSpot(land, settings);
}

void ClsObjects::Update_LightSpot(const ClsLand& land, const SceneSettings& settings)
{
    spotMatrix_ = markerRotation(settings.lightDirection);
    const D3DVECTOR& c = settings.landCentre;
    spot_.SetPosition(c.x, land.height(c.x, c.z) + kMarkerHeight, c.z);
    spot_.SetRotationMatrix(spotMatrix_);
}

void ClsObjects::Render_LightSpot() { spot_.Render(); }

void ClsObjects::Kill_LightSpot() { spot_ = KLMesh(); }

void ClsObjects::clear(SceneSettings& settings)
{
    settings.objectCount = 0.0f;
    meshes_.resize(1);
}

// ---- input --------------------------------------------------------------------------

ClsInput::ClsInput() = default;
ClsInput::~ClsInput() = default;

void ClsInput::Init_Input() { input_ = std::make_unique<KLInputEngine>(); }

void ClsInput::Check_Input(KLEngine& engine, const KLScene& scene, SceneSettings& settings,
                           const QString& screenshot, const std::function<void()>& checkCollision)
{
    if (input_->KeyDown(KLK_F12)) {
        // A screenshot that cannot be written is skipped, not fatal.
        QDir().mkpath(QFileInfo(screenshot).absolutePath());
        platform::StepByStep().step([&] { engine.SaveScreenshot(screenshot); });
    }
    int x = 0;
    int y = 0;
    input_->GetMousePosition(x, y);
    // Movement is read every frame so that switching the camera on does not
    // turn the view by what the mouse did while it was off.
    const KLMouseState mouse = input_->GetMouseState();
    if (!settings.cameraActive)
        return;
    CameraInput keys;
    keys.forward = input_->KeyDown(KLK_W);
    keys.back = input_->KeyDown(KLK_S);
    keys.left = input_->KeyDown(KLK_A);
    keys.right = input_->KeyDown(KLK_D);
    keys.raise = input_->KeyDown(KLK_PRIOR);
    keys.lower = input_->KeyDown(KLK_NEXT);
    keys.mouseDx = mouse.dx;
    keys.mouseDy = mouse.dy;
    if (mouse.button1) {
        pick_ = scene.MousePick(x, y, KL_COLLIDE_MESHES, 1);
        if (!buttonWasDown_)
            checkCollision();
        buttonWasDown_ = true;
    } else {
        buttonWasDown_ = false;
    }
    applyCameraInput(settings.camera, keys);
}

void ClsInput::Check_Movement(KLEngine& engine, const ClsLand& land, SceneSettings& settings)
{
    checkMovement(
        settings.camera, [&] { return engine.GetFrameTime(); },
        [&](float x, float z) { return land.height(x, z); });
}

int ClsInput::Check_Collision(const ClsObjects& objects, const SceneSettings& settings) const
{
    if (!pick_.Hit)
        return -1;
    int selected = -1;
    const int last = std::min(slotIndex(settings.objectCount), objects.recordSlots() - 1);
    for (int i = 0; i <= last; ++i) {
        if (pick_.MeshName == objects.record(i).objectName)
            selected = i;
    }
    return selected;
}

void ClsInput::Kill_Input() { input_.reset(); }

} // namespace landlume
