// The renderer bound to the tool's picture box: attaching and detaching it, the
// view and its size, the frame being built (open or not, text queued for it)
// and the frame timing.
#pragma once

#include "core/FrameClock.h"
#include "gpu/RenderTypes.h"

#include <QFont>
#include <QPointer>
#include <QSize>
#include <QString>
#include <QWidget>

#include <cstdint>
#include <memory>
#include <vector>

namespace kl::gpu {
class Renderer;
}

namespace kl::core {

// Text to draw over the frame when it is shown (KLScene::DrawText).
struct TextRequest {
    QFont font;
    QString text;
    int x = 0;
    int y = 0;
    std::uint32_t argb = 0xFFFFFFFFu;
};

class RenderBinding {
public:
    RenderBinding();
    ~RenderBinding();
    RenderBinding(const RenderBinding&) = delete;
    RenderBinding& operator=(const RenderBinding&) = delete;

    // Attaches a new renderer to the native window `window` (replacing any
    // earlier one); false with `error` set when that fails.
    bool attach(std::uintptr_t window, int swapInterval, QString& error);
    // Drops the renderer and its GPU copies; the frame is no longer open.
    void detach();
    // The renderer, null before attach.
    gpu::Renderer* renderer() { return renderer_.get(); }
    bool isAttached() const;
    QWidget* view() const { return view_; }
    // Size of the view in pixels; 640 x 480 while none is attached (so picks work headless).
    QSize viewportSize() const;
    // Frees one GPU copy, when a renderer exists (0 is ignored).
    void release(gpu::ResourceId id);

    // Between KLEngine::Clear and RenderToScreen.
    bool inFrame = false;
    std::vector<TextRequest> pendingText;
    FrameClock clock;

private:
    std::unique_ptr<gpu::Renderer> renderer_;
    QPointer<QWidget> view_;
};

} // namespace kl::core
