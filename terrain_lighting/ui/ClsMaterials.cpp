#include "ui/ClsMaterials.h"

#include "ui/EngineNames.h"

#include <korlith3d/KLGlobals.h>
#include <korlith3d/KLMaterialFactory.h>

namespace landlume {

ClsMaterials::ClsMaterials() = default;
ClsMaterials::~ClsMaterials() = default;

void ClsMaterials::Init_Materials()
{
    factory_ = std::make_unique<KLMaterialFactory>();
    factory_->CreateMaterial(kLandMaterial);
    const int id = KLGlobals().GetMat(kLandMaterial);
    factory_->SetAmbient(id, 0.2f, 0.2f, 0.2f, 1.0f);
    factory_->SetDiffuse(id, 0.5f, 0.5f, 0.5f, 1.0f);
    factory_->SetPower(id, 10.0f);
}

void ClsMaterials::Kill_Materials() { factory_.reset(); }

} // namespace landlume
