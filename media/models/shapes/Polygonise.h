#pragma once

#include "MeshData.h"

#include <functional>

namespace kl::models {

// A scalar field: negative inside the shape, positive outside.
using ScalarField = std::function<float(glm::vec3)>;

// Extracts the zero surface of a field inside a box, sampled on a regular
// grid of cube cells (marching cubes). Edge vertices are shared between
// cells, so a shape that lies inside the box comes out closed. Normals are
// the normalised field gradient; triangles wind counter-clockwise seen from
// outside.
MeshPart polygonise(const ScalarField& field, glm::vec3 boxMin, glm::vec3 boxMax,
                    glm::ivec3 cells);

}  // namespace kl::models
