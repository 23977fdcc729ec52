// The engine's textures, numbered from 1 in load order; ids are never reused.
#pragma once

#include "gpu/RenderTypes.h"

#include <QString>

#include <map>

namespace kl::image {

struct Texture {
    QString name;
    QString file;
    gpu::TextureData data;
    float heightScale = 1.0f;   // bump maps
};

class TextureStore {
public:
    // Adds a texture or, when the name exists, replaces its picture (same id,
    // new revision). Returns the id.
    int put(const QString& name, const QString& file, QImage image, bool bump, float heightScale,
            gpu::ResourceId newResourceId);
    Texture* find(int id);
    const Texture* find(int id) const;
    int idOf(const QString& name) const;   // 0 when absent
    // The picture a draw item points to; null for id <= 0 or an unknown id
    // (drawn untextured).
    const gpu::TextureData* drawData(int id) const;
    // Removes the texture; returns its GPU resource id (0 when unknown).
    gpu::ResourceId remove(int id);

private:
    std::map<int, Texture> textures_;
    int nextId_ = 1;
};

} // namespace kl::image
