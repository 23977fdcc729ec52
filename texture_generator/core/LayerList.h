#pragma once
// The ordered list of texture layers the window edits: the layers, the
// current ("selected") layer the edit fields act on, and the list lines.

#include "core/TextureLayer.h"

#include <QList>
#include <QStringList>

namespace layerloom {

// The count is a 16-bit number: at most this many layers.
inline constexpr int kMaxLayerCount = 32767;

// "Layer #<index> (<path>)".
QString layerLine(int index, const TextureLayer& layer);

class LayerList {
public:
    int count() const { return int(layers_.size()); }
    bool empty() const { return layers_.isEmpty(); }
    const QList<TextureLayer>& layers() const { return layers_; }
    const TextureLayer& layer(int index) const { return layers_.at(index); }

    // The current layer's index; it may lie outside the list (after removing
    // the last layer, or clearing), and then edits are not stored.
    int selected() const { return selected_; }
    void select(int index) { selected_ = index; }
    // The current layer, or nullptr when the index lies outside the list.
    TextureLayer* current();
    const TextureLayer* current() const;

    // Appends a layer with the defaults for `path` and makes it the current
    // one. False (nothing changed) when the list is full.
    bool add(const QString& path);
    // Removes the layer on `line`; the later layers move up one place and the
    // current index stays, so the next layer becomes the current one. A line
    // outside the list (no selection: -1) changes nothing and gives false.
    bool removeLine(int line);
    // No layers; the current index stays.
    void clear() { layers_.clear(); }
    // The layers of a preset (at most kMaxLayerCount of them).
    void replace(QList<TextureLayer> layers);

    // One line per layer, in order.
    QStringList lines() const;

private:
    QList<TextureLayer> layers_;
    int selected_ = 0;
};

} // namespace layerloom
