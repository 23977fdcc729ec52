#include "ui/MdEngine.h"

#include "ui/EngineNames.h"

#include <korlith3d/KLEngine.h>
#include <korlith3d/KLGlobals.h>
#include <korlith3d/KLLandscape.h>
#include <korlith3d/KLMesh.h>
#include <korlith3d/KLScene.h>
#include <korlith3d/KLTextureFactory.h>

#include <platform/Paths.h>
#include <platform/RuntimeError.h>

namespace landlume {

MdEngine::MdEngine(QString programFolder, EngineHooks hooks)
    : programFolder_(std::move(programFolder)), hooks_(std::move(hooks)), settings_(defaultSettings(programFolder_))
{
}

MdEngine::~MdEngine() { stopEngine(); }

bool MdEngine::startEngine(std::uintptr_t window, StartError& error)
{
    engine_ = std::make_unique<KLEngine>();
    // The log lives in "Debug" under the working folder; without that folder
    // the program runs without a log rather than not at all.
    platform::StepByStep().step([&] { engine_->SetDebugFile(QStringLiteral("Debug\\Debug.txt")); });
    engine_->SetDeviceOptions(true, true, false);
    engine_->SetDetail(2, 0.8f);
    engine_->SetVerticalSync(true);
    if (!engine_->Init3DWindowedMode(window, true)) {
        error.message = QStringLiteral("The 3D view could not be started (OpenGL 3.3 is needed).");
        return false;
    }
    int width = 0;
    int height = 0;
    int depth = 0;
    engine_->GetViewportSize(width, height, depth);
    engine_->SetTextureFilter(1);
    engine_->SetSearchFolder(programFolder_);
    engine_->SetSpecularLighting(true);
    engine_->ShowMouseCursor(true);
    return startParts(true, error);
}

bool MdEngine::startWithoutView(StartError& error)
{
    engine_ = std::make_unique<KLEngine>();
    engine_->SetDeviceOptions(true, true, false);
    engine_->SetDetail(2, 0.8f);
    engine_->SetTextureFilter(1);
    engine_->SetSearchFolder(programFolder_);
    engine_->SetSpecularLighting(true);
    return startParts(false, error);
}

bool MdEngine::startParts(bool withView, StartError& error)
{
    initVariables();
    const bool ok = platform::runCaught(
        [&] {
            textures_.Init_Textures();
            materials_.Init_Materials();
            scene_.Init_Scene();
            if (withView) {
                screen2D_.Init_Screen2D(settings_);
                font_.Init_Font();
            }
            light_.Init_Light(settings_.lightDirection);
            land_.Init_Land(settings_);
            objects_.Init_LightSpot(scene_.scene(), land_, settings_);
            if (withView) {
                camera_.Init_Camera();
                input_.Init_Input();
            }
        },
        [&](const platform::RuntimeError& e) {
            error.message = QStringLiteral("Landlume cannot start: %1").arg(e.description);
        });
    return ok;
}

void MdEngine::initVariables()
{
    settings_ = defaultSettings(programFolder_);
    if (hooks_.setLightmapSize)
        hooks_.setLightmapSize(kDefaultLightmapSize, kDefaultLightmapSize);
    settings_.objectCount = 0.0f;
    settings_.generating = false;
    settings_.cameraActive = false;
    if (hooks_.cameraTick)
        hooks_.cameraTick(false);
}

void MdEngine::runFrame(const std::function<void()>& pumpEvents)
{
    engine_->Clear(false);
    if (pumpEvents)
        pumpEvents();
    // Events may have shut the engine down (the frame window was closed
    // inside a long action).
    if (!engine_)
        return;
    KLEngine::TickCount();
    updateFps(settings_, KLEngine::TickCount());
    land_.Render_Land();
    objects_.Render_Objects(land_, settings_);
    objects_.Render_LightSpot();
    font_.Render_Font(settings_.framesPerSecond);
    input_.Check_Input(*engine_, scene_.scene(), settings_,
                       platform::joinPath(programFolder_, QStringLiteral("Screenshots/Shot.bmp")),
                       [this] { checkCollision(); });
    input_.Check_Movement(*engine_, land_, settings_);
    camera_.Render_Camera(settings_.camera);
    engine_->RenderToScreen();
}

void MdEngine::checkCollision()
{
    const int slot = input_.Check_Collision(objects_, settings_);
    if (slot < 0)
        return;
    settings_.selectedObject = float(slot);
    if (hooks_.showMeshInfo)
        hooks_.showMeshInfo(slot);
}

void MdEngine::stopEngine()
{
    if (!engine_)
        return;
    const auto step = [this](const char* name, auto&& action) {
        platform::StepByStep().step(action);
        shutdownSteps_ << QString::fromLatin1(name);
    };
    shutdownSteps_.clear();
    step("Kill_Textures", [&] { textures_.Kill_Textures(); });
    step("Kill_Scene", [&] { scene_.Kill_Scene(); });
    step("Kill_Materials", [&] { materials_.Kill_Materials(); });
    step("Kill_Land", [&] { land_.Kill_Land(); });
    step("Kill_Objects", [&] { objects_.Kill_Objects(); });
    step("Kill_LightSpot", [&] { objects_.Kill_LightSpot(); });
    step("Kill_Light", [&] { light_.Kill_Light(); });
    step("Kill_Screen2D", [&] { screen2D_.Kill_Screen2D(); });
    step("Kill_Font", [&] { font_.Kill_Font(); });
    step("Kill_Camera", [&] { camera_.Kill_Camera(); });
    step("Kill_Input", [&] { input_.Kill_Input(); });
    step("ShowMouseCursor", [&] { engine_->ShowMouseCursor(true); });
    step("Release engine", [&] { engine_.reset(); });
}

// ---- landscape ----------------------------------------------------------------

void MdEngine::applyLand(qint32 width, qint32 height, float factorY)
{
    settings_.width = width;
    settings_.height = height;
    settings_.factorY = factorY;
    land_.Flush_Land();
    land_.Init_Land(settings_);
    const int last = std::min(slotIndex(settings_.objectCount), objects_.count());
    for (int i = 1; i <= last; ++i) {
        const PlacedObject& object = objects_.record(i);
        KLMesh& mesh = objects_.mesh(i);
        const float x = object.meshPosition.x;
        const float z = object.meshPosition.z;
        mesh.SetPosition(x, land_.height(x, z), z);
        if (object.aligned) {
            float lag = 0.0f;
            ClsObjects::Align_Object(mesh, land_, lag);
        }
    }
    changeLight(settings_.lightDirection);
}

void MdEngine::loadHeightmap(const QString& path)
{
    settings_.heightmap = path;
    land_.Init_Land(settings_);
}

void MdEngine::rebuildLand() { land_.Init_Land(settings_); }

void MdEngine::buildLandscape(const QString& heightmap, qint32 width, qint32 height, float factorY)
{
    settings_.heightmap = heightmap;
    settings_.width = width;
    settings_.height = height;
    settings_.factorY = factorY;
    rebuildLand();
}

void MdEngine::loadLightmapTexture(const QString& path)
{
    KLTextureFactory& factory = textures_.factory();
    // The old texture goes first; there is none before the first lightmap.
    platform::StepByStep().step([&] { factory.DeleteTexture(KLGlobals().GetTex(kLightmapTexture)); });
    const int id = factory.LoadTexture(path, kLightmapTexture, -1, -1, 0);
    if (KLLandscape* land = land_.land())
        land->SetLightmap(id);
}

void MdEngine::reapplyLightmap()
{
    if (KLLandscape* land = land_.land())
        land->SetLightmap(KLGlobals().GetTex(kLightmapTexture));
}

void MdEngine::resetLand()
{
    resetSettings(settings_, programFolder_);
    objects_.clear(settings_);
    if (hooks_.setLightmapSize)
        hooks_.setLightmapSize(kDefaultLightmapSize, kDefaultLightmapSize);
    settings_.generating = false;
    settings_.cameraActive = false;
    if (hooks_.cameraTick)
        hooks_.cameraTick(false);
    land_.Init_Land(settings_);
    changeLight(settings_.lightDirection);
}

// ---- light ----------------------------------------------------------------------

void MdEngine::setShadowFlags(bool landShadows, bool objectShadows)
{
    settings_.landShadows = landShadows;
    settings_.objectShadows = objectShadows;
}

void MdEngine::changeLight(const D3DVECTOR& direction)
{
    settings_.lightDirection = direction;
    light_.Change_Light(direction, [this] { updateLightSpot(); });
}

void MdEngine::updateLightSpot() { objects_.Update_LightSpot(land_, settings_); }

// ---- objects ----------------------------------------------------------------------

bool MdEngine::placeObject(const QString& fileType, const PlacedObject& object)
{
    if (!objects_.Init_Objects(scene_.scene(), land_, settings_, fileType, object))
        return false;
    if (hooks_.showMeshInfo)
        hooks_.showMeshInfo(slotIndex(settings_.selectedObject));
    return true;
}

int MdEngine::selectedSlot() const
{
    const int slot = slotIndex(settings_.selectedObject);
    // After "New scene" the index may point past the objects: no selection.
    if (slot < 1 || slot > std::min(slotIndex(settings_.objectCount), objects_.count()))
        return 0;
    return slot;
}

void MdEngine::applyObject(const PlacedObject& object)
{
    const int slot = selectedSlot();
    if (slot == 0)
        return;
    PlacedObject& record = objects_.record(slot);
    record.aligned = object.aligned;
    record.onLand = object.onLand;
    record.meshPosition = object.meshPosition;
    record.meshRotation = object.meshRotation;
    record.meshScale = object.meshScale;
    if (object.onLand)
        record.meshPosition.y = land_.height(record.meshPosition.x, record.meshPosition.z);
    KLMesh& mesh = objects_.mesh(slot);
    mesh.SetPosition(record.meshPosition.x, record.meshPosition.y, record.meshPosition.z);
    mesh.SetRotation(record.meshRotation.x, record.meshRotation.y, record.meshRotation.z);
    mesh.SetScale(record.meshScale.x, record.meshScale.y, record.meshScale.z);
    if (hooks_.showMeshInfo)
        hooks_.showMeshInfo(slot);
}

int MdEngine::settleAlignedObjects()
{
    // Each step moves the up axis 1/100 of a unit: a few hundred steps reach
    // any target; the bound only guards against a target that keeps moving.
    constexpr int kMaxSteps = 10000;
    int most = 0;
    const int last = std::min(slotIndex(settings_.objectCount), objects_.count());
    for (int i = 1; i <= last; ++i) {
        if (!objects_.record(i).aligned)
            continue;
        int steps = 0;
        float lag = 0.0f;
        while (steps < kMaxSteps && ClsObjects::Align_Object(objects_.mesh(i), land_, lag)) {
            lag = 0.0f;
            ++steps;
        }
        most = std::max(most, steps);
    }
    return most;
}

MapScene MdEngine::mapScene() const
{
    MapScene map;
    map.heightmap = settings_.heightmap;
    map.width = settings_.width;
    map.height = settings_.height;
    map.factorY = settings_.factorY;
    map.lightmap = settings_.lightmap;
    map.texWidth = settings_.texWidth;
    map.texHeight = settings_.texHeight;
    map.alpha = settings_.alpha;
    const int last = std::min(slotIndex(settings_.objectCount), objects_.count());
    for (int i = 1; i <= last; ++i)
        map.objects.push_back(objects_.record(i));
    map.lightDirection = settings_.lightDirection;
    map.landShadows = settings_.landShadows;
    map.objectShadows = settings_.objectShadows;
    return map;
}

} // namespace landlume
