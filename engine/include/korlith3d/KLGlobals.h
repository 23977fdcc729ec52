// Small helpers the tools use everywhere: colours, vectors, id look-ups.
// Cheap to create; look-ups reach the live engine context.
#pragma once

#include "korlith3d/Export.h"

#include "korlith3d/types.h"

#include <QString>

#include <cstdint>

class KL_API KLGlobals {
public:
    D3DCOLORVALUE DXColor(float r, float g, float b, float a) const;
    // Packed 32-bit ARGB from components 0..255 (each clamped).
    std::uint32_t PackedColor(int a, int r, int g, int b) const;
    D3DVECTOR Vector3(float x, float y, float z) const;
    // Id of the texture / material with that name (exact, case-sensitive);
    // throws KLERR_UNKNOWN_ID when there is none.
    int GetTex(const QString& name) const;
    int GetMat(const QString& name) const;
};
