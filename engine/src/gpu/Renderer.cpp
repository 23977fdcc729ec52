#include "gpu/Renderer.h"

#include "gpu/BackgroundCache.h"
#include "gpu/DrawQueue.h"
#include "gpu/GlView.h"
#include "gpu/GpuResources.h"
#include "gpu/MeshPass.h"
#include "gpu/QuadPass.h"

#include <QElapsedTimer>

namespace kl::gpu {

// Coordinates the parts: the view owns the context and calls back here to
// make, free or forget the GL objects of the passes and caches.
struct Renderer::Impl final : GlView::Objects {
    GpuResources resources;
    MeshPass meshes;
    QuadPass quads;
    BackgroundCache background;
    DrawQueue queued;   // this frame's 3D items not drawn yet
    bool depthCleared = false;   // no 3D drawing since the frame's depth clear
    bool inFrame = false;
    QElapsedTimer presentClock;
    double lastFrameMs = 0.0;
    GlView view{*this};   // last: closed (freeing the objects above) before they go

    ~Impl() override { view.close(); }

    bool create(QOpenGLExtraFunctions& gl, QString& error) override
    {
        resources.setFunctions(&gl);
        meshes.create(gl);
        return quads.create(gl, error);
    }

    void free() override
    {
        resources.freeAll();
        meshes.free();
        quads.free();
        background.clear();
        forget();
    }

    void forget() override
    {
        resources.forget();
        meshes.forget();
        quads.forget();
        background.clear();
        queued.clear();
        inFrame = false;
    }

    // Drawing calls need an open frame and a current context.
    bool readyToDraw() { return inFrame && view.makeCurrent(); }

    void fail(const QString& error) { view.setError(error); }

    // Draws the collected 3D items in the queue's order. Called before anything
    // that must come after them: 2D drawing, present, freeing a resource.
    void drawQueued()
    {
        if (queued.empty())
            return;
        const FrameState frame = queued.frame();
        const std::vector<DrawItem> items = queued.take(depthCleared);
        depthCleared = false;
        if (!readyToDraw())
            return;
        view.bindFrame();
        QString error;
        meshes.draw(frame, items, resources, error);
        if (!error.isEmpty())
            fail(error);
    }
};

Renderer::Renderer() : impl_(std::make_unique<Impl>()) {}
Renderer::~Renderer() = default;

bool Renderer::attach(WId pictureBox, QString& error)
{
    QWidget* widget = QWidget::find(pictureBox);
    if (!widget) {
        error = QStringLiteral("No window with handle %1").arg(pictureBox);
        impl_->fail(error);
        return false;
    }
    return attach(widget, error);
}

bool Renderer::attach(QWidget* pictureBox, QString& error)
{
    Impl& d = *impl_;
    if (!pictureBox) {
        error = QStringLiteral("No window to render into");
        d.fail(error);
        return false;
    }
    if (!d.view.open(pictureBox)) {
        error = d.view.error();
        return false;
    }
    // Uncovered or resized: show the last frame again.
    QObject::connect(d.view.window(), &GlWindow::exposed, d.view.window(), [&d] {
        if (d.view.frame() && !d.inFrame && d.view.makeCurrent())
            d.view.showFrame();
    });
    error.clear();
    return true;
}

void Renderer::detach()
{
    impl_->queued.clear();
    impl_->view.close();
}

bool Renderer::isAttached() const { return impl_->view.isOpen(); }

QSize Renderer::viewportSize() const { return impl_->view.viewSize(); }

bool Renderer::beginFrame(const glm::vec4& clearColour, bool clearDepth)
{
    Impl& d = *impl_;
    d.inFrame = false;
    d.queued.clear();   // items of a frame never presented
    if (!d.view.makeCurrent() || !d.view.ensureFrame())
        return false;
    d.resources.endFrame();
    d.view.bindFrame();
    QOpenGLExtraFunctions& gl = *d.view.functions();
    gl.glClearColor(clearColour.r, clearColour.g, clearColour.b, 1.0f);
    gl.glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    GLbitfield mask = GL_COLOR_BUFFER_BIT;
    if (clearDepth) {
        gl.glDepthMask(GL_TRUE);
        gl.glClearDepthf(1.0f);
        mask |= GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT;
    }
    gl.glClear(mask);
    gl.glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_FALSE);
    d.depthCleared = clearDepth;
    d.inFrame = true;
    return true;
}

void Renderer::drawBackground(const TextureData& picture)
{
    Impl& d = *impl_;
    d.drawQueued();
    if (!d.readyToDraw())
        return;
    d.background.draw(picture, d.view, d.quads, d.resources);
}

void Renderer::drawItems(const FrameState& frame, std::span<const DrawItem> items, bool sortBlended)
{
    Impl& d = *impl_;
    if (items.empty() || !d.inFrame)
        return;
    if (!d.queued.accepts(frame))
        d.drawQueued();   // another camera or lights: what came before is drawn with its own
    d.queued.add(frame, items, sortBlended);
}

void Renderer::drawQuad2D(const Quad2D& quad)
{
    Impl& d = *impl_;
    d.drawQueued();
    if (!d.readyToDraw())
        return;
    d.view.bindFrame();
    d.quads.draw(quad, quad.texture ? d.resources.texture(*quad.texture) : 0, d.view.frameLogicalSize());
}

void Renderer::drawText(const QFont& font, const QString& text, int x, int y, std::uint32_t argb)
{
    Impl& d = *impl_;
    d.drawQueued();
    if (text.isEmpty() || !d.readyToDraw())
        return;
    d.view.bindFrame();
    const GpuTexture* t = d.resources.text(font, text);
    Quad2D quad;
    const auto w = float(t->size.width());
    const auto h = float(t->size.height());
    const glm::vec2 origin{float(x), float(y)};
    quad.position = {origin, origin + glm::vec2(w, 0), origin + glm::vec2(w, h), origin + glm::vec2(0, h)};
    quad.argb = {argb, argb, argb, argb};
    quad.blend = BlendMode::Alpha;
    d.quads.draw(quad, t->name, d.view.frameLogicalSize());
}

bool Renderer::present()
{
    Impl& d = *impl_;
    d.drawQueued();
    const bool hadFrame = d.inFrame;
    d.inFrame = false;
    if (!d.view.isOpen()) {
        d.fail(QStringLiteral("No render window"));
        return false;
    }
    if (!hadFrame)
        return d.view.hasValidContext();
    if (!d.view.makeCurrent())
        return false;
    d.view.showFrame();
    if (d.presentClock.isValid())
        d.lastFrameMs = double(d.presentClock.nsecsElapsed()) / 1.0e6;
    d.presentClock.restart();
    return true;
}

double Renderer::lastFrameMilliseconds() const { return impl_->lastFrameMs; }

QImage Renderer::grabFrame()
{
    Impl& d = *impl_;
    d.drawQueued();
    if (!d.view.frame() || !d.view.makeCurrent())
        return {};
    return d.view.readFrame();
}

bool Renderer::saveScreenshot(const QString& path, QString& error)
{
    const QImage frame = grabFrame();
    if (frame.isNull()) {
        error = QStringLiteral("No frame to save: %1").arg(impl_->view.error());
        return false;
    }
    if (!frame.save(path, "BMP")) {
        error = QStringLiteral("Could not write the screenshot to %1").arg(path);
        return false;
    }
    return true;
}

QString Renderer::glVersion() const { return impl_->view.glVersion(); }
QString Renderer::glRenderer() const { return impl_->view.glRenderer(); }
QString Renderer::lastError() const { return impl_->view.error(); }

void Renderer::setTextureFilter(TextureFilter filter)
{
    Impl& d = *impl_;
    // Without a current context the choice waits for the next objects made.
    const bool current = d.view.hasValidContext() && d.view.makeCurrent();
    d.meshes.setTextureFilter(filter, current);
}

void Renderer::setSwapInterval(int interval) { impl_->view.setSwapInterval(interval); }
int Renderer::windowSwapInterval() const { return impl_->view.windowSwapInterval(); }

void Renderer::release(ResourceId id)
{
    Impl& d = *impl_;
    d.drawQueued();   // queued items may point at what is freed
    if (id == 0 || !d.view.functions() || !d.view.makeCurrent())
        return;
    d.background.release(id);
    d.resources.release(id);
}

} // namespace kl::gpu
