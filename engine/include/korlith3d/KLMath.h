// Vector maths as in the DirectX 8 helper library.
#pragma once

#include "korlith3d/Export.h"

#include "korlith3d/types.h"

class KL_API KLMath {
public:
    float Deg2Rad(float degrees) const;
    float Rad2Deg(float radians) const;
    // Unit vector in the same direction; a zero-length vector gives (0, 0, 0).
    D3DVECTOR VNormalize(const D3DVECTOR& v) const;
    D3DVECTOR VScale(const D3DVECTOR& v, float s) const;
    D3DVECTOR VAdd(const D3DVECTOR& a, const D3DVECTOR& b) const;
    D3DVECTOR VSubtract(const D3DVECTOR& a, const D3DVECTOR& b) const;
    D3DVECTOR VCross(const D3DVECTOR& a, const D3DVECTOR& b) const;
    float VDot(const D3DVECTOR& a, const D3DVECTOR& b) const;
    float VLength(const D3DVECTOR& v) const;
    float VDistance(const D3DVECTOR& a, const D3DVECTOR& b) const;
};
