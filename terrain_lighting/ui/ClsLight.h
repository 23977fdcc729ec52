// The one directional light, number 1, and its record.
#pragma once

#include <korlith3d/types.h>

#include <functional>
#include <memory>

class KLLightEngine;

namespace landlume {

class ClsLight {
public:
    ClsLight();
    ~ClsLight();
    void Init_Light(const D3DVECTOR& direction);
    // New direction, then `updateMarker` (the light marker follows), then Render_Light.
    void Change_Light(const D3DVECTOR& direction, const std::function<void()>& updateMarker);
    void Render_Light();
    void Kill_Light();
    const D3DLIGHT8& record() const { return light_; }
    bool alive() const { return bool(lights_); }

private:
    std::unique_ptr<KLLightEngine> lights_;
    D3DLIGHT8 light_;
};

} // namespace landlume
