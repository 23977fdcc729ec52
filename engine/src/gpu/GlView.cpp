#include "gpu/GlView.h"

#include <QOffscreenSurface>

namespace kl::gpu {

bool GlView::open(QWidget* pictureBox)
{
    close();
    auto* window = new GlWindow(pictureBox, swapInterval_);   // owned through its container by the picture box
    window_ = window;
    window->container()->show();
    if (!createContext()) {
        const QString reason = error_;
        close();
        error_ = reason;
        return false;
    }
    return true;
}

void GlView::close()
{
    if (context_ && context_->isValid()) {
        // The picture box (and with it the window) may already be gone.
        QOffscreenSurface fallback;
        bool current = window_ && context_->makeCurrent(window_);
        if (!current) {
            fallback.setFormat(context_->format());
            fallback.create();
            current = context_->makeCurrent(&fallback);
        }
        if (current) {
            if (gl_)
                objects_.free();
            frame_.reset();
            context_->doneCurrent();
        }
    }
    forgetGl();
    context_.reset();
    if (window_) {
        QObject::disconnect(window_, nullptr, nullptr, nullptr);
        delete window_->container();   // deletes the window too
    }
    window_ = nullptr;
}

// GPU objects vanish with their context; drop our names without deleting.
void GlView::forgetGl()
{
    objects_.forget();
    frame_.reset();
    gl_ = nullptr;
}

int GlView::windowSwapInterval() const
{
    return window_ ? window_->format().swapInterval() : -1;
}

bool GlView::createContext()
{
    forgetGl();
    context_ = std::make_unique<QOpenGLContext>();
    context_->setFormat(window_->requestedFormat());
    if (!context_->create()) {
        error_ = QStringLiteral("Could not create an OpenGL context");
        context_.reset();
        return false;
    }
    const QSurfaceFormat got = context_->format();
    if (got.version() < qMakePair(3, 3) || got.profile() != QSurfaceFormat::CoreProfile) {
        error_ = QStringLiteral("OpenGL 3.3 core is not available (got %1.%2)")
                     .arg(got.majorVersion())
                     .arg(got.minorVersion());
        context_.reset();
        return false;
    }
    window_->create();
    if (!context_->makeCurrent(window_)) {
        error_ = QStringLiteral("Could not make the OpenGL context current");
        context_.reset();
        return false;
    }
    auto* f = context_->functions();
    version_ = QString::fromLatin1(reinterpret_cast<const char*>(f->glGetString(GL_VERSION)));
    rendererName_ = QString::fromLatin1(reinterpret_cast<const char*>(f->glGetString(GL_RENDERER)));
    gl_ = context_->extraFunctions();
    if (!objects_.create(*gl_, error_)) {
        objects_.free();
        forgetGl();
        context_.reset();
        return false;
    }
    return true;
}

bool GlView::makeCurrent()
{
    if (!window_) {
        error_ = QStringLiteral("No render window");
        return false;
    }
    if (!context_ || !context_->isValid()) {
        if (context_)
            error_ = QStringLiteral("The OpenGL context was lost");
        if (!createContext())
            return false;
    }
    if (!context_->makeCurrent(window_)) {
        error_ = QStringLiteral("Could not make the OpenGL context current");
        return false;
    }
    return true;
}

QSize GlView::framebufferSize() const
{
    if (!window_)
        return {};
    return window_->container()->size() * window_->devicePixelRatio();
}

QSizeF GlView::frameLogicalSize() const
{
    if (!frame_ || !window_)
        return {};
    return QSizeF(frame_->size()) / window_->devicePixelRatio();
}

QSize GlView::viewSize() const
{
    return window_ && window_->pictureBox() ? window_->pictureBox()->size() : QSize();
}

// The offscreen frame matches the view size; it keeps the last frame for
// screenshots and for showing again when the window is uncovered.
bool GlView::ensureFrame()
{
    const QSize size = framebufferSize().expandedTo(QSize(1, 1));
    if (frame_ && frame_->size() == size)
        return true;
    frame_ = std::make_unique<QOpenGLFramebufferObject>(size, QOpenGLFramebufferObject::Depth);
    if (!frame_->isValid()) {
        frame_.reset();
        error_ = QStringLiteral("Could not create the frame buffer");
        return false;
    }
    return true;
}

void GlView::bindFrame()
{
    gl_->glBindFramebuffer(GL_FRAMEBUFFER, frame_->handle());
    gl_->glViewport(0, 0, frame_->width(), frame_->height());
    // The frame is shown as an opaque surface: keep alpha at 1.
    gl_->glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_FALSE);
}

void GlView::showFrame()
{
    if (!frame_ || !window_ || !window_->isExposed())
        return;
    const QSize size = framebufferSize();
    gl_->glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    gl_->glBindFramebuffer(GL_READ_FRAMEBUFFER, frame_->handle());
    gl_->glBindFramebuffer(GL_DRAW_FRAMEBUFFER, context_->defaultFramebufferObject());
    gl_->glBlitFramebuffer(0, 0, frame_->width(), frame_->height(), 0, 0, size.width(), size.height(),
                           GL_COLOR_BUFFER_BIT, GL_NEAREST);
    context_->swapBuffers(window_);
}

QImage GlView::readFrame()
{
    if (!frame_)
        return {};
    const QSize size = frame_->size();
    QImage image(size, QImage::Format_RGBA8888);
    gl_->glBindFramebuffer(GL_FRAMEBUFFER, frame_->handle());
    gl_->glPixelStorei(GL_PACK_ALIGNMENT, 4);
    gl_->glReadPixels(0, 0, size.width(), size.height(), GL_RGBA, GL_UNSIGNED_BYTE, image.bits());
    return image.mirrored().convertToFormat(QImage::Format_RGB32);
}

} // namespace kl::gpu
