#include "core/Context.h"

#include "core/PathResolver.h"
#include "korlith3d/types.h"
#include "gpu/Renderer.h"

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
    rendering_.detach();
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
    return resolveMediaPath(path, searchFolder_);
}

gpu::Renderer& Context::requireRenderer(const QString& operation)
{
    if (!rendering_.isAttached())
        fail(KLERR_NOT_INITIALISED, QStringLiteral("%1: the engine is not initialised (call Init3DWindowedMode first)")
                                        .arg(operation));
    return *rendering_.renderer();
}

gpu::FrameState Context::frameState() const
{
    gpu::FrameState frame;
    frame.view = camera_.viewMatrix();
    frame.projection = camera_.projectionMatrix(rendering_.viewportSize());
    frame.eyePosition = camera_.eye;
    frame.ambient = scene_.ambient;
    frame.lights = resources_.lights.renderStates();
    if (!settings_.specular)
        for (gpu::LightState& light : frame.lights)
            light.specular = glm::vec4(0.0f);
    return frame;
}

} // namespace kl::core
