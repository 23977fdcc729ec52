#include "heightfield/HeightField.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace kl::terrain {

HeightField::HeightField(int width, int height, std::vector<float> values)
    : width_(width), height_(height), values_(std::move(values))
{
    if (width <= 0 || height <= 0 || values_.size() != std::size_t(width) * std::size_t(height))
        throw std::invalid_argument("height field size does not match its values");
}

HeightField HeightField::filled(int width, int height, float value)
{
    if (width <= 0 || height <= 0)
        throw std::invalid_argument("height field sides must be positive");
    return HeightField(width, height, std::vector<float>(std::size_t(width) * std::size_t(height), value));
}

float HeightField::at(int x, int y) const
{
    return values_[index(std::clamp(x, 0, width_ - 1), std::clamp(y, 0, height_ - 1))];
}

void HeightField::locate(float g, int size, int& cell, float& fraction)
{
    if (size < 2 || !(g > 0.0f)) {   // also NaN
        cell = 0;
        fraction = 0.0f;
        return;
    }
    const float last = float(size - 1);
    if (g >= last) {
        cell = size - 2;
        fraction = 1.0f;
        return;
    }
    cell = std::min(int(g), size - 2);
    fraction = g - float(cell);
}

float HeightField::sampleGrid(float gx, float gy) const
{
    if (empty())
        return 0.0f;
    int x0 = 0, y0 = 0;
    float tx = 0, ty = 0;
    locate(gx, width_, x0, tx);
    locate(gy, height_, y0, ty);
    const float top = at(x0, y0) + (at(x0 + 1, y0) - at(x0, y0)) * tx;
    const float bottom = at(x0, y0 + 1) + (at(x0 + 1, y0 + 1) - at(x0, y0 + 1)) * tx;
    return top + (bottom - top) * ty;
}

float HeightField::sample(float u, float v) const
{
    return sampleGrid(u * float(width_ - 1), v * float(height_ - 1));
}

Gradient HeightField::gradientGrid(float gx, float gy) const
{
    if (empty())
        return {};
    int x0 = 0, y0 = 0;
    float tx = 0, ty = 0;
    locate(gx, width_, x0, tx);
    locate(gy, height_, y0, ty);
    const bool insideX = width_ > 1 && gx >= 0.0f && gx <= float(width_ - 1);
    const bool insideY = height_ > 1 && gy >= 0.0f && gy <= float(height_ - 1);
    const float h00 = at(x0, y0), h10 = at(x0 + 1, y0), h01 = at(x0, y0 + 1), h11 = at(x0 + 1, y0 + 1);
    Gradient g;
    if (insideX)
        g.dx = (h10 - h00) + ((h11 - h01) - (h10 - h00)) * ty;
    if (insideY)
        g.dy = (h01 - h00) + ((h11 - h10) - (h01 - h00)) * tx;
    return g;
}

float HeightField::minimum() const
{
    return empty() ? 0.0f : *std::min_element(values_.begin(), values_.end());
}

float HeightField::maximum() const
{
    return empty() ? 0.0f : *std::max_element(values_.begin(), values_.end());
}

HeightField heightFieldFromImage(const QImage& image)
{
    if (image.isNull())
        return {};
    // Grey pictures keep their levels exactly; colours become (11 R + 16 G + 5 B) / 32.
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    std::vector<float> values(std::size_t(rgb.width()) * std::size_t(rgb.height()));
    for (int y = 0; y < rgb.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        for (int x = 0; x < rgb.width(); ++x)
            values[std::size_t(y) * std::size_t(rgb.width()) + std::size_t(x)] = float(qGray(line[x]));
    }
    return HeightField(rgb.width(), rgb.height(), std::move(values));
}

} // namespace kl::terrain
