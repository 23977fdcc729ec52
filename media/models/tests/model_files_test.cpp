// The generated model files, read back through Assimp as the engine reads them.
#include "MeshChecks.h"
#include "shapes/ModelCatalog.h"

#include <assimp/postprocess.h>
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <random>

namespace kl::models::test {
namespace {

namespace fs = std::filesystem;

fs::path freshTempFolder(const std::string& label)
{
    std::random_device random;
    const fs::path folder =
        fs::temp_directory_path() / ("kl_models_" + label + "_" + std::to_string(random()));
    fs::create_directories(folder);
    return folder;
}

std::string readBytes(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class GeneratedModels : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        root_ = freshTempFolder("files");
        writeAllModels(root_);
    }
    static void TearDownTestSuite() { fs::remove_all(root_); }

    static TriangleSoup load(const std::string& relativePath, unsigned flags = 0)
    {
        std::string error;
        auto soup = importFile(root_ / relativePath, flags, error);
        EXPECT_TRUE(soup.has_value()) << relativePath << ": " << error;
        return soup.value_or(TriangleSoup{});
    }

    static fs::path root_;
};

fs::path GeneratedModels::root_;

TEST_F(GeneratedModels, EveryFileLoadsWithNormalsAndTextureCoordinates)
{
    for (const ModelFile& entry : modelCatalog()) {
        SCOPED_TRACE(entry.relativePath);
        const fs::path file = root_ / entry.relativePath;
        // The exact name, case included, is what the tools ask for.
        bool exactNameListed = false;
        for (const auto& item : fs::directory_iterator(file.parent_path()))
            exactNameListed = exactNameListed || item.path().filename() == file.filename();
        EXPECT_TRUE(exactNameListed);

        const TriangleSoup soup = load(entry.relativePath);
        EXPECT_GT(soup.positions.size(), 0u);
        EXPECT_GT(soup.triangles.size(), 0u);
        EXPECT_TRUE(soup.everyMeshHasNormalsAndUvs);
        if (entry.format == ModelFormat::Studio3ds) {
            EXPECT_LE(soup.largestMeshVertices, 65535u);  // 16-bit counts in 3DS
        }
        if (entry.format == ModelFormat::DirectX) {
            EXPECT_EQ(readBytes(file).substr(0, 11), "xof 0303txt");
        }
    }
}

TEST_F(GeneratedModels, SurfacesAreClosedWoundOutwardAndNormalsAgree)
{
    for (const unsigned flags : {0u, static_cast<unsigned>(aiProcess_ConvertToLeftHanded)}) {
        for (const ModelFile& entry : modelCatalog()) {
            SCOPED_TRACE(std::string(entry.relativePath) + (flags ? " (left-handed)" : ""));
            const TriangleSoup soup = load(entry.relativePath, flags);
            const EdgeReport edges = edgeReport(soup);
            EXPECT_EQ(edges.overusedEdges, 0u);
            // The teapot's handle and spout run into the body and the spout is
            // hollow, as in the classic patch data.
            if (std::string(entry.relativePath).find("Teapot") == std::string::npos) {
                EXPECT_EQ(edges.openEdges, 0u);
            }
            EXPECT_GT(signedVolume(soup), 0.0);
            EXPECT_GT(normalAgreement(soup), 0.98);
            EXPECT_GT(meanOutwardness(soup), 0.0);
        }
    }
}

TEST_F(GeneratedModels, PreviewObjectsAreCentredAndAboutTwentyAcross)
{
    for (const ModelFile& entry : modelCatalog()) {
        if (std::string(entry.relativePath).rfind("Glazery/", 0) != 0)
            continue;
        SCOPED_TRACE(entry.relativePath);
        const TriangleSoup soup = load(entry.relativePath);
        const glm::vec3 lo = boundsMin(soup), hi = boundsMax(soup);
        const glm::vec3 centre = (lo + hi) * 0.5f;
        EXPECT_LT(glm::length(centre), 0.5f);
        const float widest = glm::max(hi.x - lo.x, glm::max(hi.y - lo.y, hi.z - lo.z));
        EXPECT_GT(widest, 15.0f);
        EXPECT_LT(widest, 25.0f);
    }
}

TEST_F(GeneratedModels, SceneMeshesHaveTheirSizesAndGroundLevels)
{
    // Pole: 60 tall, top at the origin (the particle editor shows it at half
    // size with the origin at the emitter, so its foot meets the floor).
    const TriangleSoup pole = load("Emberly/mesh/pole.3ds");
    EXPECT_NEAR(boundsMax(pole).y - boundsMin(pole).y, 60.0f, 1.0f);
    EXPECT_NEAR(boundsMax(pole).y, 0.0f, 0.01f);
    EXPECT_LT(boundsMax(pole).x - boundsMin(pole).x, 15.0f);

    const TriangleSoup floor = load("Emberly/mesh/floor.3ds");
    EXPECT_NEAR(boundsMax(floor).x - boundsMin(floor).x, 400.0f, 0.5f);
    EXPECT_NEAR(boundsMax(floor).z - boundsMin(floor).z, 400.0f, 0.5f);
    EXPECT_NEAR(boundsMax(floor).y, 0.0f, 0.01f);
    EXPECT_LT(boundsMax(floor).y - boundsMin(floor).y, 5.0f);

    const TriangleSoup tree = load("Landlume/Models/tree.x");
    EXPECT_NEAR(boundsMin(tree).y, 0.0f, 0.01f);
    EXPECT_NEAR(boundsMax(tree).y, 40.0f, 1.0f);

    const TriangleSoup house = load("Landlume/Models/house.3ds");
    EXPECT_NEAR(boundsMin(house).y, 0.0f, 0.01f);
    const glm::vec3 houseSize = boundsMax(house) - boundsMin(house);
    EXPECT_GT(glm::max(houseSize.x, houseSize.y), 20.0f);
    EXPECT_LT(glm::max(houseSize.x, houseSize.y), 35.0f);

    const TriangleSoup rock = load("Landlume/Models/rock.x");
    EXPECT_LT(boundsMin(rock).y, 0.0f);  // sits a little in the ground
    EXPECT_GT(boundsMax(rock).y, 3.0f);
}

TEST_F(GeneratedModels, TexturesStayUprightThroughTheFiles)
{
    // Read back in Assimp's convention (v = 1 at the top of the picture), the
    // top of each round object maps to the top of its texture.
    for (const char* file : {"Glazery/Data/models/Sphere.X", "Glazery/Data/models/Cylinder.X",
                             "Emberly/mesh/pole.3ds"}) {
        SCOPED_TRACE(file);
        const TriangleSoup soup = load(file);
        const float top = boundsMax(soup).y;
        const float bottom = boundsMin(soup).y;
        float vTop = 0.0f, vBottom = 0.0f;
        int topCount = 0, bottomCount = 0;
        for (std::size_t i = 0; i < soup.positions.size(); ++i) {
            // Side vertices only: caps carry their own planar mapping.
            if (std::abs(soup.normals[i].y) > 0.99f && std::string(file).find("Sphere") == std::string::npos)
                continue;
            if (soup.positions[i].y > top - 0.5f) {
                vTop += soup.uvs[i].y;
                ++topCount;
            } else if (soup.positions[i].y < bottom + 0.5f) {
                vBottom += soup.uvs[i].y;
                ++bottomCount;
            }
        }
        ASSERT_GT(topCount, 0);
        ASSERT_GT(bottomCount, 0);
        EXPECT_GT(vTop / topCount, vBottom / bottomCount);
    }
}

TEST_F(GeneratedModels, LightMarkerPointsAlongItsOwnY)
{
    const TriangleSoup arrow = load("Landlume/Models/spot.x", aiProcess_ConvertToLeftHanded);
    const glm::vec3 lo = boundsMin(arrow), hi = boundsMax(arrow);
    EXPECT_GT(hi.y - lo.y, 2.0f * (hi.x - lo.x));
    // The tip is the single highest point on the axis; the broad head sits
    // in the upper half.
    glm::vec3 tip = arrow.positions.front();
    float widestRadius = 0.0f;
    float widestAt = 0.0f;
    for (const auto& p : arrow.positions) {
        if (p.y > tip.y)
            tip = p;
        const float radius = glm::length(glm::vec2(p.x, p.z));
        if (radius > widestRadius) {
            widestRadius = radius;
            widestAt = p.y;
        }
    }
    EXPECT_LT(glm::length(glm::vec2(tip.x, tip.z)), 0.01f);
    EXPECT_GT(widestAt, 0.0f);
}

TEST_F(GeneratedModels, SkullFacesTheMaterialEditorCamera)
{
    // Camera at z = -30 looking along +z in the file's left-handed frame:
    // the face (sockets, teeth) is on the -z side.
    const TriangleSoup skull = load("Glazery/Data/models/Skull.X", aiProcess_ConvertToLeftHanded);
    EXPECT_LT(skull.triangles.size(), 30000u);
    glm::vec3 jaw(0.0f);
    int count = 0;
    const float chinLevel = boundsMin(skull).y + 3.0f;
    for (const auto& p : skull.positions) {
        if (p.y < chinLevel) {
            jaw += p;
            ++count;
        }
    }
    ASSERT_GT(count, 0);
    EXPECT_LT(jaw.z / static_cast<float>(count), -2.0f);
}

TEST(ModelGenerator, WritesTheSameBytesEveryRun)
{
    const fs::path first = freshTempFolder("run1");
    const fs::path second = freshTempFolder("run2");
    writeAllModels(first);
    writeAllModels(second);
    for (const ModelFile& entry : modelCatalog()) {
        SCOPED_TRACE(entry.relativePath);
        const std::string a = readBytes(first / entry.relativePath);
        EXPECT_FALSE(a.empty());
        EXPECT_TRUE(a == readBytes(second / entry.relativePath));
    }
    fs::remove_all(first);
    fs::remove_all(second);
}

TEST(ModelGenerator, UnwritableTargetIsReportedNotIgnored)
{
    const fs::path blocker = freshTempFolder("blocked");
    // A file where the program folder should be: folders cannot be created.
    std::ofstream(blocker / "Glazery") << "not a folder";
    EXPECT_THROW(writeAllModels(blocker), std::exception);
    fs::remove_all(blocker);
}

}  // namespace
}  // namespace kl::models::test
