// Rotation rules of placed objects and the light marker: leaning an object's
// up axis step by step towards the ground's up direction, and turning the
// marker so that its own y axis points along the light.
#pragma once

#include <korlith3d/types.h>

namespace landlume {

// The up axis stops turning once it lies this close to its target.
inline constexpr float kAlignTolerance = 0.006f;

// One alignment step of a rotation matrix (rows: right, up, forward).
// `lag` is turned into the step length (1 - lag) / 100 and written back (1.0
// counts as 0.999); `groundNormal` is the landscape normal under the object,
// pointing into the ground, so its negation is the target. Returns false when
// the up axis is already within the tolerance (the matrix is left alone).
bool alignStep(D3DMATRIX& rotation, const D3DVECTOR& groundNormal, float& lag);

// The light marker's rotation: rows r, f (the normalised light direction), u
// and (0, 0, 0, 1), with r = f x up and u = r x f, both normalised. A light
// straight up or down, or of length 0, gives zero rows r and u.
D3DMATRIX markerRotation(const D3DVECTOR& lightDirection);

} // namespace landlume
