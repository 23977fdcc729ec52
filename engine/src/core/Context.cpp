#include "core/Context.h"

#include "core/PathResolver.h"
#include "gpu/Renderer.h"
#include "scene/MeshData.h"

#include <glm/gtc/matrix_transform.hpp>

#include <mutex>

namespace kl::core {
namespace {

std::weak_ptr<Context>& liveContext()
{
    static std::weak_ptr<Context> context;
    return context;
}

std::mutex& contextMutex()
{
    static std::mutex mutex;
    return mutex;
}

} // namespace

Context::Context() = default;

Context::~Context()
{
    detach();
}

std::shared_ptr<Context> Context::acquire()
{
    std::lock_guard lock(contextMutex());
    if (auto existing = liveContext().lock())
        return existing;
    auto context = std::make_shared<Context>();
    liveContext() = context;
    return context;
}

std::shared_ptr<Context> Context::current()
{
    std::lock_guard lock(contextMutex());
    if (auto existing = liveContext().lock())
        return existing;
    throw KLError(KLERR_NOT_INITIALISED, QStringLiteral("The engine has not been created (create KLEngine first)"));
}

void Context::fail(int number, const QString& description)
{
    log_.write(QStringLiteral("Error #%1 : %2").arg(number).arg(description));
    throw KLError(number, description);
}

QString Context::resolve(const QString& path) const
{
    return resolveMediaPath(path, searchFolder);
}

std::vector<std::shared_ptr<scene::MeshData>> Context::liveMeshes()
{
    std::vector<std::shared_ptr<scene::MeshData>> live;
    live.reserve(meshes.size());
    auto out = meshes.begin();
    for (auto& weak : meshes) {
        if (auto mesh = weak.lock()) {
            live.push_back(std::move(mesh));
            *out++ = weak;
        }
    }
    meshes.erase(out, meshes.end());
    return live;
}

bool Context::attach(std::uintptr_t window, QString& error)
{
    detach();
    auto renderer = std::make_unique<gpu::Renderer>();
    if (!renderer->attach(static_cast<WId>(window), error))
        return false;
    view_ = QWidget::find(static_cast<WId>(window));
    renderer_ = std::move(renderer);
    fpsTimer.start();
    return true;
}

void Context::detach()
{
    if (renderer_)
        renderer_->detach();
    renderer_.reset();
    view_ = nullptr;
    inFrame = false;
}

gpu::Renderer& Context::requireRenderer(const QString& operation)
{
    if (!renderer_ || !renderer_->isAttached())
        fail(KLERR_NOT_INITIALISED, QStringLiteral("%1: the engine is not initialised (call Init3DWindowedMode first)")
                                        .arg(operation));
    return *renderer_;
}

QSize Context::viewportSize() const
{
    if (renderer_ && renderer_->isAttached()) {
        const QSize size = renderer_->viewportSize();
        if (size.width() > 0 && size.height() > 0)
            return size;
    }
    return {640, 480};
}

glm::mat4 Context::viewMatrix() const
{
    glm::vec3 forward = camera.target - camera.eye;
    if (glm::dot(forward, forward) < 1e-12f)
        forward = glm::vec3(0.0f, 0.0f, 1.0f);
    glm::vec3 up(0.0f, 1.0f, 0.0f);
    const glm::vec3 f = glm::normalize(forward);
    if (std::abs(glm::dot(f, up)) > 0.9999f)
        up = glm::vec3(0.0f, 0.0f, 1.0f);
    return glm::lookAtLH(camera.eye, camera.eye + f, up);
}

glm::mat4 Context::projectionMatrix() const
{
    const QSize size = viewportSize();
    const float aspect = float(size.width()) / float(std::max(1, size.height()));
    const float fov = glm::radians(std::clamp(camera.fovDegrees, 1.0f, 179.0f));
    const float nearPlane = std::max(camera.nearPlane, 1e-4f);
    const float farPlane = std::max(camera.farPlane, nearPlane * 1.001f);
    return glm::perspectiveLH_NO(fov, aspect, nearPlane, farPlane);
}

gpu::FrameState Context::frameState() const
{
    gpu::FrameState frame;
    frame.view = viewMatrix();
    frame.projection = projectionMatrix();
    frame.eyePosition = camera.eye;
    frame.ambient = scene.ambient;
    frame.lights = lights.renderStates();
    if (!settings.specular)
        for (gpu::LightState& light : frame.lights)
            light.specular = glm::vec4(0.0f);
    return frame;
}

void Context::releaseResource(gpu::ResourceId id)
{
    if (renderer_ && id != 0)
        renderer_->release(id);
}

void Context::framePresented(double milliseconds)
{
    frameMilliseconds = milliseconds;
    ++framesThisSecond;
    if (!fpsTimer.isValid())
        fpsTimer.start();
    if (fpsTimer.elapsed() >= 1000) {
        fps = framesThisSecond;
        framesThisSecond = 0;
        fpsTimer.restart();
    }
}

} // namespace kl::core
