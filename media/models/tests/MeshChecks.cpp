#include "MeshChecks.h"

#include <assimp/Importer.hpp>
#include <assimp/postprocess.h>

#include <cmath>
#include <limits>
#include <map>
#include <tuple>

namespace kl::models::test {

namespace {

using Key = std::tuple<long long, long long, long long>;

Key keyOf(glm::vec3 p)
{
    constexpr float kGrid = 1.0e3f;
    return {std::llround(p.x * kGrid), std::llround(p.y * kGrid), std::llround(p.z * kGrid)};
}

glm::vec3 faceNormal(const TriangleSoup& soup, const glm::uvec3& t)
{
    return glm::cross(soup.positions[t.y] - soup.positions[t.x],
                      soup.positions[t.z] - soup.positions[t.x]);
}

}  // namespace

TriangleSoup soupOf(const Model& model)
{
    TriangleSoup soup;
    for (const auto& part : model.parts) {
        const auto base = static_cast<unsigned>(soup.positions.size());
        for (const auto& v : part.vertices) {
            soup.positions.push_back(v.position);
            soup.normals.push_back(v.normal);
            soup.uvs.push_back(v.uv);
        }
        for (const auto& t : part.triangles)
            soup.triangles.push_back(t + glm::uvec3(base));
        ++soup.meshCount;
        soup.largestMeshVertices = std::max(soup.largestMeshVertices, part.vertices.size());
    }
    return soup;
}

TriangleSoup soupOf(const aiScene& scene)
{
    TriangleSoup soup;
    for (unsigned m = 0; m < scene.mNumMeshes; ++m) {
        const aiMesh& mesh = *scene.mMeshes[m];
        const auto base = static_cast<unsigned>(soup.positions.size());
        const bool complete = mesh.HasNormals() && mesh.HasTextureCoords(0);
        soup.everyMeshHasNormalsAndUvs = soup.everyMeshHasNormalsAndUvs && complete;
        for (unsigned i = 0; i < mesh.mNumVertices; ++i) {
            const aiVector3D& p = mesh.mVertices[i];
            soup.positions.emplace_back(p.x, p.y, p.z);
            soup.normals.push_back(mesh.HasNormals() ? glm::vec3(mesh.mNormals[i].x,
                                                                 mesh.mNormals[i].y,
                                                                 mesh.mNormals[i].z)
                                                     : glm::vec3(0.0f));
            soup.uvs.push_back(mesh.HasTextureCoords(0)
                                   ? glm::vec2(mesh.mTextureCoords[0][i].x,
                                               mesh.mTextureCoords[0][i].y)
                                   : glm::vec2(0.0f));
        }
        for (unsigned f = 0; f < mesh.mNumFaces; ++f) {
            const aiFace& face = mesh.mFaces[f];
            if (face.mNumIndices == 3)
                soup.triangles.emplace_back(base + face.mIndices[0], base + face.mIndices[1],
                                            base + face.mIndices[2]);
        }
        ++soup.meshCount;
        soup.largestMeshVertices = std::max<std::size_t>(soup.largestMeshVertices, mesh.mNumVertices);
    }
    return soup;
}

std::optional<TriangleSoup> importFile(const std::filesystem::path& file, unsigned extraFlags,
                                       std::string& error)
{
    Assimp::Importer importer;
    const aiScene* scene = importer.ReadFile(
        file.string(), aiProcess_Triangulate | aiProcess_PreTransformVertices | extraFlags);
    if (scene == nullptr || scene->mRootNode == nullptr) {
        error = importer.GetErrorString();
        return std::nullopt;
    }
    return soupOf(*scene);
}

EdgeReport edgeReport(const TriangleSoup& soup)
{
    std::map<Key, unsigned> welded;
    std::vector<unsigned> id(soup.positions.size());
    for (std::size_t i = 0; i < soup.positions.size(); ++i)
        id[i] = welded.emplace(keyOf(soup.positions[i]), static_cast<unsigned>(welded.size()))
                    .first->second;
    std::map<std::pair<unsigned, unsigned>, int> directed;
    for (const auto& t : soup.triangles) {
        const unsigned a = id[t.x], b = id[t.y], c = id[t.z];
        if (a == b || b == c || a == c)
            continue;
        ++directed[{a, b}];
        ++directed[{b, c}];
        ++directed[{c, a}];
    }
    EdgeReport report;
    for (const auto& [edge, count] : directed) {
        if (count > 1)
            ++report.overusedEdges;
        if (directed.find({edge.second, edge.first}) == directed.end())
            ++report.openEdges;
    }
    return report;
}

double signedVolume(const TriangleSoup& soup)
{
    double volume = 0.0;
    for (const auto& t : soup.triangles) {
        const glm::dvec3 a(soup.positions[t.x]), b(soup.positions[t.y]), c(soup.positions[t.z]);
        volume += glm::dot(a, glm::cross(b, c)) / 6.0;
    }
    return volume;
}

double normalAgreement(const TriangleSoup& soup)
{
    std::size_t agreeing = 0;
    std::size_t corners = 0;
    for (const auto& t : soup.triangles) {
        const glm::vec3 n = faceNormal(soup, t);
        if (glm::length(n) < 1.0e-6f)
            continue;
        for (int i = 0; i < 3; ++i) {
            ++corners;
            if (glm::dot(soup.normals[t[i]], n) > 0.0f)
                ++agreeing;
        }
    }
    return corners == 0 ? 0.0 : static_cast<double>(agreeing) / static_cast<double>(corners);
}

double meanOutwardness(const TriangleSoup& soup)
{
    if (soup.positions.empty())
        return 0.0;
    glm::dvec3 centroid(0.0);
    for (const auto& p : soup.positions)
        centroid += glm::dvec3(p);
    centroid /= static_cast<double>(soup.positions.size());
    double sum = 0.0;
    for (std::size_t i = 0; i < soup.positions.size(); ++i) {
        const glm::dvec3 away = glm::dvec3(soup.positions[i]) - centroid;
        if (glm::length(away) > 1.0e-9 && glm::length(soup.normals[i]) > 0.0f)
            sum += glm::dot(glm::normalize(away), glm::normalize(glm::dvec3(soup.normals[i])));
    }
    return sum / static_cast<double>(soup.positions.size());
}

glm::vec3 boundsMin(const TriangleSoup& soup)
{
    glm::vec3 lo(std::numeric_limits<float>::max());
    for (const auto& p : soup.positions)
        lo = glm::min(lo, p);
    return lo;
}

glm::vec3 boundsMax(const TriangleSoup& soup)
{
    glm::vec3 hi(std::numeric_limits<float>::lowest());
    for (const auto& p : soup.positions)
        hi = glm::max(hi, p);
    return hi;
}

}  // namespace kl::models::test
