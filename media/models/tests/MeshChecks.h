#pragma once

#include "shapes/MeshData.h"

#include <assimp/scene.h>

#include <filesystem>
#include <optional>
#include <string>

namespace kl::models::test {

// All triangles of a model in one list, positions welded.
struct TriangleSoup {
    std::vector<glm::vec3> positions;
    std::vector<glm::vec3> normals;
    std::vector<glm::vec2> uvs;
    std::vector<glm::uvec3> triangles;
    std::size_t meshCount = 0;
    std::size_t largestMeshVertices = 0;
    bool everyMeshHasNormalsAndUvs = true;
};

TriangleSoup soupOf(const Model& model);
TriangleSoup soupOf(const aiScene& scene);

// Imports a file through Assimp (node transforms applied). Empty on failure,
// with the importer's message in error.
std::optional<TriangleSoup> importFile(const std::filesystem::path& file, unsigned extraFlags,
                                       std::string& error);

struct EdgeReport {
    std::size_t openEdges = 0;        // used by one triangle only
    std::size_t overusedEdges = 0;    // same direction used twice: winding flips
};
// Edges after welding positions; triangles that collapse when welded are left out.
EdgeReport edgeReport(const TriangleSoup& soup);

double signedVolume(const TriangleSoup& soup);

// Share of triangle corners whose vertex normal faces the same side as the triangle.
double normalAgreement(const TriangleSoup& soup);

// Mean of dot(normal, direction away from the centroid) over all vertices.
double meanOutwardness(const TriangleSoup& soup);

glm::vec3 boundsMin(const TriangleSoup& soup);
glm::vec3 boundsMax(const TriangleSoup& soup);

}  // namespace kl::models::test
