#include "DemoScene.h"

#include <korlith3d/KLGlobals.h>

#include <QDir>

namespace kldemo {

DemoScene::DemoScene(QWidget& pictureBox, const QString& programFolder) : engine_(std::make_unique<KLEngine>())
{
    engine_->PreInit(-1, -1, 0);
    if (!engine_->Init3DWindowedMode(std::uintptr_t(pictureBox.winId()), true))
        throw KLError(KLERR_NOT_INITIALISED, QStringLiteral("The 3D view could not be started"));
    engine_->SetSearchFolder(QDir(programFolder).absolutePath());
    engine_->ShowMouseCursor(true);
    engine_->SetTextureFilter(2, 0);

    scene_ = std::make_unique<KLScene>();
    scene_->SetShadeMode(2);
    camera_ = std::make_unique<KLCamera>();
    textures_ = std::make_unique<KLTextureFactory>();
    // The editor's order: Flake 1, Smoke 2, Flare 3, Bubble 4, Custom 5, then the rest.
    const char* const particles[][2] = {{"media/pFlake.dds", "Flake"}, {"media/pSmoke.dds", "Smoke"},
                                        {"media/pFlare.dds", "Flare"}, {"media/pBubble.dds", "Bubble"},
                                        {"media/pBubble.dds", "Custom"}};
    for (const auto& [file, name] : particles)
        textures_->LoadTexture(QString::fromLatin1(file), QString::fromLatin1(name), 128, 128, -1);
    const char* const others[][2] = {
        {"media/detail.jpg", "Detail"},       {"media/silver.jpg", "Silver"},      {"media/front.jpg", "Front"},
        {"media/right.jpg", "Right"},         {"media/top.jpg", "Top"},            {"media/bottom.jpg", "Bottom"},
        {"media/left.jpg", "Left"},           {"media/back.jpg", "Back"},          {"media/sky_gridup.jpg", "skyup"},
        {"media/sky_griddn.jpg", "skydn"},    {"media/sky_gridbk.jpg", "skylf"},   {"media/sky_gridrt.jpg", "skyft"},
        {"media/sky_gridlf.jpg", "skyrt"},    {"media/sky_gridft.jpg", "skybk"}};
    for (const auto& [file, name] : others)
        textures_->LoadTexture(QString::fromLatin1(file), QString::fromLatin1(name), -1, -1, 0);

    const KLGlobals globals;
    atmosphere_ = std::make_unique<KLAtmosphere>();
    atmosphere_->SetSkyBox(globals.GetTex("Front"), globals.GetTex("Back"), globals.GetTex("Left"),
                           globals.GetTex("Right"), globals.GetTex("Top"), globals.GetTex("Bottom"));
    atmosphere_->SetSkyBoxSize(1000.0f);
    atmosphere_->EnableSkyBox(true, false);

    pole_ = scene_->CreateMesh(QStringLiteral("Pole"));
    pole_.Load3DS(QDir(programFolder).absoluteFilePath(QStringLiteral("mesh/pole.3ds")), false, false, false, true, true);
    pole_.SetTexture(globals.GetTex("Silver"), -1);
    pole_.SetPosition(0, 30, 0);
    pole_.SetScale(0.5f, 0.5f, 0.5f);
    pole_.SetDepthBuffer(true, true);
    floor_ = scene_->CreateMesh(QStringLiteral("Floor"));
    floor_.Load3DS(QDir(programFolder).absoluteFilePath(QStringLiteral("mesh/floor.3ds")), false, false, false, true, true);
    floor_.SetTexture(globals.GetTex("Detail"), -1);
    floor_.SetPosition(0, 0, 0);
    floor_.SetDepthBuffer(true, true);
    floor_.Optimize();
}

DemoScene::~DemoScene()
{
    emitters_.clear();
}

void DemoScene::play(const EmitterSet& emitters, int alphaMode, std::uint32_t seed)
{
    emitters_.clear();
    for (const EmitterSettings& settings : emitters)
        if (settings.Enabled)
            emitters_.push_back(std::make_unique<Emitter>(settings, alphaMode, seed++));
}

void DemoScene::render()
{
    engine_->Clear();
    atmosphere_->RenderSkyBox();
    pole_.Render();
    floor_.Render();
    for (auto& emitter : emitters_)
        emitter->system().RenderParticles();
    engine_->RenderToScreen();
}

void DemoScene::update()
{
    for (auto& emitter : emitters_)
        emitter->system().UpdateParticles(KL_UPDATE_BOUNCE_ON_Y0_PLANE | KL_UPDATE_GENERATOR);
}

void DemoScene::update(float milliseconds)
{
    for (auto& emitter : emitters_)
        emitter->system().UpdateParticles(KL_UPDATE_BOUNCE_ON_Y0_PLANE | KL_UPDATE_GENERATOR, milliseconds);
}

} // namespace kldemo
