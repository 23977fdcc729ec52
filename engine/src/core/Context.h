// The engine context: one per process, created by KLEngine and shared by every
// engine object. Holds all CPU-side state and, after initialisation, the renderer.
#pragma once

#include "core/DebugLog.h"
#include "core/Stores.h"
#include "gpu/RenderTypes.h"
#include "image/TextureStore.h"
#include "korlith3d/types.h"

#include <QElapsedTimer>
#include <QFont>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <map>
#include <memory>
#include <vector>

namespace kl::gpu {
class Renderer;
}
namespace kl::scene {
struct MeshData;
}

namespace kl::core {

// The configuration calls the tools make, recorded.
struct EngineSettings {
    int requestedWidth = -1;
    int requestedHeight = -1;
    int colourDepth = 0;
    int textureFilter = 1;
    int anisotropy = 0;
    bool verticalSync = false;
    bool showCursor = true;
    bool hardware = true;
    bool depthBuffer = true;
    bool stencil = false;
    int detailLevel = 2;
    float detailDistance = 1.0f;
    bool specular = true;
    bool mipMapping = false;
    bool displayFps = false;
};

struct CameraState {
    glm::vec3 eye{0.0f, 0.0f, -10.0f};
    glm::vec3 target{0.0f};
    float fovDegrees = 45.0f;
    float nearPlane = 1.0f;
    float farPlane = 10000.0f;
};

struct SceneSettings {
    glm::vec4 clearColour{0.0f, 0.0f, 0.0f, 1.0f};
    glm::vec4 ambient{0.5f, 0.5f, 0.5f, 1.0f};
    int shadeMode = 2;
    int cullMode = 2;
    bool lighting = true;
    int depthMode = 2;
    double time = 0.0;   // scene time in milliseconds, advanced by KLScene::Update
};

struct TextRequest {
    QFont font;
    QString text;
    int x = 0;
    int y = 0;
    std::uint32_t argb = 0xFFFFFFFFu;
};

class Context {
public:
    Context();
    ~Context();
    Context(const Context&) = delete;
    Context& operator=(const Context&) = delete;

    // The live context, created when none exists (KLEngine).
    static std::shared_ptr<Context> acquire();
    // The live context; throws KLERR_NOT_INITIALISED when no KLEngine was made.
    static std::shared_ptr<Context> current();

    // Logs and throws.
    [[noreturn]] void fail(int number, const QString& description);
    void log(const QString& line) { log_.write(line); }
    DebugLog& debugLog() { return log_; }

    // Media path against the search folder (case-insensitive match).
    QString resolve(const QString& path) const;
    QString searchFolder;

    gpu::ResourceId newResourceId() { return nextResourceId_++; }

    EngineSettings settings;
    image::TextureStore textures;
    MaterialStore materials;
    LightStore lights;
    CameraState camera;
    SceneSettings scene;
    std::map<QString, QFont> fonts;
    gpu::TextureData background;
    bool hasBackground = false;
    std::vector<TextRequest> pendingText;

    // Meshes of the scene in creation order; a mesh leaves when its last handle goes.
    std::vector<std::weak_ptr<scene::MeshData>> meshes;
    std::vector<std::shared_ptr<scene::MeshData>> liveMeshes();

    // --- Rendering ---
    bool attach(std::uintptr_t window, QString& error);
    void detach();
    gpu::Renderer* renderer() { return renderer_.get(); }
    // The renderer, or throws KLERR_NOT_INITIALISED naming `operation`.
    gpu::Renderer& requireRenderer(const QString& operation);
    QWidget* view() const { return view_; }
    // Size of the view; 640 x 480 before initialisation (so picks work headless).
    QSize viewportSize() const;
    bool inFrame = false;
    int engineObjects = 0;   // live KLEngine objects

    // View and projection for the current camera and viewport (column-vector convention).
    glm::mat4 viewMatrix() const;
    glm::mat4 projectionMatrix() const;
    gpu::FrameState frameState() const;
    // Releases a GPU resource, if a renderer exists.
    void releaseResource(gpu::ResourceId id);

    // Frame timing.
    void framePresented(double milliseconds);
    double frameMilliseconds = 0.0;
    int framesThisSecond = 0;
    int fps = 0;
    QElapsedTimer fpsTimer;

private:
    DebugLog log_;
    gpu::ResourceId nextResourceId_ = 1;
    std::unique_ptr<gpu::Renderer> renderer_;
    QPointer<QWidget> view_;
};

} // namespace kl::core
