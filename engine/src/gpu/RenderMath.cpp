#include "gpu/RenderMath.h"

#include <algorithm>
#include <vector>

namespace kl::gpu {

glm::vec3 effectiveAttenuation(const LightState& light)
{
    const glm::vec3 a(light.attenuation0, light.attenuation1, light.attenuation2);
    const bool usable = a.x >= 0.0f && a.y >= 0.0f && a.z >= 0.0f && (a.x + a.y + a.z) > 0.0f;
    return usable ? a : glm::vec3(1.0f, 0.0f, 0.0f);
}

glm::vec4 unpackArgb(std::uint32_t argb)
{
    return glm::vec4(float((argb >> 16) & 0xFFu), float((argb >> 8) & 0xFFu), float(argb & 0xFFu),
                     float((argb >> 24) & 0xFFu)) / 255.0f;
}

QImage bumpGradientImage(const QImage& heightMap)
{
    const QImage source = heightMap.convertToFormat(QImage::Format_ARGB32);
    const int w = source.width();
    const int h = source.height();
    QImage out(std::max(w, 1), std::max(h, 1), QImage::Format_ARGB32);
    out.fill(qRgba(128, 128, 128, 255));
    if (w == 0 || h == 0)
        return out;

    std::vector<float> height(std::size_t(w) * std::size_t(h));
    for (int y = 0; y < h; ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(source.constScanLine(y));
        for (int x = 0; x < w; ++x)
            height[std::size_t(y) * w + x] = float(qGray(row[x])) / 255.0f;
    }
    auto at = [&](int x, int y) {
        x = (x % w + w) % w;
        y = (y % h + h) % h;
        return height[std::size_t(y) * w + x];
    };
    // Central differences in texels, scaled so a full black-to-white step
    // across two texels gives a slope of 1.
    for (int y = 0; y < h; ++y) {
        auto* row = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < w; ++x) {
            const float du = std::clamp((at(x + 1, y) - at(x - 1, y)), -1.0f, 1.0f);
            const float dv = std::clamp((at(x, y + 1) - at(x, y - 1)), -1.0f, 1.0f);
            row[x] = qRgba(int(std::lround((du * 0.5f + 0.5f) * 255.0f)),
                           int(std::lround((dv * 0.5f + 0.5f) * 255.0f)), 128, 255);
        }
    }
    return out;
}

QImage textureUploadImage(const QImage& source, int maxSize)
{
    if (source.isNull() || source.width() <= 0 || source.height() <= 0) {
        QImage white(1, 1, QImage::Format_RGBA8888);
        white.fill(Qt::white);
        return white;
    }
    QImage image = source;
    maxSize = std::max(maxSize, 1);
    if (image.width() > maxSize || image.height() > maxSize)
        image = image.scaled(std::min(image.width(), maxSize), std::min(image.height(), maxSize),
                             Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return image.convertToFormat(QImage::Format_RGBA8888);
}

} // namespace kl::gpu
