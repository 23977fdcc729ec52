#include "ui/ClsTextures.h"

#include "ui/EngineNames.h"

#include <korlith3d/KLTextureFactory.h>

namespace landlume {

ClsTextures::ClsTextures() = default;
ClsTextures::~ClsTextures() = default;

void ClsTextures::Init_Textures()
{
    factory_ = std::make_unique<KLTextureFactory>();
    factory_->SetMipMapping(true);
    factory_->LoadTexture(QStringLiteral("Textures\\Landscape\\colormap.bmp"), kTerrainTexture, -1, -1, 0);
    factory_->LoadTexture(QStringLiteral("Textures\\Landscape\\detailmap.bmp"), kDetailTexture, -1, -1, 0);
    factory_->LoadBumpTexture(QStringLiteral("Textures\\Landscape\\detailmap.bmp"), kBumpTexture, -1, 1.0f);
}

void ClsTextures::Kill_Textures() { factory_.reset(); }

KLTextureFactory& ClsTextures::factory()
{
    if (!factory_)
        factory_ = std::make_unique<KLTextureFactory>();
    return *factory_;
}

} // namespace landlume
