#include "korlith3d/KLEngine.h"

#include "core/Context.h"
#include "gpu/Renderer.h"

#include <QDir>
#include <QFileInfo>

#include <chrono>
#include <dlfcn.h>

namespace {

QString withSlashes(QString path)
{
    path.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return path;
}

} // namespace

KLEngine::KLEngine() : context_(kl::core::Context::acquire())
{
    ++context_->engineObjects;
}

KLEngine::~KLEngine()
{
    // The last engine object closes the view and the log; resources held by
    // other objects stay valid until those are released.
    if (--context_->engineObjects == 0) {
        context_->rendering().detach();
        context_->debugLog().close();
    }
}

void KLEngine::SetDebugFile(const QString& path)
{
    const QString file = withSlashes(path);
    if (!context_->debugLog().open(file))
        throw KLError(KLERR_FILE_ACCESS, QStringLiteral("Cannot create debug file: %1").arg(path));
    context_->log(QStringLiteral("Korlith3D engine debug log"));
    context_->log(QStringLiteral("Engine library: %1").arg(GetDLLPath()));
}

void KLEngine::WriteToLog(const QString& line)
{
    context_->log(line);
}

void KLEngine::PreInit(int width, int height, int colourDepth)
{
    context_->settings().requestedWidth = width;
    context_->settings().requestedHeight = height;
    context_->settings().colourDepth = colourDepth;
}

namespace {

// Applies the recorded filter choice to the renderer's mesh textures.
void applyTextureFilter(kl::core::Context& context)
{
    if (kl::gpu::Renderer* renderer = context.rendering().renderer())
        renderer->setTextureFilter(static_cast<kl::gpu::TextureFilter>(context.settings().textureFilter));
}

} // namespace

void KLEngine::SetTextureFilter(int mode, int anisotropy)
{
    context_->settings().textureFilter = std::clamp(mode, 0, 2);
    context_->settings().anisotropy = std::max(0, anisotropy);
    applyTextureFilter(*context_);
}

void KLEngine::SetVerticalSync(bool on)
{
    context_->settings().verticalSync = on;
}

void KLEngine::ShowMouseCursor(bool on)
{
    context_->settings().showCursor = on;
    if (QWidget* view = context_->rendering().view())
        view->setCursor(on ? Qt::ArrowCursor : Qt::BlankCursor);
}

void KLEngine::SetDeviceOptions(bool hardware, bool depthBuffer, bool stencil)
{
    context_->settings().hardware = hardware;
    context_->settings().depthBuffer = depthBuffer;
    context_->settings().stencil = stencil;
}

void KLEngine::SetDetail(int level, float distanceScale)
{
    context_->settings().detailLevel = level;
    context_->settings().detailDistance = distanceScale;
}

void KLEngine::SetSpecularLighting(bool on)
{
    context_->settings().specular = on;
}

bool KLEngine::Init3DWindowedMode(std::uintptr_t window, bool hardware)
{
    context_->settings().hardware = hardware;
    QString error;
    const int swapInterval = context_->settings().verticalSync ? 1 : 0;
    if (!context_->rendering().attach(window, swapInterval, error)) {
        context_->log(QStringLiteral("Init3DWindowedMode failed for window %1: %2").arg(window).arg(error));
        return false;
    }
    applyTextureFilter(*context_);
    kl::gpu::Renderer* renderer = context_->rendering().renderer();
    const QSize size = context_->rendering().viewportSize();
    context_->log(QStringLiteral("OpenGL version: %1").arg(renderer->glVersion()));
    context_->log(QStringLiteral("OpenGL renderer: %1").arg(renderer->glRenderer()));
    context_->log(QStringLiteral("Window size: %1 x %2").arg(size.width()).arg(size.height()));
    if (!context_->settings().showCursor)
        ShowMouseCursor(false);
    return true;
}

bool KLEngine::IsInitialised() const
{
    return context_->rendering().isAttached();
}

void KLEngine::SetSearchFolder(const QString& folder)
{
    context_->setSearchFolder(QDir::cleanPath(withSlashes(folder)));
    context_->log(QStringLiteral("Search folder: %1").arg(context_->searchFolder()));
}

QString KLEngine::GetSearchFolder() const
{
    return context_->searchFolder();
}

void KLEngine::Clear(bool keepDepth)
{
    kl::gpu::Renderer& renderer = context_->requireRenderer(QStringLiteral("Clear"));
    context_->rendering().pendingText.clear();
    if (!renderer.beginFrame(context_->scene().clearColour, !keepDepth))
        context_->fail(KLERR_DEVICE_LOST, QStringLiteral("Clear: the OpenGL context was lost (%1)").arg(renderer.lastError()));
    context_->rendering().inFrame = true;
}

void KLEngine::RenderToScreen()
{
    kl::gpu::Renderer& renderer = context_->requireRenderer(QStringLiteral("RenderToScreen"));
    if (!context_->rendering().inFrame)
        Clear(false);
    for (const kl::core::TextRequest& text : context_->rendering().pendingText)
        renderer.drawText(text.font, text.text, text.x, text.y, text.argb);
    context_->rendering().pendingText.clear();
    if (context_->settings().displayFps) {
        QFont font(QStringLiteral("Sans"), 10);
        renderer.drawText(font, QStringLiteral("FPS: %1").arg(context_->rendering().clock.fps()), 5, 5, 0xFFFFFF00u);
    }
    context_->rendering().inFrame = false;
    if (!renderer.present())
        context_->fail(KLERR_DEVICE_LOST,
                       QStringLiteral("RenderToScreen: the OpenGL context was lost (%1)").arg(renderer.lastError()));
    context_->rendering().clock.framePresented(renderer.lastFrameMilliseconds());
}

void KLEngine::DisplayFPS(bool show)
{
    context_->settings().displayFps = show;
}

bool KLEngine::GetDisplayFPS() const
{
    return context_->settings().displayFps;
}

int KLEngine::GetFPS() const
{
    return context_->rendering().clock.fps();
}

int KLEngine::GetViewportWidth() const
{
    return context_->rendering().viewportSize().width();
}

int KLEngine::GetViewportHeight() const
{
    return context_->rendering().viewportSize().height();
}

void KLEngine::GetViewportSize(int& width, int& height, int& depth) const
{
    const QSize size = context_->rendering().viewportSize();
    width = size.width();
    height = size.height();
    depth = 32;
}

void KLEngine::Resize()
{
    int status = 0;
    Resize(status);
}

void KLEngine::Resize(int& status)
{
    // The GL view follows the picture box's size by itself; record the new size.
    const QSize size = context_->rendering().viewportSize();
    context_->log(QStringLiteral("Window resized: %1 x %2").arg(size.width()).arg(size.height()));
    status = 0;
}

float KLEngine::GetFrameTime() const
{
    return static_cast<float>(context_->rendering().clock.frameMilliseconds());
}

std::int32_t KLEngine::TickCount()
{
    using namespace std::chrono;
    const auto ms = duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(ms));
}

void KLEngine::SaveScreenshot(const QString& path)
{
    kl::gpu::Renderer& renderer = context_->requireRenderer(QStringLiteral("SaveScreenshot"));
    const QString file = context_->resolve(path);
    QString error;
    if (!renderer.saveScreenshot(file, error))
        context_->fail(KLERR_FILE_ACCESS, QStringLiteral("Cannot save screenshot %1: %2").arg(path, error));
}

QString KLEngine::GetDLLPath()
{
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&KLEngine::GetDLLPath), &info) == 0 || !info.dli_fname)
        return {};
    return QFileInfo(QString::fromLocal8Bit(info.dli_fname)).absoluteFilePath();
}
