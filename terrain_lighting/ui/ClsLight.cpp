#include "ui/ClsLight.h"

#include <korlith3d/KLGlobals.h>
#include <korlith3d/KLLightEngine.h>
#include <korlith3d/KLMath.h>

namespace landlume {

ClsLight::ClsLight() = default;
ClsLight::~ClsLight() = default;

void ClsLight::Init_Light(const D3DVECTOR& direction)
{
    lights_ = std::make_unique<KLLightEngine>();
    const KLGlobals globals;
    light_ = D3DLIGHT8{};
    light_.Type = D3DLIGHT_DIRECTIONAL;
    light_.Diffuse = globals.DXColor(1.0f, 1.0f, 1.0f, 1.0f);
    light_.Ambient = globals.DXColor(0.7f, 0.7f, 0.7f, 0.7f);
    light_.Direction = KLMath().VNormalize(globals.Vector3(direction.x, direction.y, direction.z));
    // The returned number is not kept: the light is number 1 from here on.
    lights_->CreateLight(light_, QStringLiteral("Light"), false);
}

void ClsLight::Change_Light(const D3DVECTOR& direction, const std::function<void()>& updateMarker)
{
    light_.Direction = KLMath().VNormalize(KLGlobals().Vector3(direction.x, direction.y, direction.z));
    updateMarker();
    Render_Light();
}

void ClsLight::Render_Light() { lights_->UpdateLight(1, light_); }

void ClsLight::Kill_Light() { lights_.reset(); }

} // namespace landlume
