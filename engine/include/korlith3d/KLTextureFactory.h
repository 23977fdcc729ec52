// Textures: loaded from BMP, JPG, PNG, GIF, TIF and DDS files, numbered from 1
// in load order. Ids are never reused, also after deletion.
#pragma once

#include "korlith3d/Export.h"

#include "korlith3d/types.h"

#include <QString>

#include <cstdint>
#include <memory>

namespace kl::core {
class Context;
}

class KL_API KLTextureFactory {
public:
    KLTextureFactory();   // throws KLERR_NOT_INITIALISED when no KLEngine exists
    ~KLTextureFactory();

    // Loads `file` (relative paths resolve against the search folder, without
    // regard to case) as texture `name`.
    // width/height: -1 = the image's own size, otherwise it is scaled to that size.
    // colourKey: -1 = none; otherwise the 32-bit ARGB value of pixels that become
    // fully transparent (compared with alpha, so in an image without alpha
    // 0xFF000000 is black and 0 matches nothing).
    // Loading a name that exists replaces that texture's picture and returns its
    // id: every mesh using it shows the new picture. Deleting first gives a new id.
    int LoadTexture(const QString& file, const QString& name, int width = -1, int height = -1,
                    std::int64_t colourKey = -1);
    // Loads a bump (height) map: its brightness is the relief. size: -1 = own size;
    // heightScale scales the relief. Same naming rules as LoadTexture.
    int LoadBumpTexture(const QString& file, const QString& name, int size = -1, float heightScale = 1.0f);
    // Removes the texture; meshes using it draw untextured. Unknown id: KLERR_UNKNOWN_ID.
    void DeleteTexture(int id);
    QString GetTextureName(int id) const;
    int GetTextureId(const QString& name) const;   // KLERR_UNKNOWN_ID when absent
    bool TextureExists(int id) const;
    int GetTextureWidth(int id) const;
    int GetTextureHeight(int id) const;
    // Mip-mapped sampling of all textures (the tools call it without argument).
    void SetMipMapping(bool on = true);

private:
    std::shared_ptr<kl::core::Context> context_;
};
