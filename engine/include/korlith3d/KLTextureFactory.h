// Textures: loaded from BMP, JPG, PNG, GIF, TIF and DDS files or made from a
// picture in memory, numbered from 1 in load order. Ids are never reused, also
// after deletion.
#pragma once

#include "korlith3d/Export.h"

#include "korlith3d/types.h"

#include <QImage>
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
    // Makes texture `name` from a picture the caller produced (a lightmap, a
    // generated terrain texture): any QImage format, kept as 32-bit ARGB; a
    // QImage::Format_RGB32 picture is the B, G, R, spare byte order of a GDI
    // bitmap. Same naming rules as LoadTexture. A null picture or a side over
    // 16384 pixels: KLERR_INVALID_CALL. The engine keeps its own copy.
    //   Landlume: CreateTextureFromImage(lightmap, "Lightmap") after each bake
    int CreateTextureFromImage(const QImage& picture, const QString& name);
    // Replaces the picture of texture `id` (its size may change); every mesh
    // and land using it shows the new picture from the next frame.
    // Unknown id: KLERR_UNKNOWN_ID; a null or oversized picture: KLERR_INVALID_CALL.
    void UpdateTexture(int id, const QImage& picture);
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
