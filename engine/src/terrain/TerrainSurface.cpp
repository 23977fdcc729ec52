#include "terrain/TerrainSurface.h"

#include <algorithm>
#include <cmath>

namespace kl::terrain {
namespace {

// Cell index and fraction along one axis of `cells` cells; NaN and points
// before the grid give the first point, points past it the last.
void locateAxis(float g, int cells, int& cell, float& fraction)
{
    if (!(g > 0.0f)) {
        cell = 0;
        fraction = 0.0f;
        return;
    }
    if (g >= float(cells)) {
        cell = cells - 1;
        fraction = 1.0f;
        return;
    }
    cell = std::min(int(g), cells - 1);
    fraction = g - float(cell);
}

} // namespace

TerrainSurface::TerrainSurface(HeightField vertices, float spacing, glm::vec2 origin)
    : vertices_(std::move(vertices)), spacing_(spacing), inverseSpacing_(1.0f / spacing), origin_(origin)
{
    for (int row = 0; row < cellRows(); ++row) {
        for (int column = 0; column < cellColumns(); ++column) {
            const float h00 = vertex(column, row), h10 = vertex(column + 1, row);
            const float h01 = vertex(column, row + 1), h11 = vertex(column + 1, row + 1);
            // The two triangles' gradients, in height per grid step.
            const float lower = std::hypot(h10 - h00, h11 - h10), upper = std::hypot(h11 - h01, h01 - h00);
            steepestSlope_ = std::max({steepestSlope_, lower * inverseSpacing_, upper * inverseSpacing_});
        }
    }
}

CellPoint TerrainSurface::locate(float x, float z) const
{
    CellPoint point;
    locateAxis((x - origin_.x) * inverseSpacing_, cellColumns(), point.column, point.fx);
    locateAxis((z - origin_.y) * inverseSpacing_, cellRows(), point.row, point.fz);
    return point;
}

float TerrainSurface::height(float x, float z) const
{
    if (empty())
        return 0.0f;
    const CellPoint p = locate(x, z);
    return heightInCell(p.column, p.row, p.fx, p.fz);
}

glm::vec3 TerrainSurface::upNormal(float x, float z) const
{
    if (empty())
        return {0.0f, 1.0f, 0.0f};
    const CellPoint p = locate(x, z);
    const float h00 = vertex(p.column, p.row);
    const float h11 = vertex(p.column + 1, p.row + 1);
    float slopeX = 0.0f, slopeZ = 0.0f;   // height change per cell along x and z
    if (p.fx >= p.fz) {
        const float h10 = vertex(p.column + 1, p.row);
        slopeX = h10 - h00;
        slopeZ = h11 - h10;
    } else {
        const float h01 = vertex(p.column, p.row + 1);
        slopeX = h11 - h01;
        slopeZ = h01 - h00;
    }
    return glm::normalize(glm::vec3(-slopeX, spacing_, -slopeZ));
}

} // namespace kl::terrain
