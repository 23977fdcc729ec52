// Meshes: X and 3DS loading, placement, surface set-up and built walls.
#include "EngineTestSupport.h"

#include "korlith3d/KLMaterialFactory.h"
#include "korlith3d/KLMesh.h"
#include "korlith3d/KLScene.h"
#include "korlith3d/KLTextureFactory.h"

#include "scene/MeshData.h"

#include <QCoreApplication>
#include <QDir>

#include <cmath>

using kltest::EngineTest;

namespace {

class MeshTest : public EngineTest {
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        scene = std::make_unique<KLScene>();
    }
    void TearDown() override
    {
        scene.reset();
        EngineTest::TearDown();
    }
    std::unique_ptr<KLScene> scene;
};

void expectVector(const D3DVECTOR& v, float x, float y, float z, float tolerance = 1e-4f)
{
    EXPECT_NEAR(v.x, x, tolerance);
    EXPECT_NEAR(v.y, y, tolerance);
    EXPECT_NEAR(v.z, z, tolerance);
}

// Direct3D's front faces wind clockwise, so (v1 - v0) x (v2 - v0) points out of
// the front: on a closed convex model, away from its centre. With
// `checkNormals` the vertex normals must point the same way.
void expectFrontFacesOutward(const KLMesh& mesh, bool checkNormals)
{
    const auto& geometry = mesh.data()->geometry;
    glm::vec3 centre(0.0f);
    for (const auto& v : geometry.vertices)
        centre += v.position / float(geometry.vertices.size());
    for (size_t i = 0; i + 2 < geometry.indices.size(); i += 3) {
        const auto& a = geometry.vertices[geometry.indices[i]];
        const auto& b = geometry.vertices[geometry.indices[i + 1]];
        const auto& c = geometry.vertices[geometry.indices[i + 2]];
        const glm::vec3 face = glm::cross(b.position - a.position, c.position - a.position);
        const glm::vec3 outward = (a.position + b.position + c.position) / 3.0f - centre;
        EXPECT_GT(glm::dot(face, outward), 0.0f) << "triangle " << i / 3;
        if (checkNormals) {
            EXPECT_GT(glm::dot(a.normal, outward), 0.0f) << "triangle " << i / 3;
        }
    }
}

TEST_F(MeshTest, LoadsXFilesWithTheirSizeAndLeftHandedOrientation)
{
    const QByteArray box = kltest::exportBox("x", -1, 0, 2, 3, 5, 4);
    ASSERT_FALSE(box.isEmpty());
    writeFile("Box.X", box);
    KLMesh mesh = scene->CreateMesh("Box");
    mesh.LoadX("box.x", true, true);   // found without regard to case
    EXPECT_EQ(mesh.GetTriangleCount(), 12);
    EXPECT_EQ(mesh.GetVertexCount(), 24);
    D3DVECTOR lo, hi;
    mesh.GetBoundingBox(lo, hi);
    // The exporter wrote the box into the file's left-handed system (z mirrored);
    // the engine keeps the file's own numbers.
    expectVector(lo, -1, 0, -4);
    expectVector(hi, 3, 5, -2);
    EXPECT_EQ(mesh.GetName(), "Box");
    // (Assimp's X exporter writes unmirrored normals, so only the winding is checked.)
    expectFrontFacesOutward(mesh, false);
}

TEST_F(MeshTest, Loads3dsFilesTurnedToYUp)
{
    const QByteArray box = kltest::exportBox("3ds", 0, 0, 0, 2, 4, 6);
    ASSERT_FALSE(box.isEmpty());
    writeFile("box.3ds", box);
    KLMesh mesh = scene->CreateMesh("Box");
    mesh.Load3DS("box.3ds", true, true, false, true, true);
    mesh.Optimize();
    EXPECT_EQ(mesh.GetTriangleCount(), 12);
    expectFrontFacesOutward(mesh, true);
    EXPECT_GE(mesh.GetVertexCount(), 8);
    D3DVECTOR lo, hi;
    mesh.GetBoundingBox(lo, hi);
    // Extents survive (the axes may be exchanged by the z-up conversion).
    const float sizes[3] = {hi.x - lo.x, hi.y - lo.y, hi.z - lo.z};
    std::vector<float> sorted(std::begin(sizes), std::end(sizes));
    std::sort(sorted.begin(), sorted.end());
    EXPECT_NEAR(sorted[0], 2, 1e-3);
    EXPECT_NEAR(sorted[1], 4, 1e-3);
    EXPECT_NEAR(sorted[2], 6, 1e-3);
}

TEST_F(MeshTest, GeneratedPreviewModelsLoadWhenPresent)
{
    const QDir models(QCoreApplication::applicationDirPath() + "/../Glazery/Data/models");
    const QStringList files = models.entryList({"*.x", "*.X", "*.3ds"}, QDir::Files);
    if (files.isEmpty())
        GTEST_SKIP() << "no generated models in " << models.path().toStdString();
    for (const QString& file : files) {
        SCOPED_TRACE(file.toStdString());
        KLMesh mesh = scene->CreateMesh(file);
        if (file.endsWith("3ds", Qt::CaseInsensitive))
            mesh.Load3DS(models.filePath(file));
        else
            mesh.LoadX(models.filePath(file));
        EXPECT_GT(mesh.GetTriangleCount(), 0);
        D3DVECTOR lo, hi;
        mesh.GetBoundingBox(lo, hi);
        EXPECT_LT(lo.x, hi.x);
        EXPECT_LT(lo.y, hi.y);
        // Front faces (clockwise) and vertex normals agree for nearly every triangle.
        const auto& geometry = mesh.data()->geometry;
        int agreeing = 0;
        for (size_t i = 0; i + 2 < geometry.indices.size(); i += 3) {
            const auto& a = geometry.vertices[geometry.indices[i]];
            const auto& b = geometry.vertices[geometry.indices[i + 1]];
            const auto& c = geometry.vertices[geometry.indices[i + 2]];
            const glm::vec3 face = glm::cross(b.position - a.position, c.position - a.position);
            agreeing += glm::dot(face, a.normal + b.normal + c.normal) > 0.0f ? 1 : 0;
        }
        EXPECT_GT(agreeing, mesh.GetTriangleCount() * 9 / 10);
    }
}

TEST_F(MeshTest, MalformedAndMissingModelsRaiseErrorsAndLeaveTheMeshAlone)
{
    writeFile("good.x", kltest::exportBox("x", 0, 0, 0, 1, 1, 1));
    KLMesh mesh = scene->CreateMesh("M");
    mesh.LoadX("good.x");

    EXPECT_KLERROR(mesh.LoadX("missing.x"), KLERR_FILE_NOT_FOUND, "missing.x");
    writeFile("notx.x", "not a model at all");
    EXPECT_KLERROR(mesh.LoadX("notx.x"), KLERR_BAD_FILE_FORMAT, "notx.x");
    // A face that names a vertex the mesh does not have.
    writeFile("badindex.x", "xof 0303txt 0032\nMesh m { 3; 0;0;0;, 1;1;1;, 0;1;0;; 1; 3;0;1;5;;}");
    EXPECT_KLERROR(mesh.LoadX("badindex.x"), KLERR_BAD_FILE_FORMAT, "badindex.x");
    writeFile("noise.3ds", QByteArray(4096, '\x4d'));
    EXPECT_KLERROR(mesh.Load3DS("noise.3ds"), KLERR_BAD_FILE_FORMAT, "noise.3ds");
    writeFile("empty.x", {});
    EXPECT_KLERROR(mesh.LoadX("empty.x"), KLERR_BAD_FILE_FORMAT, "empty.x");
    const QByteArray box3ds = kltest::exportBox("3ds", 0, 0, 0, 1, 1, 1);
    writeFile("cut.3ds", box3ds.left(box3ds.size() / 2));
    try {
        mesh.Load3DS("cut.3ds");   // a cut file may still hold whole triangles; it must not crash
    } catch (const KLError& error) {
        EXPECT_EQ(error.Number(), KLERR_BAD_FILE_FORMAT);
    }
    mesh.LoadX("good.x");
    EXPECT_EQ(mesh.GetTriangleCount(), 12);
}

TEST_F(MeshTest, RotationAnglesAndMatrixAgree)
{
    KLMesh mesh = scene->CreateMesh("R");
    mesh.SetRotation(0, 90, 0);
    const D3DMATRIX m = mesh.GetRotationMatrix();
    // Yaw 90 degrees in a left-handed system turns the right axis (+x) to -z.
    EXPECT_NEAR(m.m[0][0], 0, 1e-5);
    EXPECT_NEAR(m.m[0][2], -1, 1e-5);
    EXPECT_NEAR(m.m[2][0], 1, 1e-5);   // forward (+z) turns to +x

    mesh.SetRotation(30, 45, 10);
    const D3DMATRIX combined = mesh.GetRotationMatrix();
    mesh.SetRotation(0, 0, 0);
    mesh.SetRotationMatrix(combined);
    expectVector(mesh.GetRotation(), 30, 45, 10, 1e-3f);

    mesh.SetPosition(1, 2, 3);
    mesh.SetScale(2);
    const D3DMATRIX world = mesh.GetWorldMatrix();
    EXPECT_FLOAT_EQ(world.m[3][0], 1);
    EXPECT_FLOAT_EQ(world.m[3][1], 2);
    EXPECT_FLOAT_EQ(world.m[3][2], 3);
    expectVector(mesh.GetScale(), 2, 2, 2);
}

TEST_F(MeshTest, SurfaceSettingsApplyToAllGroupsAndCheckIds)
{
    KLTextureFactory textures;
    KLMaterialFactory materials;
    QImage image = kltest::testPattern(4, 4);
    ASSERT_TRUE(image.save(path("t.png")));
    const int texture = textures.LoadTexture("t.png", "Fabric");
    const int material = materials.CreateMaterial("Mat1");

    KLMesh mesh = scene->CreateMesh("S");
    writeFile("box.x", kltest::exportBox("x", 0, 0, 0, 1, 1, 1));
    mesh.LoadX("box.x");
    mesh.SetTexture(texture);
    mesh.SetMaterial(material);
    for (int g = 0; g < mesh.GetGroupCount(); ++g) {
        EXPECT_EQ(mesh.GetTexture(g), texture);
        EXPECT_EQ(mesh.GetMaterial(g), material);
    }
    EXPECT_KLERROR(mesh.SetTexture(99), KLERR_UNKNOWN_ID, "99");
    EXPECT_KLERROR(mesh.SetMaterial(42), KLERR_UNKNOWN_ID, "42");
    EXPECT_KLERROR(mesh.SetTexture(texture, 7), KLERR_INVALID_CALL, "7");

    EXPECT_KLERROR(mesh.SetBumpMapping(true, texture, 1, -1, 5), KLERR_UNKNOWN_ID, "light 1");
    // Switching bump mapping off accepts a texture that is already deleted.
    textures.DeleteTexture(texture);
    mesh.SetBumpMapping(false, texture, 1, -1, 5);
    EXPECT_FALSE(mesh.GetBumpMapping());
}

TEST_F(MeshTest, TexturedWallSpansTheGivenRectangle)
{
    KLTextureFactory textures;
    ASSERT_TRUE(kltest::testPattern(4, 4).save(path("back.jpg")));
    const int back = textures.LoadTexture("back.jpg", "Back");
    KLMesh mesh = scene->CreateMesh("Backg");
    EXPECT_EQ(mesh.AddWall(back, -200, 50, 200, 50, 400, 0, 8, 8, true, false), 0);
    EXPECT_EQ(mesh.GetTriangleCount(), 4);   // both sides
    EXPECT_EQ(mesh.GetTexture(0), back);
    D3DVECTOR lo, hi;
    mesh.GetBoundingBox(lo, hi);
    expectVector(lo, -200, 0, 50);
    expectVector(hi, 200, 400, 50);
    EXPECT_KLERROR(mesh.AddWall(back, 1, 1, 1, 1, 10, 0, 1, 1, false, false), KLERR_INVALID_CALL, "Backg");
}

TEST_F(MeshTest, MeshesLeaveTheSceneWithTheirLastHandle)
{
    KLMesh kept = scene->CreateMesh("kept");
    {
        KLMesh temporary = scene->CreateMesh("temporary");
        EXPECT_EQ(scene->GetMeshCount(), 2);
    }
    EXPECT_EQ(scene->GetMeshCount(), 1);
    EXPECT_EQ(scene->FindMesh("kept"), kept);
    EXPECT_TRUE(scene->FindMesh("temporary").IsNull());
    EXPECT_KLERROR(KLMesh().SetVisible(false), KLERR_NOT_INITIALISED, "mesh");
}

} // namespace
