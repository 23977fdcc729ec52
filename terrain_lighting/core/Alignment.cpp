#include "core/Alignment.h"

#include "core/Vectors.h"

namespace landlume {
namespace {

D3DVECTOR row(const D3DMATRIX& m, int r) { return {m.m[r][0], m.m[r][1], m.m[r][2]}; }

void setRow(D3DMATRIX& m, int r, const D3DVECTOR& v)
{
    m.m[r][0] = v.x;
    m.m[r][1] = v.y;
    m.m[r][2] = v.z;
}

} // namespace

bool alignStep(D3DMATRIX& rotation, const D3DVECTOR& groundNormal, float& lag)
{
    if (lag == 1.0f)
        lag = 0.999f;
    lag = (1.0f - lag) / 100.0f;

    const D3DVECTOR target = scale(groundNormal, -1.0f);
    const D3DVECTOR up = row(rotation, 1);
    const D3DVECTOR forward = row(rotation, 2);
    const D3DVECTOR diff = subtract(target, up);
    if (length(diff) < kAlignTolerance)
        return false;
    const D3DVECTOR newUp = add(up, scale(normalize(diff), lag));
    const D3DVECTOR right = normalize(cross(newUp, forward));
    const D3DVECTOR newForward = normalize(cross(right, newUp));
    setRow(rotation, 0, right);
    setRow(rotation, 1, newUp);
    setRow(rotation, 2, newForward);
    return true;
}

D3DMATRIX markerRotation(const D3DVECTOR& lightDirection)
{
    const D3DVECTOR f = normalize(lightDirection);
    const D3DVECTOR u0 = normalize(vec(0.0f, 1.0f, 0.0f));
    const D3DVECTOR r = normalize(cross(f, u0));
    const D3DVECTOR u = normalize(cross(r, f));
    D3DMATRIX m;
    setRow(m, 0, r);
    setRow(m, 1, f);
    setRow(m, 2, u);
    m.m[0][3] = m.m[1][3] = m.m[2][3] = 0.0f;
    m.m[3][0] = m.m[3][1] = m.m[3][2] = 0.0f;
    m.m[3][3] = 1.0f;
    return m;
}

} // namespace landlume
