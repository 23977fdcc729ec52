#include "ui/EmberlyScene.h"

#include <korlith3d/KLAtmosphere.h>
#include <korlith3d/KLCamera.h>
#include <korlith3d/KLEngine.h>
#include <korlith3d/KLGlobals.h>
#include <korlith3d/KLInputEngine.h>
#include <korlith3d/KLMath.h>
#include <korlith3d/KLScene.h>
#include <korlith3d/KLTextureFactory.h>

#include <platform/Paths.h>

#include <QDir>

namespace emberly {

EmberlyScene::EmberlyScene(QString programFolder) : programFolder_(std::move(programFolder)) {}

EmberlyScene::~EmberlyScene()
{
    release();
}

QString EmberlyScene::debugFile() const
{
    return QDir(programFolder_).filePath(QStringLiteral("debug.txt"));
}

void EmberlyScene::createEngine()
{
    engine_ = std::make_unique<KLEngine>();
}

bool EmberlyScene::start(std::uintptr_t windowId)
{
    engine_->PreInit(-1, -1, 0);
    engine_->SetDebugFile(debugFile());
    if (!engine_->Init3DWindowedMode(windowId, true))
        return false;
    engine_->SetSearchFolder(programFolder_);
    engine_->ShowMouseCursor(true);
    engine_->SetTextureFilter(2, 0);
    return true;
}

void EmberlyScene::createInput()
{
    input_ = std::make_unique<KLInputEngine>();
}

bool EmberlyScene::initialised() const
{
    return engine_ && engine_->IsInitialised();
}

void EmberlyScene::setupScene()
{
    scene_ = std::make_unique<KLScene>();
    scene_->SetShadeMode(2);
    viewCamera_ = std::make_unique<KLCamera>();
    orbitCamera_ = std::make_unique<KLCamera>();
    textures_ = std::make_unique<KLTextureFactory>();
    loadTextures();
    atmosphere_ = std::make_unique<KLAtmosphere>();
    setSkyBox(false);
    atmosphere_->SetSkyBoxSize(1000.0f);
    atmosphere_->EnableSkyBox(true, false);
    pole_ = scene_->CreateMesh(QStringLiteral("Pole"));
    loadMesh(pole_, QStringLiteral("\\mesh\\pole.3ds"), QStringLiteral("Silver"));
    pole_.SetPosition(0, 30, 0);
    pole_.SetScale(0.5f, 0.5f, 0.5f);
    pole_.SetDepthBuffer(true, true);
    floor_ = scene_->CreateMesh(QStringLiteral("Floor"));
    loadMesh(floor_, QStringLiteral("\\mesh\\floor.3ds"), QStringLiteral("detail"));
    floor_.SetPosition(0, 0, 0);
    floor_.SetDepthBuffer(true, true);
    floor_.Optimize();
    // Where the camera starts: in front of the pole, a little above it.
    viewCamera_->SetPosition(0, 38, -85);
    viewCamera_->SetLookAt(0, 30, 0);
}

void EmberlyScene::loadTextures()
{
    for (const TextureEntry& entry : kStartTextures) {
        if (entry.particle)
            textures_->LoadTexture(QString::fromLatin1(entry.file), QString::fromLatin1(entry.name), 128, 128, -1);
        else
            textures_->LoadTexture(QString::fromLatin1(entry.file), QString::fromLatin1(entry.name), -1, -1, 0);
    }
}

void EmberlyScene::loadMesh(KLMesh& mesh, const QString& file, const QString& texture)
{
    mesh.Load3DS(platform::resolvePath(programFolder_ + file), false, false, false, true, true);
    // Texture names are looked up as written; "detail" finds "Detail" as the
    // engine's name lookup did without regard to case.
    mesh.SetTexture(textureId(texture), -1);
}

bool EmberlyScene::escapeDown()
{
    return input_ && input_->KeyDown(KLK_ESCAPE);
}

void EmberlyScene::beginFrame()
{
    engine_->Clear(false);
    atmosphere_->RenderSkyBox();
    pole_.Render();
    floor_.Render();
}

void EmberlyScene::present()
{
    engine_->RenderToScreen();
}

void EmberlyScene::updateCamera(bool autoRotate)
{
    const KLMath math;
    const int width = engine_->GetViewportWidth();
    const int height = engine_->GetViewportHeight();
    const D3DVECTOR polePosition = pole_.GetPosition();
    const float distance = math.VDistance(viewCamera_->GetPosition(), polePosition);
    const bool far = distance >= 300.0f;
    int x = 0, y = 0;
    input_->GetMousePosition(x, y);
    KLMouseState mouse;
    if (x > 0 && x < width && y > 0 && y < height) {
        mouse = input_->GetMouseState();
        if (mouse.button1)
            orbitCamera_->Orbit(0, float(mouse.dy) / 2, float(mouse.dx) / 2, true);
        else if (mouse.button2)
            orbitCamera_->Orbit(far ? 1.0f : -float(mouse.dy) / 2, 0, 0, true);
        if (mouse.wheel != lastWheel_) {
            const int old = lastWheel_;
            lastWheel_ = mouse.wheel;
            orbitCamera_->Orbit(far ? 1.0f : float(mouse.wheel - old) / 50, 0, 0, true);
        }
    }
    if (!mouse.button1 && !mouse.button2 && autoRotate) {
        const float turn = engine_->GetFrameTime() * 0.025f;
        orbitCamera_->Orbit(far ? 1.0f : 0.0f, 0, turn, true);
    }
    viewCamera_->Refresh();
    const D3DVECTOR eye = viewCamera_->GetPosition();
    if (eye.y < 2.0f) {
        viewCamera_->SetPosition(eye.x, 2.0f, eye.z);
        viewCamera_->SetLookAt(polePosition.x, polePosition.y, polePosition.z);
    }
}

void EmberlyScene::resize()
{
    if (engine_)
        engine_->Resize();
}

void EmberlyScene::setSkyBox(bool grid)
{
    const KLGlobals globals;
    if (grid)
        atmosphere_->SetSkyBox(globals.GetTex("skyft"), globals.GetTex("skybk"), globals.GetTex("skylf"),
                               globals.GetTex("skyrt"), globals.GetTex("skyup"), globals.GetTex("skydn"));
    else
        atmosphere_->SetSkyBox(globals.GetTex("Front"), globals.GetTex("Back"), globals.GetTex("Left"),
                               globals.GetTex("Right"), globals.GetTex("Top"), globals.GetTex("Bottom"));
}

int EmberlyScene::textureId(const QString& name) const
{
    // The names the program writes differ from the loaded ones in case only
    // ("detail"): an exact name wins, else a case-blind match. Looking first
    // keeps the expected miss out of the engine's error log.
    int caseBlind = 0;
    for (int id = 1; id <= int(std::size(kStartTextures)) + 64; ++id) {
        if (!textures_->TextureExists(id))
            continue;
        const QString loaded = textures_->GetTextureName(id);
        if (loaded == name)
            return id;
        if (caseBlind == 0 && loaded.compare(name, Qt::CaseInsensitive) == 0)
            caseBlind = id;
    }
    return caseBlind != 0 ? caseBlind : textures_->GetTextureId(name);
}

QString EmberlyScene::textureName(int id) const
{
    return textures_->GetTextureName(id);
}

int EmberlyScene::loadCustomTexture(const QString& file, std::int64_t colourKey)
{
    const QString custom = QStringLiteral("Custom");
    try {
        textures_->DeleteTexture(textures_->GetTextureId(custom));
    } catch (const KLError&) {
        // no "Custom" left to delete
    }
    return textures_->LoadTexture(file, custom, -1, -1, colourKey);
}

std::unique_ptr<ParticleSystemPort> EmberlyScene::createParticleSystem() const
{
    return makeEngineParticleSystem();
}

std::int32_t EmberlyScene::tickCount()
{
    return KLEngine::TickCount();
}

void EmberlyScene::log(const QString& line)
{
    if (engine_)
        engine_->WriteToLog(line);
}

void EmberlyScene::release()
{
    pole_ = KLMesh();
    floor_ = KLMesh();
    textures_.reset();
    input_.reset();
    atmosphere_.reset();
    viewCamera_.reset();
    orbitCamera_.reset();
    scene_.reset();
    engine_.reset();
}

} // namespace emberly
