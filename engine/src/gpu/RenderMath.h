// Small CPU-side conversions the renderer applies before data reaches the GPU.
#pragma once

#include "gpu/RenderTypes.h"

#include <QImage>

namespace kl::gpu {

// Attenuation coefficients (a0, a1, a2) the shader divides by. Direct3D would
// divide by zero for 0, 0, 0 (what callers pass when they mean "no attenuation"),
// so that case, and any negative set, becomes (1, 0, 0).
glm::vec3 effectiveAttenuation(const LightState& light);

// Packed 0xAARRGGBB to RGBA 0..1.
glm::vec4 unpackArgb(std::uint32_t argb);

// Height field (luminance) to its gradient, stored as red = d/du, green = d/dv
// mapped from -1..1 to 0..255; the texture wraps at the borders like the
// repeat addressing it is drawn with.
QImage bumpGradientImage(const QImage& heightMap);

// The image as tightly packed RGBA bytes, top row first, scaled down to fit
// maxSize on both sides. Null or empty images give a 1x1 white pixel.
QImage textureUploadImage(const QImage& source, int maxSize);

} // namespace kl::gpu
