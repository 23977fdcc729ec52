#include "gpu/BackgroundCache.h"

namespace kl::gpu {

void BackgroundCache::draw(const TextureData& picture, GlView& view, QuadPass& quads, GpuResources& resources)
{
    QOpenGLFramebufferObject* frame = view.frame();
    QOpenGLExtraFunctions* gl = view.functions();
    if (!frame || !gl)
        return;
    const QSizeF logicalSize = view.frameLogicalSize();
    const auto stretchIntoFrame = [&] {
        view.bindFrame();
        quads.stretch(resources.texture(picture), logicalSize);
    };
    if (picture.id == 0) {
        stretchIntoFrame();
        return;
    }
    const bool stale = !stretched_ || stretched_->size() != frame->size() || id_ != picture.id
                       || revision_ != picture.revision;
    if (stale) {
        stretched_ = std::make_unique<QOpenGLFramebufferObject>(frame->size());
        if (!stretched_->isValid()) {
            stretched_.reset();
            id_ = 0;
            stretchIntoFrame();
            return;
        }
        gl->glBindFramebuffer(GL_FRAMEBUFFER, stretched_->handle());
        gl->glViewport(0, 0, stretched_->width(), stretched_->height());
        gl->glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
        gl->glClearColor(0, 0, 0, 1);
        gl->glClear(GL_COLOR_BUFFER_BIT);
        gl->glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_FALSE);
        quads.stretch(resources.texture(picture), logicalSize);
        id_ = picture.id;
        revision_ = picture.revision;
    }
    // A full colour mask lets the copy be a plain memory copy.
    gl->glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    gl->glBindFramebuffer(GL_READ_FRAMEBUFFER, stretched_->handle());
    gl->glBindFramebuffer(GL_DRAW_FRAMEBUFFER, frame->handle());
    gl->glBlitFramebuffer(0, 0, stretched_->width(), stretched_->height(), 0, 0, frame->width(), frame->height(),
                          GL_COLOR_BUFFER_BIT, GL_NEAREST);
    view.bindFrame();
}

void BackgroundCache::release(ResourceId id)
{
    if (id == id_)
        id_ = 0;
}

void BackgroundCache::clear()
{
    stretched_.reset();
    id_ = 0;
}

} // namespace kl::gpu
