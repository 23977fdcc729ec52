#include "EngineTestSupport.h"

#include <QFile>
#include <QPainter>

#include <assimp/Exporter.hpp>
#include <assimp/scene.h>

namespace kltest {

void EngineTest::SetUp()
{
    ASSERT_TRUE(dir.isValid());
    engine = std::make_unique<KLEngine>();
    engine->SetSearchFolder(dir.path());
}

void EngineTest::TearDown()
{
    engine.reset();
}

void EngineTest::writeFile(const QString& name, const QByteArray& bytes) const
{
    QFile file(path(name));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QImage testPattern(int width, int height)
{
    QImage image(width, height, QImage::Format_ARGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb(x * 255 / std::max(1, width - 1), y * 255 / std::max(1, height - 1), 64));
    return image;
}

QByteArray exportBox(const char* formatId, float minX, float minY, float minZ, float maxX, float maxY, float maxZ)
{
    aiScene scene;
    scene.mRootNode = new aiNode("root");
    scene.mNumMaterials = 1;
    scene.mMaterials = new aiMaterial*[1]{new aiMaterial()};
    aiColor4D red(1.0f, 0.0f, 0.0f, 1.0f);
    scene.mMaterials[0]->AddProperty(&red, 1, AI_MATKEY_COLOR_DIFFUSE);
    scene.mNumMeshes = 1;
    scene.mMeshes = new aiMesh*[1]{new aiMesh()};
    aiMesh& mesh = *scene.mMeshes[0];
    mesh.mPrimitiveTypes = aiPrimitiveType_TRIANGLE;
    mesh.mMaterialIndex = 0;
    // 6 faces x 4 corners, each face its own vertices (flat normals).
    const aiVector3D lo(minX, minY, minZ), hi(maxX, maxY, maxZ);
    const aiVector3D corners[8] = {{lo.x, lo.y, lo.z}, {hi.x, lo.y, lo.z}, {hi.x, hi.y, lo.z}, {lo.x, hi.y, lo.z},
                                   {lo.x, lo.y, hi.z}, {hi.x, lo.y, hi.z}, {hi.x, hi.y, hi.z}, {lo.x, hi.y, hi.z}};
    const int faces[6][4] = {{0, 3, 2, 1}, {4, 5, 6, 7}, {0, 4, 7, 3}, {1, 2, 6, 5}, {0, 1, 5, 4}, {3, 7, 6, 2}};
    const aiVector3D normals[6] = {{0, 0, -1}, {0, 0, 1}, {-1, 0, 0}, {1, 0, 0}, {0, -1, 0}, {0, 1, 0}};
    mesh.mNumVertices = 24;
    mesh.mVertices = new aiVector3D[24];
    mesh.mNormals = new aiVector3D[24];
    mesh.mTextureCoords[0] = new aiVector3D[24];
    mesh.mNumUVComponents[0] = 2;
    mesh.mNumFaces = 12;
    mesh.mFaces = new aiFace[12];
    const aiVector3D uvs[4] = {{0, 0, 0}, {0, 1, 0}, {1, 1, 0}, {1, 0, 0}};
    for (unsigned f = 0; f < 6; ++f) {
        for (unsigned c = 0; c < 4; ++c) {
            mesh.mVertices[f * 4 + c] = corners[faces[f][c]];
            mesh.mNormals[f * 4 + c] = normals[f];
            mesh.mTextureCoords[0][f * 4 + c] = uvs[c];
        }
        for (unsigned t = 0; t < 2; ++t) {
            aiFace& face = mesh.mFaces[f * 2 + t];
            face.mNumIndices = 3;
            face.mIndices = new unsigned[3]{f * 4, f * 4 + 1 + t, f * 4 + 2 + t};
        }
    }
    scene.mRootNode->mNumMeshes = 1;
    scene.mRootNode->mMeshes = new unsigned[1]{0};

    Assimp::Exporter exporter;
    const aiExportDataBlob* blob = exporter.ExportToBlob(&scene, formatId);
    if (!blob)
        return {};
    return QByteArray(static_cast<const char*>(blob->data), static_cast<qsizetype>(blob->size));
}

} // namespace kltest
