#include "ui/LoomScene.h"

#include <korlith3d/KLEngine.h>
#include <korlith3d/KLGlobals.h>
#include <korlith3d/KLLandscape.h>
#include <korlith3d/KLScene.h>
#include <korlith3d/KLScreen2D.h>
#include <korlith3d/KLTextureFactory.h>

#include <platform/Paths.h>

#include <algorithm>
#include <cmath>
#include <exception>

namespace layerloom {
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

// The texture factory's load with the window's arguments: the picture's own
// size, no colour key.
int loadWholeTexture(KLTextureFactory& textures, const QString& path)
{
    return textures.LoadTexture(path, path, -1, -1, -1);
}

std::uint32_t packed(const D3DCOLORVALUE& c)
{
    auto byte = [](float v) { return std::uint32_t(std::lround(std::clamp(v, 0.0f, 1.0f) * 255.0f)); };
    return byte(c.a) << 24 | byte(c.r) << 16 | byte(c.g) << 8 | byte(c.b);
}

const QString kRestoredTexture = QStringLiteral("Layerloom restored view");

} // namespace

LoomScene::LoomScene(QString programFolder)
    : programFolder_(std::move(programFolder))
{
}

LoomScene::~LoomScene() = default;

bool LoomScene::start(std::uintptr_t windowId)
{
    return engineCall([&] {
        engine_ = std::make_unique<KLEngine>();
        if (!engine_->Init3DWindowedMode(windowId, true))
            return false;
        engine_->SetSearchFolder(programFolder_);
        scene_ = std::make_unique<KLScene>();
        textures_ = std::make_unique<KLTextureFactory>();
        landscape_ = std::make_unique<KLLandscape>();
        screen2D_ = std::make_unique<KLScreen2D>();
        return true;
    });
}

void LoomScene::startWithoutView()
{
    engineCall([&] {
        engine_ = std::make_unique<KLEngine>();
        engine_->SetSearchFolder(programFolder_);
        landscape_ = std::make_unique<KLLandscape>();
    });
}

bool LoomScene::started() const
{
    return engine_ && screen2D_;
}

void LoomScene::drawWholeView(int textureId)
{
    const int width = engine_->GetViewportWidth();
    const int height = engine_->GetViewportHeight();
    engine_->Clear(false);
    screen2D_->DrawTexturedQuad(textureId, 0, 0, float(width), float(height), -1, -2, -2, -2, 0, 0, 1, 1);
    engine_->RenderToScreen();
}

void LoomScene::clearView()
{
    engine_->Clear(false);
    engine_->RenderToScreen();
}

void LoomScene::showTexture(const QString& path)
{
    engineCall([&] {
        loadWholeTexture(*textures_, path);
        drawWholeView(KLGlobals().GetTex(path));
        view_ = View::Texture;
        viewTexture_ = path;
    });
}

void LoomScene::showHeightMap(const QString& path)
{
    engineCall([&] {
        // The view is emptied whether or not the picture loads.
        std::exception_ptr loadFailure;
        try {
            loadWholeTexture(*textures_, path);
        } catch (const KLError&) {
            loadFailure = std::current_exception();
        }
        clearView();
        view_ = View::Empty;
        if (loadFailure)
            std::rethrow_exception(loadFailure);
    });
}

void LoomScene::showCompilingMessage()
{
    engineCall([&] {
        engine_->Clear(false);
        const D3DCOLORVALUE yellow = KLGlobals().DXColor(1, 1, 0, 1);
        scene_->DrawText(QStringLiteral("Please Wait Compiling..."), 30, 100, packed(yellow));
        engine_->RenderToScreen();
    });
}

void LoomScene::clearLayers()
{
    engineCall([&] { landscape_->ClearTextureLayers(); });
    layerCount_ = 0;
}

void LoomScene::addLayer(const TextureLayer& layer)
{
    engineCall([&] {
        landscape_->AddTextureLayer(layer.TexturePath, layer.AltitudeMin, layer.AltitudeMax, layer.BlendPower,
                                    layer.UScale, layer.VScale, 0.0f);
    });
    ++layerCount_;
}

void LoomScene::generate(const QString& heightMap, const QString& output, int resolution)
{
    const GenerationRequest request{heightMap, output, resolution, layerCount_};
    generations_.push_back(request);
    if (generator_) {
        generator_(request);
        return;
    }
    engineCall([&] { landscape_->GenerateTexture(heightMap, output, resolution); });
}

void LoomScene::showGenerated(const QString& path)
{
    engineCall([&] {
        loadWholeTexture(*textures_, path);
        drawWholeView(KLGlobals().GetTex(path));
        textures_->DeleteTexture(KLGlobals().GetTex(path));
        // Kept to draw the view again after a failed generation.
        viewPicture_ = QImage(platform::resolvePath(path, programFolder_));
        view_ = viewPicture_.isNull() ? View::Empty : View::Generated;
    });
}

void LoomScene::restoreView()
{
    engineCall([&] {
        switch (view_) {
        case View::Empty:
            clearView();
            break;
        case View::Texture:
            drawWholeView(KLGlobals().GetTex(viewTexture_));
            break;
        case View::Generated: {
            const int id = textures_->CreateTextureFromImage(viewPicture_, kRestoredTexture);
            drawWholeView(id);
            textures_->DeleteTexture(id);
            break;
        }
        }
    });
}

void LoomScene::saveView(const QString& path)
{
    engineCall([&] { engine_->SaveScreenshot(path); });
}

} // namespace layerloom
