// Writing models through Assimp.
//
// Winding and handedness: models are built right-handed with triangles wound
// counter-clockwise seen from outside, which is Assimp's own convention. The
// X exporter converts to the DirectX convention on the way out (z mirrored,
// triangles clockwise seen from outside, texture v running down), so the
// files hold what a Direct3D program expects. Importing them again with
// aiProcess_ConvertToLeftHanded gives back exactly the file's DirectX data;
// importing without it gives the right-handed counter-clockwise data we
// built. The tests check both readings.
//
// 3DS files are z up. Assimp's 3DS reader turns them y up through the root
// node's transformation, so a reader that applies node transformations
// (aiProcess_PreTransformVertices or its own walk of the node tree) gets the
// model exactly as built; the 3DS exporter writes coordinates as given, so
// they are turned z up before writing.
//
// Assimp's X exporter writes every normal reversed (pointing into the
// surface); normals are handed to it reversed so the file holds outward ones.
#include "ModelExport.h"

#include "MeshBuilder.h"

#include <assimp/Exporter.hpp>
#include <assimp/material.h>
#include <assimp/scene.h>

#include <glm/gtc/constants.hpp>
#include <glm/gtc/matrix_transform.hpp>

#include <memory>
#include <stdexcept>

namespace kl::models {

namespace {

// aiScene owns the meshes, materials and nodes hung on it and frees them in
// its destructor, so they are handed over with plain new.
aiMesh* toAssimpMesh(const MeshPart& part, unsigned materialIndex, float normalSign)
{
    auto mesh = std::make_unique<aiMesh>();
    mesh->mName = aiString(part.name);
    mesh->mPrimitiveTypes = aiPrimitiveType_TRIANGLE;
    mesh->mMaterialIndex = materialIndex;
    const auto vertexCount = static_cast<unsigned>(part.vertices.size());
    mesh->mNumVertices = vertexCount;
    mesh->mVertices = new aiVector3D[vertexCount];
    mesh->mNormals = new aiVector3D[vertexCount];
    mesh->mTextureCoords[0] = new aiVector3D[vertexCount];
    mesh->mNumUVComponents[0] = 2;
    for (unsigned i = 0; i < vertexCount; ++i) {
        const Vertex& v = part.vertices[i];
        mesh->mVertices[i] = aiVector3D(v.position.x, v.position.y, v.position.z);
        mesh->mNormals[i] = aiVector3D(v.normal.x, v.normal.y, v.normal.z) * normalSign;
        mesh->mTextureCoords[0][i] = aiVector3D(v.uv.x, v.uv.y, 0.0f);
    }
    const auto faceCount = static_cast<unsigned>(part.triangles.size());
    mesh->mNumFaces = faceCount;
    mesh->mFaces = new aiFace[faceCount];
    for (unsigned f = 0; f < faceCount; ++f) {
        aiFace& face = mesh->mFaces[f];
        face.mNumIndices = 3;
        face.mIndices = new unsigned[3]{part.triangles[f].x, part.triangles[f].y,
                                        part.triangles[f].z};
    }
    return mesh.release();
}

aiMaterial* toAssimpMaterial(const MeshPart& part)
{
    auto material = std::make_unique<aiMaterial>();
    const aiString name(part.name + "Material");
    material->AddProperty(&name, AI_MATKEY_NAME);
    const aiColor4D diffuse(part.colour.r, part.colour.g, part.colour.b, 1.0f);
    const aiColor3D ambient(part.colour.r, part.colour.g, part.colour.b);
    const aiColor3D specular(0.3f, 0.3f, 0.3f);
    const aiColor3D emissive(0.0f, 0.0f, 0.0f);
    const float shininess = 20.0f;
    material->AddProperty(&diffuse, 1, AI_MATKEY_COLOR_DIFFUSE);
    material->AddProperty(&ambient, 1, AI_MATKEY_COLOR_AMBIENT);
    material->AddProperty(&specular, 1, AI_MATKEY_COLOR_SPECULAR);
    material->AddProperty(&emissive, 1, AI_MATKEY_COLOR_EMISSIVE);
    material->AddProperty(&shininess, 1, AI_MATKEY_SHININESS);
    return material.release();
}

std::unique_ptr<aiScene> toAssimpScene(const Model& model, ModelFormat format)
{
    auto scene = std::make_unique<aiScene>();
    const auto count = static_cast<unsigned>(model.parts.size());
    scene->mRootNode = new aiNode("Root");
    scene->mNumMeshes = count;
    scene->mMeshes = new aiMesh*[count];
    scene->mNumMaterials = count;
    scene->mMaterials = new aiMaterial*[count];
    scene->mRootNode->mNumMeshes = count;
    scene->mRootNode->mMeshes = new unsigned[count];
    for (unsigned i = 0; i < count; ++i) {
        scene->mMeshes[i] =
            toAssimpMesh(model.parts[i], i, format == ModelFormat::DirectX ? -1.0f : 1.0f);
        scene->mMaterials[i] = toAssimpMaterial(model.parts[i]);
        scene->mRootNode->mMeshes[i] = i;
    }
    return scene;
}

const char* formatId(ModelFormat format)
{
    return format == ModelFormat::DirectX ? "x" : "3ds";
}

}  // namespace

void exportModel(const Model& model, ModelFormat format, const std::filesystem::path& file)
{
    if (model.parts.empty())
        throw std::runtime_error("nothing to write to " + file.string());
    Model written = model;
    if (format == ModelFormat::Studio3ds)
        transformModel(written, glm::rotate(glm::mat4(1.0f), glm::half_pi<float>(),
                                            glm::vec3(1.0f, 0.0f, 0.0f)));
    const std::unique_ptr<aiScene> scene = toAssimpScene(written, format);
    Assimp::Exporter exporter;
    if (exporter.Export(scene.get(), formatId(format), file.string()) != aiReturn_SUCCESS)
        throw std::runtime_error("cannot write " + file.string() + ": " +
                                 exporter.GetErrorString());
}

}  // namespace kl::models
