#include "core/RenderBinding.h"

#include "gpu/Renderer.h"

namespace kl::core {

RenderBinding::RenderBinding() = default;

RenderBinding::~RenderBinding()
{
    detach();
}

bool RenderBinding::attach(std::uintptr_t window, int swapInterval, QString& error)
{
    detach();
    auto renderer = std::make_unique<gpu::Renderer>();
    renderer->setSwapInterval(swapInterval);
    if (!renderer->attach(static_cast<WId>(window), error))
        return false;
    view_ = QWidget::find(static_cast<WId>(window));
    renderer_ = std::move(renderer);
    clock.restart();
    return true;
}

void RenderBinding::detach()
{
    if (renderer_)
        renderer_->detach();
    renderer_.reset();
    view_ = nullptr;
    inFrame = false;
}

bool RenderBinding::isAttached() const
{
    return renderer_ && renderer_->isAttached();
}

QSize RenderBinding::viewportSize() const
{
    if (isAttached()) {
        const QSize size = renderer_->viewportSize();
        if (size.width() > 0 && size.height() > 0)
            return size;
    }
    return {640, 480};
}

void RenderBinding::release(gpu::ResourceId id)
{
    if (renderer_ && id != 0)
        renderer_->release(id);
}

} // namespace kl::core
