// Vector helpers with the semantics of the DirectX 8 maths library the
// placement and marker rules are written in: normalising a zero vector gives
// the zero vector, and every operation works in 32-bit floats.
#pragma once

#include <korlith3d/types.h>

#include <cmath>

namespace landlume {

inline D3DVECTOR vec(float x, float y, float z) { return D3DVECTOR{x, y, z}; }
inline D3DVECTOR add(const D3DVECTOR& a, const D3DVECTOR& b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
inline D3DVECTOR subtract(const D3DVECTOR& a, const D3DVECTOR& b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
inline D3DVECTOR scale(const D3DVECTOR& v, float s) { return {v.x * s, v.y * s, v.z * s}; }
inline float length(const D3DVECTOR& v) { return std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z); }
inline D3DVECTOR cross(const D3DVECTOR& a, const D3DVECTOR& b)
{
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
inline D3DVECTOR normalize(const D3DVECTOR& v)
{
    const float l = length(v);
    if (l == 0.0f)
        return {0.0f, 0.0f, 0.0f};
    return {v.x / l, v.y / l, v.z / l};
}

} // namespace landlume
