// Lights: up to 8 Direct3D lights, numbered from 1 in creation order.
#pragma once

#include "korlith3d/Export.h"

#include "korlith3d/types.h"

#include <QString>

#include <memory>

namespace kl::core {
class Context;
}

class KL_API KLLightEngine {
public:
    KLLightEngine();
    ~KLLightEngine();

    static constexpr int MaxLights = 8;

    // Creates a switched-on light from the record and returns its number (1..8).
    // `castsShadows` is recorded for the landscape's lightmap use. A ninth light
    // throws KLERR_INVALID_CALL.
    int CreateLight(const D3DLIGHT8& light, const QString& name, bool castsShadows = false);
    // Replaces the light's record (the on/off state is kept).
    void UpdateLight(int index, const D3DLIGHT8& light);
    void SetDirection(int index, const D3DVECTOR& direction);
    void SetPosition(int index, const D3DVECTOR& position);
    void EnableLight(int index, bool on);

    D3DLIGHT8 GetLight(int index) const;
    bool IsEnabled(int index) const;
    QString GetLightName(int index) const;
    int GetLightIndex(const QString& name) const;   // KLERR_UNKNOWN_ID when absent
    int GetLightCount() const;

private:
    std::shared_ptr<kl::core::Context> context_;
};
