// X files whose material list holds fewer materials than it declares are
// refused with a message (the importer would crash on them); complete lists,
// inline or by reference, load with their colours.
#include "model/ModelLoader.h"

#include <gtest/gtest.h>

using namespace kl;

namespace {

QByteArray triangleWithMaterials(const QByteArray& before, const QByteArray& list)
{
    return "xof 0303txt 0032\n" + before +
           "Mesh Tri {\n"
           " 3; 0.0;0.0;0.0;, 1.0;0.0;0.0;, 0.0;1.0;0.0;;\n"
           " 1; 3;0,1,2;;\n"
           " MeshMaterialList { " + list + " }\n"
           "}\n";
}

model::LoadedModel load(const QByteArray& bytes)
{
    return model::loadModelData(bytes, model::ModelKind::DirectX, {}, "tri.x");
}

const QByteArray orange = "Material Orange { 1.0;0.5;0.25;1.0;; 8.0; 0.1;0.1;0.1;; 0.0;0.0;0.0;; }\n";

} // namespace

TEST(ModelFileTest, AMaterialListMissingMaterialsIsRefused)
{
    const auto none = load(triangleWithMaterials("", "1; 1; 0;;"));
    EXPECT_FALSE(none.ok());
    EXPECT_EQ(none.error, "Invalid model file tri.x: its material list declares 1 materials but holds 0");

    // Another object where the material should be (a damaged file, as found).
    const auto other = load(triangleWithMaterials("", "1; 1; 0;; ` " + orange));
    EXPECT_FALSE(other.ok());
    EXPECT_TRUE(other.error.contains("declares 1 materials but holds 0")) << other.error.toStdString();

    // A quote inside a name is part of the name to the importer, not the
    // start of a string running on to the next quote (found by fuzzing).
    const auto quoted = load(triangleWithMaterials("Frame Root\"{ FrameTransformMatrix { 1.0;; } }\n",
                                                   "1; 1; 0;; Ma_terial { TextureFilename { \"a.bmp\"; } }"));
    EXPECT_TRUE(quoted.error.contains("declares 1 materials but holds 0")) << quoted.error.toStdString();

    // A list of no materials, with faces or without (found by fuzzing).
    for (const QByteArray& list : {QByteArray("0; 1; 0;;"), QByteArray("0; 0;;")}) {
        const auto noMaterials = load(triangleWithMaterials("", list));
        EXPECT_EQ(noMaterials.error, "Invalid model file tri.x: its material list declares no materials");
    }

    const auto fewer = load(triangleWithMaterials("", "2; 1; 1;; " + orange));
    EXPECT_TRUE(fewer.error.contains("declares 2 materials but holds 1")) << fewer.error.toStdString();
    EXPECT_TRUE(fewer.geometry.vertices.empty());
}

TEST(ModelFileTest, CompleteMaterialListsLoadInlineOrByReference)
{
    for (const auto& [before, list] : {std::pair<QByteArray, QByteArray>{"", "1; 1; 0;; " + orange},
                                       {orange, "1; 1; 0;; { Orange }"},
                                       {orange, "1; 1; 0;; {Orange} // a comment\n"}}) {
        SCOPED_TRACE(list.toStdString());
        const auto model = load(triangleWithMaterials(before, list));
        ASSERT_TRUE(model.ok()) << model.error.toStdString();
        ASSERT_EQ(model.groups.size(), 1u);
        EXPECT_FLOAT_EQ(model.groups[0].colors.diffuse.g, 0.5f);
        EXPECT_FLOAT_EQ(model.groups[0].colors.diffuse.b, 0.25f);
        EXPECT_EQ(model.geometry.indices.size(), 3u);
    }
}

TEST(ModelFileTest, AFaceWithoutVerticesIsRefusedBeforeProcessing)
{
    // Assimp's triangulation asserts on such a face and ends the program.
    const QByteArray bytes = "xof 0303txt 0032\n"
                             "Mesh Tri {\n"
                             " 3; 0.0;0.0;0.0;, 1.0;0.0;0.0;, 0.0;1.0;0.0;;\n"
                             " 2; 3;0,1,2;, 0;;\n"
                             "}\n";
    const auto model = load(bytes);
    EXPECT_FALSE(model.ok());
    EXPECT_TRUE(model.error.contains("has no vertices")) << model.error.toStdString();
    EXPECT_TRUE(model.geometry.vertices.empty());
}

TEST(ModelFileTest, ArrayCountsNoFileCouldHoldAreRefusedBeforeReading)
{
    // Assimp reserves room for the count first: 12 GB for these vertices (found by fuzzing).
    const auto vertices = load("xof 0303txt 0032\nMesh Tri {\n 1000000000; 0.0;0.0;0.0;;\n 1; 3;0,0,0;;\n}\n");
    EXPECT_EQ(vertices.error, "Invalid model file tri.x: Mesh declares 1000000000 elements, more than the file can hold");
    const auto faces = load("xof 0303txt 0032\nMesh Tri {\n 3; 0.0;0.0;0.0;, 1.0;0.0;0.0;, 0.0;1.0;0.0;;\n"
                            " 99999999; 3;0,1,2;;\n}\n");
    EXPECT_EQ(faces.error, "Invalid model file tri.x: Mesh declares 99999999 faces, more than the file can hold");
    const auto normals = load(triangleWithMaterials("", "1; 1; 0;; " + orange).replace(
        "MeshMaterialList", "MeshNormals { 50000; 0.0;0.0;1.0;; 1; 3;0,0,0;; }\n MeshMaterialList"));
    EXPECT_TRUE(normals.error.contains("MeshNormals declares 50000 elements")) << normals.error.toStdString();
    // A count read as Assimp reads it: "-8.000" is -8, billions once unsigned (found by fuzzing).
    const auto negative = load("xof 0303txt 0032\nMesh Tri {\n 00; -8.000, 3;0,1,2;;\n}\n");
    EXPECT_EQ(negative.error, "Invalid model file tri.x: Mesh declares a negative number of faces, more than the "
                              "file can hold");
    // Counts a file can hold still load.
    EXPECT_TRUE(load(triangleWithMaterials("", "1; 1; 0;; " + orange)).ok());
}
