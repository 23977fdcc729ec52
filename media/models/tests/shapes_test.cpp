// Building blocks of the models, checked on shapes with known answers.
#include "MeshChecks.h"
#include "shapes/MeshBuilder.h"
#include "shapes/Polygonise.h"
#include "shapes/Shapes.h"

#include <glm/gtc/constants.hpp>
#include <glm/gtc/matrix_transform.hpp>
#include <gtest/gtest.h>

#include <cmath>

namespace kl::models::test {
namespace {

Model modelOf(MeshPart part)
{
    Model model;
    model.parts.push_back(std::move(part));
    return model;
}

TEST(Polygonise, SphereFieldGivesAClosedOutwardSurfaceOfTheRightVolume)
{
    const float radius = 5.0f;
    const MeshPart part = polygonise([&](glm::vec3 p) { return glm::length(p) - radius; },
                                     glm::vec3(-6.0f), glm::vec3(6.0f), glm::ivec3(30));
    const TriangleSoup soup = soupOf(modelOf(part));
    const EdgeReport edges = edgeReport(soup);
    EXPECT_EQ(edges.openEdges, 0u);
    EXPECT_EQ(edges.overusedEdges, 0u);
    const double exact = 4.0 / 3.0 * glm::pi<double>() * radius * radius * radius;
    EXPECT_NEAR(signedVolume(soup), exact, exact * 0.03);
    EXPECT_GT(normalAgreement(soup), 0.99);
    for (const auto& v : part.vertices)
        ASSERT_NEAR(glm::dot(v.normal, glm::normalize(v.position)), 1.0f, 0.02f);
}

TEST(Polygonise, SaddlesAndThinNecksStayClosed)
{
    // A gyroid cut to a ball: coarse cells see many faces whose inside corners
    // sit diagonally; neighbouring cells must still agree on every face.
    const auto field = [](glm::vec3 p) {
        const glm::vec3 q = p * 1.7f;
        const float gyroid = std::sin(q.x) * std::cos(q.y) + std::sin(q.y) * std::cos(q.z) +
                             std::sin(q.z) * std::cos(q.x);
        return std::max(gyroid, glm::length(p) - 5.0f);
    };
    const MeshPart part = polygonise(field, glm::vec3(-6.0f), glm::vec3(6.0f), glm::ivec3(17));
    const TriangleSoup soup = soupOf(modelOf(part));
    ASSERT_GT(soup.triangles.size(), 500u);
    const EdgeReport edges = edgeReport(soup);
    EXPECT_EQ(edges.openEdges, 0u);
    EXPECT_EQ(edges.overusedEdges, 0u);
    EXPECT_GT(signedVolume(soup), 0.0);
}

TEST(Polygonise, ShapeCutByTheBoxStaysOpenAndEmptyFieldGivesNothing)
{
    const MeshPart cut = polygonise([](glm::vec3 p) { return glm::length(p) - 5.0f; },
                                    glm::vec3(-6.0f, -6.0f, 0.0f), glm::vec3(6.0f), glm::ivec3(20));
    EXPECT_GT(edgeReport(soupOf(modelOf(cut))).openEdges, 0u);

    const MeshPart none = polygonise([](glm::vec3) { return 1.0f; }, glm::vec3(-1.0f),
                                     glm::vec3(1.0f), glm::ivec3(4));
    EXPECT_TRUE(none.triangles.empty());
}

TEST(MeshBuilder, MirroringKeepsTheSurfaceFacingOutwards)
{
    Model cone = makeCone();
    const double before = signedVolume(soupOf(cone));
    transformModel(cone, glm::scale(glm::mat4(1.0f), glm::vec3(1.0f, 1.0f, -1.0f)));
    const TriangleSoup mirrored = soupOf(cone);
    EXPECT_NEAR(signedVolume(mirrored), before, before * 1e-4);
    EXPECT_GT(normalAgreement(mirrored), 0.99);
}

TEST(MeshBuilder, SmoothingKeepsCreasesAndJoinsSeams)
{
    Model cube = makeCube();
    smoothNormals(cube.parts[0], 60.0f);
    for (const auto& v : cube.parts[0].vertices) {
        const glm::vec3 n = glm::abs(v.normal);
        EXPECT_NEAR(n.x + n.y + n.z, 1.0f, 1e-5f);  // still one axis: edges stay hard
    }

    // Two half cylinders meeting along a seam: the seam vertices get one
    // shared normal after smoothing.
    MeshPart part;
    addFrustum(part, 5.0f, 5.0f, 0.0f, 10.0f, 16, false, false);
    for (auto& v : part.vertices)
        v.normal = glm::vec3(0.0f);
    smoothNormals(part, 60.0f);
    const Vertex& first = part.vertices.front();   // u = 0
    const Vertex& last = part.vertices[16];        // u = 1, same place
    ASSERT_LT(glm::distance(first.position, last.position), 1e-4f);
    EXPECT_NEAR(glm::dot(first.normal, last.normal), 1.0f, 1e-4f);
    EXPECT_NEAR(first.normal.x, 1.0f, 0.01f);
}

TEST(MeshBuilder, ConeApexAndPolesLeaveNoEmptyTriangles)
{
    for (const Model& model : {makeCone(), makeSphere(), makeCylinder()}) {
        const TriangleSoup soup = soupOf(model);
        for (const auto& t : soup.triangles) {
            const float area = glm::length(glm::cross(soup.positions[t.y] - soup.positions[t.x],
                                                      soup.positions[t.z] - soup.positions[t.x]));
            ASSERT_GT(area, 1e-6f);
        }
    }
}

}  // namespace
}  // namespace kl::models::test
