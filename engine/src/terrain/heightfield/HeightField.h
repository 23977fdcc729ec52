// A grid of heights with bilinear sampling: the surface the terrain is built
// from at run time and the one the sample content generator paints. Both link
// this library, so they agree on what lies between two grid points.
#pragma once

#include <QImage>

#include <cstddef>
#include <vector>

namespace kl::terrain {

// Slope of the bilinear surface, in height units per grid step.
struct Gradient {
    float dx = 0.0f;   // along increasing column
    float dy = 0.0f;   // along increasing row
};

class HeightField {
public:
    HeightField() = default;
    // width x height values, row by row, row 0 first. Throws std::invalid_argument
    // when the count does not match or a side is not positive.
    HeightField(int width, int height, std::vector<float> values);
    // A field of one value.
    static HeightField filled(int width, int height, float value);

    int width() const { return width_; }
    int height() const { return height_; }
    bool empty() const { return values_.empty(); }
    const std::vector<float>& values() const { return values_; }

    // The grid value; coordinates outside the grid are clamped to its edge.
    float at(int x, int y) const;
    void set(int x, int y, float value) { values_[index(x, y)] = value; }

    // Bilinear height at grid coordinates (column gx, row gy), each cell the
    // patch between four grid points. Outside the grid: the height of the
    // nearest edge point.
    float sampleGrid(float gx, float gy) const;
    // The same at normalised coordinates: (0, 0) the first grid point, (1, 1)
    // the last one.
    float sample(float u, float v) const;
    // Slope of the bilinear patch that holds (gx, gy); zero across a clamped
    // (outside) direction.
    Gradient gradientGrid(float gx, float gy) const;

    // Lowest and highest value (0, 0 when empty).
    float minimum() const;
    float maximum() const;

private:
    std::size_t index(int x, int y) const { return std::size_t(y) * std::size_t(width_) + std::size_t(x); }
    // Cell origin and the fraction within it, along one axis of `size` points.
    static void locate(float g, int size, int& cell, float& fraction);

    int width_ = 0;
    int height_ = 0;
    std::vector<float> values_;
};

// Grey level 0..255 of every pixel; a colour picture is read as its
// brightness, (11 R + 16 G + 5 B) / 32 (qGray). A null image gives an empty field.
HeightField heightFieldFromImage(const QImage& image);

} // namespace kl::terrain
