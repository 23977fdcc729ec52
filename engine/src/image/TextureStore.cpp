#include "image/TextureStore.h"

namespace kl::image {

int TextureStore::put(const QString& name, const QString& file, QImage image, bool bump, float heightScale,
                      gpu::ResourceId newResourceId)
{
    if (const int existing = name.isEmpty() ? 0 : idOf(name); existing != 0) {
        Texture& texture = textures_.at(existing);
        texture.file = file;
        texture.data.image = std::move(image);
        texture.data.isBumpMap = bump;
        ++texture.data.revision;
        texture.heightScale = heightScale;
        return existing;
    }
    const int id = nextId_++;
    Texture texture;
    texture.name = name;
    texture.file = file;
    texture.data.id = newResourceId;
    texture.data.revision = 1;
    texture.data.image = std::move(image);
    texture.data.isBumpMap = bump;
    texture.heightScale = heightScale;
    textures_.emplace(id, std::move(texture));
    return id;
}

Texture* TextureStore::find(int id)
{
    const auto it = textures_.find(id);
    return it == textures_.end() ? nullptr : &it->second;
}

const Texture* TextureStore::find(int id) const
{
    const auto it = textures_.find(id);
    return it == textures_.end() ? nullptr : &it->second;
}

const gpu::TextureData* TextureStore::drawData(int id) const
{
    const Texture* texture = id > 0 ? find(id) : nullptr;
    return texture ? &texture->data : nullptr;
}

int TextureStore::idOf(const QString& name) const
{
    for (const auto& [id, texture] : textures_)
        if (texture.name == name)
            return id;
    return 0;
}

gpu::ResourceId TextureStore::remove(int id)
{
    const auto it = textures_.find(id);
    if (it == textures_.end())
        return 0;
    const gpu::ResourceId resource = it->second.data.id;
    textures_.erase(it);
    return resource;
}

} // namespace kl::image
