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

namespace {

// Whether the sky can be drawn after the opaque items without changing the
// picture: each opaque item leaves its depth wherever it drew, and the rest of
// the depth buffer is still at the far plane.
bool skyCanGoBehind(const std::vector<DrawItem>& items, bool depthCleared)
{
    if (!depthCleared)
        return false;
    bool sky = false;
    for (const DrawItem& item : items) {
        const DrawLayer layer = layerOf(item);
        if (layer == DrawLayer::Opaque && !(item.depthTest && item.depthWrite))
            return false;
        sky = sky || layer == DrawLayer::Sky;
    }
    return sky;
}

int rank(DrawLayer layer, bool skyBehind)
{
    switch (layer) {
    case DrawLayer::Sky: return skyBehind ? 1 : 0;
    case DrawLayer::Opaque: return skyBehind ? 0 : 1;
    default: return 2;
    }
}

} // namespace

void orderForDrawing(std::vector<DrawItem>& items, const glm::mat4& view, bool sortBlended, bool depthCleared)
{
    struct Keyed {
        int rank;
        DrawLayer layer;
        float depth;
        std::size_t index;
    };
    const bool skyBehind = skyCanGoBehind(items, depthCleared);
    std::vector<Keyed> keys;
    keys.reserve(items.size());
    for (std::size_t i = 0; i < items.size(); ++i) {
        const DrawLayer layer = layerOf(items[i]);
        keys.push_back({rank(layer, skyBehind), layer,
                        layer == DrawLayer::Blended && sortBlended ? viewDepth(items[i], view) : 0.0f, i});
    }
    std::stable_sort(keys.begin(), keys.end(), [](const Keyed& a, const Keyed& b) {
        if (a.rank != b.rank)
            return a.rank < b.rank;
        return a.depth > b.depth;   // zero for all but sorted blended items
    });
    std::vector<DrawItem> ordered;
    ordered.reserve(items.size());
    for (const Keyed& key : keys) {
        ordered.push_back(items[key.index]);
        if (key.layer == DrawLayer::Sky) {
            DrawItem& sky = ordered.back();
            sky.depthWrite = false;
            sky.depthTest = skyBehind;
            sky.atFarPlane = skyBehind;
        }
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

std::vector<DrawItem> DrawQueue::take(bool depthCleared)
{
    std::vector<DrawItem> items = std::move(items_);
    items_.clear();
    orderForDrawing(items, frame_.view, sortBlended_, depthCleared);
    return items;
}

void DrawQueue::clear()
{
    items_.clear();
}

} // namespace kl::gpu
