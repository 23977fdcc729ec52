// The engine behind Layerloom's preview area, and the only code of Layerloom
// that talks to the engine: start-up, showing a layer texture or the height
// map, the message shown while generating, the generation itself (layers
// handed to the landscape, then the texture written) and showing its result.
// An engine failure leaves a verb as a SceneError with the engine's number
// and description.
#pragma once

#include "core/TextureLayer.h"

#include <platform/RuntimeError.h>

#include <QImage>
#include <QString>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class KLEngine;
class KLLandscape;
class KLScene;
class KLScreen2D;
class KLTextureFactory;

namespace layerloom {

struct SceneError : platform::RuntimeError {
    using platform::RuntimeError::RuntimeError;
};

// One generation as it was asked of the engine.
struct GenerationRequest {
    QString heightMap;
    QString output;
    int resolution = 0;
    int layerCount = 0;
};

class LoomScene {
public:
    explicit LoomScene(QString programFolder);
    ~LoomScene();
    LoomScene(const LoomScene&) = delete;
    LoomScene& operator=(const LoomScene&) = delete;

    const QString& programFolder() const { return programFolder_; }

    // The engine in the window `windowId`, relative paths resolving against the
    // program folder. False when the window cannot be rendered into.
    bool start(std::uintptr_t windowId);
    // The engine without a view, for generation on the command line: layers,
    // height map and output as start() sets them up; nothing can be shown, so
    // only clearLayers, addLayer and generate may be called. Needs no display.
    void startWithoutView();
    bool started() const;

    // Loads `path` as the texture of that name (it stays loaded) and draws it
    // over the whole view.
    void showTexture(const QString& path);
    // Loads the height map as a texture and leaves the view empty (also when
    // the picture cannot be loaded; the failure is then thrown after).
    void showHeightMap(const QString& path);
    // "Please Wait Compiling..." in opaque yellow at (30, 100), on screen at once.
    void showCompilingMessage();

    // The landscape's layer list.
    void clearLayers();
    void addLayer(const TextureLayer& layer);
    // Generates the texture from the layers added; the file is written when it returns.
    void generate(const QString& heightMap, const QString& output, int resolution);
    // Loads the written texture, draws it over the whole view and releases it.
    void showGenerated(const QString& path);
    // Draws again what the view showed before the last compiling message.
    void restoreView();

    // Every generation asked for, in order (for checks).
    const std::vector<GenerationRequest>& generations() const { return generations_; }
    // Replaces the engine's generation (tests); empty restores it.
    using Generator = std::function<void(const GenerationRequest&)>;
    void setGenerator(Generator generator) { generator_ = std::move(generator); }
    // What the view shows: nothing, a loaded texture (by name) or a generated picture.
    enum class View { Empty, Texture, Generated };
    View view() const { return view_; }
    // Writes the view as last presented (checks).
    void saveView(const QString& path);

private:
    void drawWholeView(int textureId);
    void clearView();

    QString programFolder_;
    std::unique_ptr<KLEngine> engine_;
    std::unique_ptr<KLScene> scene_;
    std::unique_ptr<KLTextureFactory> textures_;
    std::unique_ptr<KLLandscape> landscape_;
    std::unique_ptr<KLScreen2D> screen2D_;
    int layerCount_ = 0;
    View view_ = View::Empty;
    QString viewTexture_;     // View::Texture: its name
    QImage viewPicture_;      // View::Generated: a copy, the texture being released
    std::vector<GenerationRequest> generations_;
    Generator generator_;
};

} // namespace layerloom
