// The terrain's surface: a grid of vertex heights, each grid cell split into
// two triangles along the diagonal from its (x0, z0) corner to its (x1, z1)
// corner. This one surface is what the chunk meshes draw, what height and
// normal queries answer and what ray tests hit.
#pragma once

#include "heightfield/HeightField.h"

#include <glm/glm.hpp>

namespace kl::terrain {

// A point of the grid: cell (column, row) and the fraction (0..1) within it.
struct CellPoint {
    int column = 0;
    int row = 0;
    float fx = 0.0f;
    float fz = 0.0f;
};

class TerrainSurface {
public:
    TerrainSurface() = default;
    // `vertices` holds world heights, column = x, row = z, row 0 at origin.z;
    // grid points lie `spacing` world units apart from `origin` (x, z) on.
    TerrainSurface(HeightField vertices, float spacing, glm::vec2 origin);

    bool empty() const { return vertices_.empty(); }
    int cellColumns() const { return vertices_.width() - 1; }
    int cellRows() const { return vertices_.height() - 1; }
    float spacing() const { return spacing_; }
    glm::vec2 origin() const { return origin_; }
    glm::vec2 extent() const { return {float(cellColumns()) * spacing_, float(cellRows()) * spacing_}; }
    const HeightField& vertices() const { return vertices_; }

    float vertex(int column, int row) const
    {
        return vertices_.values()[std::size_t(row) * std::size_t(vertices_.width()) + std::size_t(column)];
    }

    // The cell holding world (x, z), clamped to the grid: outside it the
    // nearest edge point stands in.
    CellPoint locate(float x, float z) const;
    // Height on the cell's triangle at the fraction (fx, fz).
    float heightInCell(int column, int row, float fx, float fz) const
    {
        const float h00 = vertex(column, row);
        const float h11 = vertex(column + 1, row + 1);
        if (fx >= fz) {
            const float h10 = vertex(column + 1, row);
            return h00 + (h10 - h00) * fx + (h11 - h10) * fz;
        }
        const float h01 = vertex(column, row + 1);
        return h00 + (h11 - h01) * fx + (h01 - h00) * fz;
    }
    float height(float x, float z) const;
    // The largest rise per world unit of any triangle (0 for a flat land).
    float steepestSlope() const { return steepestSlope_; }
    // Unit normal of the triangle under (x, z), pointing up (y > 0).
    glm::vec3 upNormal(float x, float z) const;

private:
    HeightField vertices_;
    float spacing_ = 1.0f;
    float inverseSpacing_ = 1.0f;
    glm::vec2 origin_{0.0f};
    float steepestSlope_ = 0.0f;
};

} // namespace kl::terrain
