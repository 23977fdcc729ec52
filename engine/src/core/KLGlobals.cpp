#include "korlith3d/KLGlobals.h"
#include "korlith3d/KLMath.h"

#include "core/Context.h"

#include <algorithm>
#include <cmath>

D3DCOLORVALUE KLGlobals::DXColor(float r, float g, float b, float a) const
{
    return {r, g, b, a};
}

std::uint32_t KLGlobals::PackedColor(int a, int r, int g, int b) const
{
    const auto byte = [](int v) { return static_cast<std::uint32_t>(std::clamp(v, 0, 255)); };
    return byte(a) << 24 | byte(r) << 16 | byte(g) << 8 | byte(b);
}

D3DVECTOR KLGlobals::Vector3(float x, float y, float z) const
{
    return {x, y, z};
}

int KLGlobals::GetTex(const QString& name) const
{
    auto context = kl::core::Context::current();
    const int id = context->resources().textures.idOf(name);
    if (id == 0)
        context->fail(KLERR_UNKNOWN_ID, QStringLiteral("GetTex: no texture named \"%1\"").arg(name));
    return id;
}

int KLGlobals::GetMat(const QString& name) const
{
    auto context = kl::core::Context::current();
    const int id = context->resources().materials.idOf(name);
    if (id == 0)
        context->fail(KLERR_UNKNOWN_ID, QStringLiteral("GetMat: no material named \"%1\"").arg(name));
    return id;
}

// --- KLMath ---

float KLMath::Deg2Rad(float degrees) const
{
    return degrees * 3.14159265358979f / 180.0f;
}

float KLMath::Rad2Deg(float radians) const
{
    return radians * 180.0f / 3.14159265358979f;
}

D3DVECTOR KLMath::VNormalize(const D3DVECTOR& v) const
{
    const float length = VLength(v);
    if (length <= 0.0f || !std::isfinite(length))
        return {0.0f, 0.0f, 0.0f};
    return {v.x / length, v.y / length, v.z / length};
}

D3DVECTOR KLMath::VScale(const D3DVECTOR& v, float s) const
{
    return {v.x * s, v.y * s, v.z * s};
}

D3DVECTOR KLMath::VAdd(const D3DVECTOR& a, const D3DVECTOR& b) const
{
    return {a.x + b.x, a.y + b.y, a.z + b.z};
}

D3DVECTOR KLMath::VSubtract(const D3DVECTOR& a, const D3DVECTOR& b) const
{
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}

D3DVECTOR KLMath::VCross(const D3DVECTOR& a, const D3DVECTOR& b) const
{
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

float KLMath::VDot(const D3DVECTOR& a, const D3DVECTOR& b) const
{
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

float KLMath::VLength(const D3DVECTOR& v) const
{
    return std::sqrt(VDot(v, v));
}

float KLMath::VDistance(const D3DVECTOR& a, const D3DVECTOR& b) const
{
    return VLength(VSubtract(a, b));
}
