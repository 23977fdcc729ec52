// The one place that orders a frame's 3D drawables — meshes, terrain, sky box
// and billboards alike. Items are collected as the caller renders them and drawn
// together when the frame needs them on screen (a 2D draw, present, a release):
//   1. the sky, never writing depth, so everything later draws over it;
//   2. opaque meshes and terrain, in the order they were rendered;
//   (when the depth buffer holds only its clear value and every opaque item
//   tests and writes depth, the sky moves after the opaque items and is drawn
//   at the far plane with the depth test: the same picture, but the sky is not
//   shaded where the scene covers it;)
//   3. blended items from the farthest to the nearest by view depth (ties and
//      non-sorting submissions keep their order), so each blends over what is
//      behind it.
#pragma once

#include "gpu/RenderTypes.h"

#include <span>
#include <vector>

namespace kl::gpu {

// The layer an item is drawn in, Automatic resolved by its blend mode.
DrawLayer layerOf(const DrawItem& item);

// Distance of the item's depth centre in front of the eye (view-space z of the
// left-handed view; larger is farther).
float viewDepth(const DrawItem& item, const glm::mat4& view);

// Sorts `items` into drawing order in place. `sortBlended` false keeps blended
// items in their given order (still after the opaque ones). Sky items get
// their depth writes turned off. `depthCleared`: nothing has touched the depth
// buffer since it was cleared, which lets the sky go behind the opaque items.
void orderForDrawing(std::vector<DrawItem>& items, const glm::mat4& view, bool sortBlended = true,
                     bool depthCleared = false);

class DrawQueue {
public:
    // Whether items for `frame` can join the queue: it is empty or holds items
    // of the same camera and lights. Otherwise the caller draws the queue first.
    bool accepts(const FrameState& frame) const;
    // Adds items (copied; the geometry and textures they point to must live
    // until the queue is taken). `sortBlended` false: this frame's blended items
    // are drawn in the order given.
    void add(const FrameState& frame, std::span<const DrawItem> items, bool sortBlended = true);
    bool empty() const { return items_.empty(); }
    const FrameState& frame() const { return frame_; }
    // The items in drawing order (see orderForDrawing); leaves the queue empty.
    std::vector<DrawItem> take(bool depthCleared = false);
    void clear();

private:
    FrameState frame_;
    std::vector<DrawItem> items_;
    bool sortBlended_ = true;
};

} // namespace kl::gpu
