#pragma once

#include "MeshData.h"

#include <functional>
#include <span>

namespace kl::models {

// Adds a vertex and returns its index.
std::uint32_t addVertex(MeshPart& part, const Vertex& vertex);

// Adds a triangle unless it has (almost) no area.
void addTriangle(MeshPart& part, std::uint32_t a, std::uint32_t b, std::uint32_t c);

// A parametric surface sampled on a (uSteps + 1) x (vSteps + 1) grid. The
// sample function returns position, normal and texture coordinate for (u, v)
// in [0, 1]. With orientByNormals each triangle is wound so that it faces the
// way the sampled normals point; otherwise the grid order is kept.
using SurfaceSample = std::function<Vertex(float u, float v)>;
void addSurface(MeshPart& part, int uSteps, int vSteps, const SurfaceSample& sample,
                bool orientByNormals = true);

// A flat convex polygon with its own vertices (a hard edge all round),
// given counter-clockwise seen from the side it faces.
void addFlatPolygon(MeshPart& part, std::span<const glm::vec3> corners,
                    std::span<const glm::vec2> uvs);

// As addFlatPolygon, but the corners may come in either order: the polygon
// is wound to face the given direction.
void addFlatPolygonFacing(MeshPart& part, std::span<const glm::vec3> corners,
                          std::span<const glm::vec2> uvs, glm::vec3 facing);

// Axis-aligned box, six flat faces.
void addBox(MeshPart& part, glm::vec3 min, glm::vec3 max);

// Surface of revolution about the y axis between two radii: smooth side and
// optional flat caps. A radius of 0 closes that end in a point (a cone).
void addFrustum(MeshPart& part, float radiusBottom, float radiusTop, float yBottom, float yTop,
                int segments, bool capBottom, bool capTop);

// Flat ring in the plane y, facing up or down.
void addAnnulus(MeshPart& part, float innerRadius, float outerRadius, float y, bool facingUp,
                int segments);

// Appends all vertices and triangles of one part to another.
void appendPart(MeshPart& into, const MeshPart& from);

// Recomputes vertex normals from the faces: faces meeting at the same
// position are averaged when their normals differ by less than creaseDegrees,
// so seams between patches are smooth and sharp rims stay sharp.
void smoothNormals(MeshPart& part, float creaseDegrees);

// Moves and turns every vertex (normals follow).
void transformPart(MeshPart& part, const glm::mat4& transform);
void transformModel(Model& model, const glm::mat4& transform);

struct Bounds {
    glm::vec3 min{0.0f};
    glm::vec3 max{0.0f};
    glm::vec3 size() const { return max - min; }
    glm::vec3 centre() const { return (min + max) * 0.5f; }
};
Bounds boundsOf(const Model& model);

// Moves the model so that its bounding box is centred on the origin.
void centreModel(Model& model);

}  // namespace kl::models
