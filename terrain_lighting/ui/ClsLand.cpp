#include "ui/ClsLand.h"

#include "core/SceneSettings.h"
#include "ui/EngineNames.h"

#include <korlith3d/KLGlobals.h>
#include <korlith3d/KLLandscape.h>

#include <platform/TextRules.h>

namespace landlume {

ClsLand::ClsLand() = default;
ClsLand::~ClsLand() = default;

void ClsLand::Init_Land(SceneSettings& settings)
{
    land_ = std::make_unique<KLLandscape>();
    land_->SetHeightFactor(settings.factorY);
    land_->GenerateTerrain(settings.heightmap, 4, settings.width, settings.height, 0.0f, 0.0f, 0.0f);
    const KLGlobals globals;
    land_->SpreadTexture(globals.GetTex(kTerrainTexture), 0, 0, platform::cint(settings.width),
                         platform::cint(settings.height), false);
    land_->SetMaterial(globals.GetMat(kLandMaterial), -1, 0);
    land_->SetDetailTexture(globals.GetTex(kDetailTexture));
    land_->SetDetailTiling(5.0f, 5.0f, -1);
    settings.landWidth = float(platform::clng(double(settings.width) * kChunkSize));
    settings.landHeight = float(platform::clng(double(settings.height) * kChunkSize));
    const float cx = settings.landWidth / 2.0f;
    const float cz = settings.landHeight / 2.0f;
    settings.landCentre = D3DVECTOR{cx, height(cx, cz), cz};
}

void ClsLand::Flush_Land()
{
    if (land_)
        land_->DestroyTerrain();
    land_.reset();
}

void ClsLand::Render_Land()
{
    if (land_)
        land_->Render(true, false);
}

void ClsLand::Kill_Land() { land_.reset(); }

float ClsLand::height(float x, float z) const { return land_ ? land_->GetHeight(x, z) : 0.0f; }

D3DVECTOR ClsLand::normal(float x, float z) const
{
    return land_ ? land_->GetNormal(x, z) : D3DVECTOR{0.0f, -1.0f, 0.0f};
}

} // namespace landlume
