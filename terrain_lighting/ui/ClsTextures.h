// The texture factory: the land's colour, detail and bump textures, and later
// the lightmap. Init_ creates it, Kill_ releases it.
#pragma once

#include <memory>

class KLTextureFactory;

namespace landlume {

class ClsTextures {
public:
    ClsTextures();
    ~ClsTextures();
    void Init_Textures();
    void Kill_Textures();
    KLTextureFactory& factory();
    bool alive() const { return bool(factory_); }

private:
    std::unique_ptr<KLTextureFactory> factory_;
};

} // namespace landlume
