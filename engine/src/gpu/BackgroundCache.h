// The background picture stretched to the view once per picture, revision and
// view size; each frame then only copies it in, which costs a fraction of
// drawing it.
#pragma once

#include "gpu/GpuResources.h"
#include "gpu/GlView.h"
#include "gpu/QuadPass.h"
#include "gpu/RenderTypes.h"

#include <QOpenGLFramebufferObject>

#include <memory>

namespace kl::gpu {

// Every call needs the context current.
class BackgroundCache {
public:
    // Covers the view's frame with the picture. A picture with id 0 is not
    // cached and is stretched straight into the frame.
    void draw(const TextureData& picture, GlView& view, QuadPass& quads, GpuResources& resources);
    // The picture's GPU copy was freed: stretch it again next time.
    void release(ResourceId id);
    // Deletes the stretched copy (or, with the context gone, drops it).
    void clear();

private:
    std::unique_ptr<QOpenGLFramebufferObject> stretched_;
    ResourceId id_ = 0;
    std::uint32_t revision_ = 0;
};

} // namespace kl::gpu
