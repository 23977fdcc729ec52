#include "gpu/DrawQueue.h"

#include <algorithm>

namespace kl::gpu {

DrawLayer layerOf(const DrawItem& item)
{
    if (item.layer != DrawLayer::Automatic)
        return item.layer;
    return item.blend == BlendMode::Opaque ? DrawLayer::Opaque : DrawLayer::Blended;
}

float viewDepth(const DrawItem& item, const glm::mat4& view)
{
    return (view * item.world * glm::vec4(item.depthCentre, 1.0f)).z;
}

void orderForDrawing(std::vector<DrawItem>& items, const glm::mat4& view, bool sortBlended)
{
    struct Keyed {
        DrawLayer layer;
        float depth;
        std::size_t index;
    };
    std::vector<Keyed> keys;
    keys.reserve(items.size());
    for (std::size_t i = 0; i < items.size(); ++i) {
        const DrawLayer layer = layerOf(items[i]);
        keys.push_back({layer, layer == DrawLayer::Blended && sortBlended ? viewDepth(items[i], view) : 0.0f, i});
    }
    std::stable_sort(keys.begin(), keys.end(), [](const Keyed& a, const Keyed& b) {
        if (a.layer != b.layer)
            return a.layer < b.layer;
        return a.depth > b.depth;   // zero for all but sorted blended items
    });
    std::vector<DrawItem> ordered;
    ordered.reserve(items.size());
    for (const Keyed& key : keys) {
        ordered.push_back(items[key.index]);
        if (key.layer == DrawLayer::Sky)
            ordered.back().depthWrite = false;
    }
    items = std::move(ordered);
}

bool DrawQueue::accepts(const FrameState& frame) const
{
    return items_.empty() || frame == frame_;
}

void DrawQueue::add(const FrameState& frame, std::span<const DrawItem> items, bool sortBlended)
{
    if (items_.empty()) {
        frame_ = frame;
        sortBlended_ = true;
    }
    sortBlended_ = sortBlended_ && sortBlended;
    items_.insert(items_.end(), items.begin(), items.end());
}

std::vector<DrawItem> DrawQueue::take()
{
    std::vector<DrawItem> items = std::move(items_);
    items_.clear();
    orderForDrawing(items, frame_.view, sortBlended_);
    return items;
}

void DrawQueue::clear()
{
    items_.clear();
}

} // namespace kl::gpu
