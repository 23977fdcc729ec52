#pragma once

#include "MeshData.h"

#include <functional>

namespace kl::models {

// A scalar field: negative inside the shape, positive outside.
using ScalarField = std::function<float(glm::vec3)>;

// Extracts the zero surface of a field inside a box, sampled on a regular
// grid of cells. Each cube cell is split into six tetrahedra along its main
// diagonal (the same split in every cell, so neighbouring cells agree on
// their shared faces) and the surface is cut through each tetrahedron. Edge
// vertices are shared, so a shape that lies inside the box comes out closed.
// Normals are the normalised field gradient; triangles wind counter-clockwise
// seen from outside.
MeshPart polygonise(const ScalarField& field, glm::vec3 boxMin, glm::vec3 boxMax,
                    glm::ivec3 cells);

}  // namespace kl::models
