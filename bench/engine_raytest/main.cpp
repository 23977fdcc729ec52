// Times 10 000 scene ray tests against the nine preview models, laid out in a
// 3 x 3 grid in front of the preview camera. Uses the generated models of
// <build>/Glazery/Data/models, or generated spheres when they are absent.
#include "korlith3d/KLEngine.h"
#include "korlith3d/KLMesh.h"
#include "korlith3d/KLScene.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <assimp/Exporter.hpp>
#include <assimp/scene.h>

#include <cmath>
#include <cstdio>
#include <random>

namespace {

// A UV sphere written as an X file.
bool writeSphere(const QString& path, unsigned rings, unsigned segments)
{
    aiScene scene;
    scene.mRootNode = new aiNode("root");
    scene.mNumMaterials = 1;
    scene.mMaterials = new aiMaterial*[1]{new aiMaterial()};
    scene.mNumMeshes = 1;
    scene.mMeshes = new aiMesh*[1]{new aiMesh()};
    aiMesh& mesh = *scene.mMeshes[0];
    mesh.mPrimitiveTypes = aiPrimitiveType_TRIANGLE;
    mesh.mNumVertices = (rings + 1) * (segments + 1);
    mesh.mVertices = new aiVector3D[mesh.mNumVertices];
    mesh.mNormals = new aiVector3D[mesh.mNumVertices];
    for (unsigned r = 0; r <= rings; ++r) {
        for (unsigned s = 0; s <= segments; ++s) {
            const float theta = float(M_PI) * float(r) / float(rings);
            const float phi = 2.0f * float(M_PI) * float(s) / float(segments);
            const aiVector3D n(std::sin(theta) * std::cos(phi), std::cos(theta), std::sin(theta) * std::sin(phi));
            mesh.mVertices[r * (segments + 1) + s] = n * 10.0f;
            mesh.mNormals[r * (segments + 1) + s] = n;
        }
    }
    mesh.mNumFaces = rings * segments * 2;
    mesh.mFaces = new aiFace[mesh.mNumFaces];
    unsigned f = 0;
    for (unsigned r = 0; r < rings; ++r) {
        for (unsigned s = 0; s < segments; ++s) {
            const unsigned a = r * (segments + 1) + s, b = a + segments + 1;
            for (const auto& tri : {std::array<unsigned, 3>{a, b, a + 1}, std::array<unsigned, 3>{a + 1, b, b + 1}}) {
                mesh.mFaces[f].mNumIndices = 3;
                mesh.mFaces[f].mIndices = new unsigned[3]{tri[0], tri[1], tri[2]};
                ++f;
            }
        }
    }
    scene.mRootNode->mNumMeshes = 1;
    scene.mRootNode->mMeshes = new unsigned[1]{0};
    Assimp::Exporter exporter;
    return exporter.Export(&scene, "x", path.toStdString()) == AI_SUCCESS;
}

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    QDir models(QCoreApplication::applicationDirPath() + "/../Glazery/Data/models");
    QStringList files = models.entryList({"*.x", "*.X", "*.3ds", "*.3DS"}, QDir::Files, QDir::Name);
    QTemporaryDir spheres;
    if (files.size() < 9) {
        std::printf("preview models not found in %s: using generated spheres\n", qPrintable(models.path()));
        files.clear();
        models.setPath(spheres.path());
        for (int i = 0; i < 9; ++i) {
            const QString name = QStringLiteral("sphere%1.x").arg(i);
            if (!writeSphere(spheres.filePath(name), 24 + unsigned(i) * 4, 48 + unsigned(i) * 8))
                return 1;
            files << name;
        }
    }
    files = files.mid(0, 9);

    KLEngine engine;
    KLScene scene;
    scene.SetCamera(0, 50, -30, 0, 50, 0);
    std::vector<KLMesh> meshes;
    int triangles = 0;
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < files.size(); ++i) {
        KLMesh mesh = scene.CreateMesh(files[i]);
        if (files[i].endsWith("3ds", Qt::CaseInsensitive))
            mesh.Load3DS(models.filePath(files[i]));
        else
            mesh.LoadX(models.filePath(files[i]));
        // Fit each model into a 10-unit cell of a 3 x 3 grid around (0, 50, 0).
        D3DVECTOR lo, hi;
        mesh.GetBoundingBox(lo, hi);
        const float size = std::max({hi.x - lo.x, hi.y - lo.y, hi.z - lo.z, 1e-3f});
        mesh.SetScale(9.0f / size);
        mesh.SetPosition(float(i % 3 - 1) * 10.0f, 50.0f + float(i / 3 - 1) * 10.0f, 0.0f);
        mesh.Optimize();   // builds the hierarchy outside the timed loop
        triangles += mesh.GetTriangleCount();
        meshes.push_back(mesh);
    }
    const double loadMs = double(timer.nsecsElapsed()) / 1e6;

    std::mt19937 random(1);
    std::uniform_real_distribution<float> spread(-16.0f, 16.0f);
    std::vector<std::pair<D3DVECTOR, D3DVECTOR>> rays;
    for (int i = 0; i < 10000; ++i) {
        const D3DVECTOR to{spread(random) * 3.0f, 50.0f + spread(random) * 3.0f, 60.0f};
        rays.push_back({D3DVECTOR{0.0f, 50.0f, -30.0f}, to});
    }
    int hits = 0;
    double best = 1e30;
    for (int round = 0; round < 5; ++round) {
        hits = 0;
        timer.restart();
        KLCollisionResult result;
        for (const auto& [from, to] : rays)
            hits += scene.RayTest(from, to, result) ? 1 : 0;
        best = std::min(best, double(timer.nsecsElapsed()) / 1e6);
    }
    std::printf("models: %lld (%d triangles), load + hierarchy build: %.1f ms\n",
                static_cast<long long>(files.size()), triangles, loadMs);
    std::printf("10000 ray tests: %.2f ms (best of 5), %d hits; target <= 20 ms\n", best, hits);
    return 0;
}
