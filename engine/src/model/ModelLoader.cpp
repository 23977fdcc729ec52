#include "model/ModelLoader.h"

#include <QFile>
#include <QFileInfo>

#include <assimp/Importer.hpp>
#include <assimp/postprocess.h>
#include <assimp/scene.h>

#include <algorithm>
#include <exception>
#include <optional>

namespace kl::model {
namespace {

glm::vec4 colourOf(const aiMaterial* material, const char* key, unsigned type, unsigned index, glm::vec4 fallback)
{
    aiColor4D colour;
    if (material && material->Get(key, type, index, colour) == AI_SUCCESS)
        return {colour.r, colour.g, colour.b, colour.a};
    return fallback;
}

LoadedGroup groupFromMaterial(const aiMaterial* material)
{
    LoadedGroup group;
    group.colors.diffuse = colourOf(material, AI_MATKEY_COLOR_DIFFUSE, glm::vec4(1.0f));
    group.colors.ambient = colourOf(material, AI_MATKEY_COLOR_AMBIENT, group.colors.diffuse);
    // A black ambient in a model file would hide the scene ambient; use the diffuse.
    if (glm::vec3(group.colors.ambient) == glm::vec3(0.0f))
        group.colors.ambient = group.colors.diffuse;
    group.colors.specular = colourOf(material, AI_MATKEY_COLOR_SPECULAR, glm::vec4(0, 0, 0, 1));
    group.colors.emissive = colourOf(material, AI_MATKEY_COLOR_EMISSIVE, glm::vec4(0, 0, 0, 1));
    float power = 0.0f;
    if (material && material->Get(AI_MATKEY_SHININESS, power) == AI_SUCCESS && std::isfinite(power))
        group.colors.power = power;
    aiString texture;
    if (material && material->GetTexture(aiTextureType_DIFFUSE, 0, &texture) == AI_SUCCESS)
        group.textureFile = QString::fromUtf8(texture.C_Str());
    return group;
}

bool finite(const glm::vec3& v)
{
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

// Appends one Assimp mesh as a group, mirroring z to turn Assimp's right-handed
// space into the engine's left-handed one (and reversing the winding with it).
bool appendMesh(const aiMesh& mesh, const aiScene& scene, const LoadOptions& options, LoadedModel& model)
{
    gpu::MeshGeometry& geometry = model.geometry;
    if (geometry.vertices.size() + mesh.mNumVertices > options.maxVertices) {
        model.error = QStringLiteral("model has too many vertices (more than %1)").arg(options.maxVertices);
        return false;
    }
    const auto base = static_cast<std::uint32_t>(geometry.vertices.size());
    for (unsigned i = 0; i < mesh.mNumVertices; ++i) {
        gpu::Vertex vertex;
        const aiVector3D& p = mesh.mVertices[i];
        vertex.position = {p.x, p.y, -p.z};
        if (mesh.mNormals) {
            const aiVector3D& n = mesh.mNormals[i];
            vertex.normal = {n.x, n.y, -n.z};
            if (!finite(vertex.normal))
                vertex.normal = {0.0f, 1.0f, 0.0f};
        }
        if (mesh.mTextureCoords[0]) {
            const aiVector3D& t = mesh.mTextureCoords[0][i];
            // Assimp keeps v upward; the engine's uv has its origin top-left.
            vertex.uv = {t.x, 1.0f - t.y};
        }
        vertex.uv2 = vertex.uv;
        if (mesh.mTextureCoords[1]) {
            const aiVector3D& t = mesh.mTextureCoords[1][i];
            vertex.uv2 = {t.x, 1.0f - t.y};
        }
        if (mesh.mColors[0]) {
            const aiColor4D& c = mesh.mColors[0][i];
            vertex.colour = {c.r, c.g, c.b, c.a};
            geometry.hasVertexColours = true;
        }
        if (!finite(vertex.position)) {
            model.error = QStringLiteral("model has invalid vertex coordinates");
            return false;
        }
        geometry.vertices.push_back(vertex);
    }
    if (geometry.indices.size() + std::size_t(mesh.mNumFaces) * 3 > options.maxIndices) {
        model.error = QStringLiteral("model has too many triangles (more than %1 indices)").arg(options.maxIndices);
        return false;
    }
    gpu::MeshGroup group;
    group.firstIndex = static_cast<std::uint32_t>(geometry.indices.size());
    for (unsigned f = 0; f < mesh.mNumFaces; ++f) {
        const aiFace& face = mesh.mFaces[f];
        if (face.mNumIndices != 3)
            continue;
        std::uint32_t a = face.mIndices[0], b = face.mIndices[1], c = face.mIndices[2];
        if (a >= mesh.mNumVertices || b >= mesh.mNumVertices || c >= mesh.mNumVertices)
            continue;
        // Mirroring z turns Assimp's counter-clockwise front faces inside out;
        // reversing the order makes them Direct3D's clockwise front faces again.
        if (!options.flipFaces)
            std::swap(b, c);
        geometry.indices.push_back(base + a);
        geometry.indices.push_back(base + b);
        geometry.indices.push_back(base + c);
    }
    group.indexCount = static_cast<std::uint32_t>(geometry.indices.size()) - group.firstIndex;
    if (group.indexCount == 0)
        return true;
    geometry.groups.push_back(group);
    const aiMaterial* material =
        mesh.mMaterialIndex < scene.mNumMaterials ? scene.mMaterials[mesh.mMaterialIndex] : nullptr;
    model.groups.push_back(groupFromMaterial(material));
    return true;
}

// Tokens of a text X file: names and numbers, "{" and "}"; separators,
// strings (a token that starts with a quote) and comments are passed over.
class XTokens {
public:
    explicit XTokens(const QByteArray& text) : text_(text) {}

    QByteArray next()
    {
        skipSeparators();
        if (at_ >= text_.size())
            return {};
        const char c = text_[at_];
        if (c == '{' || c == '}') {
            ++at_;
            return QByteArray(1, c);
        }
        if (c == '"') {
            const qsizetype end = text_.indexOf('"', at_ + 1);
            at_ = end < 0 ? text_.size() : end + 1;
            return QByteArrayLiteral("\"\"");
        }
        // A quote inside a name is part of it, as Assimp's reader takes it:
        // read as the start of a string, the rest of the file would fall out
        // of step with what Assimp sees.
        const qsizetype start = at_;
        while (at_ < text_.size() && !isSeparator(text_[at_]) && text_[at_] != '{' && text_[at_] != '}')
            ++at_;
        return text_.mid(start, at_ - start);
    }

private:
    static bool isSeparator(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == ',' || c == ';'; }

    void skipSeparators()
    {
        while (at_ < text_.size()) {
            const char c = text_[at_];
            if (isSeparator(c)) {
                ++at_;
            } else if (c == '#' || (c == '/' && at_ + 1 < text_.size() && text_[at_ + 1] == '/')) {
                const qsizetype end = text_.indexOf('\n', at_);
                at_ = end < 0 ? text_.size() : end + 1;
            } else {
                return;
            }
        }
    }

    const QByteArray& text_;
    qsizetype at_ = 0;
};

// Whether the bytes are a text X file (the only kind these checks read).
bool isTextX(const QByteArray& bytes)
{
    return bytes.startsWith("xof ") && bytes.mid(8, 4) == "txt ";
}

// Passes over an object's optional name and its "{"; false when no "{" follows.
bool enterBlock(XTokens& tokens)
{
    QByteArray token = tokens.next();
    if (token != "{")
        token = tokens.next();   // the object's name
    return token == "{";
}

// Passes over the rest of a block whose "{" has been read.
bool skipBlock(XTokens& tokens)
{
    for (int depth = 1; depth > 0;) {
        const QByteArray token = tokens.next();
        if (token.isEmpty())
            return false;
        depth += token == "{" ? 1 : token == "}" ? -1 : 0;
    }
    return true;
}

// Assimp's X reader crashes on a mesh material list that holds fewer
// materials than it declares, or declares none; such a text file is refused
// before it is read.
QString xMaterialListProblem(const QByteArray& bytes)
{
    if (!isTextX(bytes))
        return {};
    XTokens tokens(bytes);
    for (QByteArray token = tokens.next(); !token.isEmpty(); token = tokens.next()) {
        if (token != "MeshMaterialList" || !enterBlock(tokens))
            continue;
        bool ok = false;
        const qint64 declared = tokens.next().toLongLong(&ok);
        if (!ok)
            continue;
        // Assimp crashes on a list of no materials that still gives its faces
        // one (and leaks on an empty one).
        if (declared <= 0)
            return QStringLiteral("its material list declares no materials");
        const qint64 faceCount = tokens.next().toLongLong(&ok);
        for (qint64 i = 0; ok && i < faceCount; ++i)
            tokens.next().toLongLong(&ok);
        qint64 held = 0;
        for (token = tokens.next(); !token.isEmpty() && token != "}"; token = tokens.next()) {
            if (token == "{") {   // a reference to a material: { name }
                ++held;
                if (!skipBlock(tokens))
                    break;
                continue;
            }
            // An object: its type, an optional name, then its block.
            if (token == "Material")
                ++held;
            if (!enterBlock(tokens) || !skipBlock(tokens))
                break;
        }
        if (held < declared)
            return QStringLiteral("its material list declares %1 materials but holds %2").arg(declared).arg(held);
    }
    return {};
}

// A count as Assimp's X reader reads it: an optional minus sign and the
// digits that follow, the rest of the token ignored ("-8.000" is -8, which it
// then takes as unsigned). Empty when the token starts with neither.
std::optional<qint64> xCount(const QByteArray& token)
{
    qsizetype at = token.startsWith('-') ? 1 : 0;
    const qsizetype first = at;
    qint64 value = 0;
    for (; at < token.size() && token[at] >= '0' && token[at] <= '9'; ++at)
        value = std::min<qint64>(value * 10 + (token[at] - '0'), qint64(1) << 40);
    if (at == first)
        return std::nullopt;
    return first == 1 ? -value : value;
}

// Assimp's X reader reserves room for as many elements as an array's count
// says before reading them: a negative count (read as unsigned, billions), or
// one no file of this size can hold (or more vertices than a model may have),
// is refused before it is read. Each element takes at least two bytes of text
// (a digit and a separator).
QString xArrayCountProblem(const QByteArray& bytes)
{
    if (!isTextX(bytes))
        return {};
    const qint64 mostElements = std::min<qint64>(qint64(bytes.size()) / 2, qint64(MaxModelVertices));
    // Objects whose block opens with a count; the mesh and its normals hold a
    // second one (their faces) after count × 3 numbers.
    static const QList<QByteArray> counted{"Mesh", "MeshNormals", "MeshTextureCoords", "MeshVertexColors",
                                           "MeshMaterialList", "MeshFaceWraps", "SkinWeights", "AnimationKey"};
    XTokens tokens(bytes);
    for (QByteArray token = tokens.next(); !token.isEmpty(); token = tokens.next()) {
        if (!counted.contains(token) || !enterBlock(tokens))
            continue;
        const bool withFaces = token == "Mesh" || token == "MeshNormals";
        const auto tooMany = [&](qint64 count, const char* what) {
            return QStringLiteral("%1 declares %2 %3, more than the file can hold")
                .arg(QString::fromLatin1(token))
                .arg(count < 0 ? QStringLiteral("a negative number of") : QString::number(count),
                     QString::fromLatin1(what));
        };
        // Skin weights name their frame first, an animation key its kind.
        if (token == "SkinWeights" || token == "AnimationKey")
            tokens.next();
        const std::optional<qint64> count = xCount(tokens.next());
        if (!count)
            continue;
        if (*count < 0 || *count > mostElements)
            return tooMany(*count, "elements");
        if (!withFaces)
            continue;
        for (qint64 i = 0; i < 3 * *count; ++i)
            tokens.next();
        const std::optional<qint64> faces = xCount(tokens.next());
        if (faces && (*faces < 0 || *faces > mostElements))
            return tooMany(*faces, "faces");
    }
    return {};
}

// Why a scene as read cannot be processed: a face that lists no vertex.
QString emptyFaceProblem(const aiScene& scene)
{
    for (unsigned m = 0; m < scene.mNumMeshes; ++m) {
        const aiMesh* mesh = scene.mMeshes[m];
        if (!mesh || !mesh->mFaces)
            continue;
        for (unsigned f = 0; f < mesh->mNumFaces; ++f)
            if (mesh->mFaces[f].mNumIndices == 0)
                return QStringLiteral("face %1 of mesh %2 has no vertices").arg(f).arg(m);
    }
    return {};
}

} // namespace

LoadedModel loadModelFile(const QString& path, ModelKind kind, const LoadOptions& options)
{
    LoadedModel model;
    const QFileInfo info(path);
    if (!info.exists() || !info.isFile()) {
        model.missing = true;
        model.error = QStringLiteral("File not found: %1").arg(path);
        return model;
    }
    if (info.size() > MaxModelFileBytes) {
        model.error = QStringLiteral("Model file too large: %1").arg(path);
        return model;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        model.error = QStringLiteral("Cannot read model file: %1").arg(path);
        return model;
    }
    return loadModelData(file.read(MaxModelFileBytes), kind, options, path);
}

LoadedModel loadModelData(const QByteArray& bytes, ModelKind kind, const LoadOptions& options, const QString& what)
{
    LoadedModel model;
    // `why` is taken by value: it may be the model's own error, which the
    // reset clears.
    const auto fail = [&](QString why) {
        model = LoadedModel{};
        model.error = QStringLiteral("Invalid model file %1: %2").arg(what, why);
        return model;
    };
    if (bytes.isEmpty())
        return fail(QStringLiteral("the file is empty"));
    if (kind == ModelKind::DirectX)
        for (const auto& check : {xMaterialListProblem, xArrayCountProblem})
            if (const QString problem = check(bytes); !problem.isEmpty())
                return fail(problem);
    try {
        Assimp::Importer importer;
        importer.SetPropertyInteger(AI_CONFIG_PP_SBP_REMOVE, aiPrimitiveType_POINT | aiPrimitiveType_LINE);
        unsigned flags = aiProcess_Triangulate | aiProcess_PreTransformVertices | aiProcess_SortByPType |
                         aiProcess_ValidateDataStructure | aiProcess_FindInvalidData;
        if (options.joinVertices)
            flags |= aiProcess_JoinIdenticalVertices;
        if (options.generateNormals) {
            importer.SetPropertyInteger(AI_CONFIG_PP_RVC_FLAGS, aiComponent_NORMALS);
            flags |= aiProcess_RemoveComponent | aiProcess_GenSmoothNormals;
        } else {
            flags |= aiProcess_GenSmoothNormals;   // only where the file has none
        }
        const char* hint = kind == ModelKind::DirectX ? "x" : "3ds";
        // Read and validated first, processed after: Assimp's triangulation
        // asserts (and its primitive sort crashes) on a face without indices,
        // which the readers let through.
        const aiScene* scene = importer.ReadFileFromMemory(bytes.constData(), static_cast<size_t>(bytes.size()),
                                                           aiProcess_ValidateDataStructure, hint);
        if (!scene)
            return fail(QString::fromUtf8(importer.GetErrorString()));
        if (const QString problem = emptyFaceProblem(*scene); !problem.isEmpty())
            return fail(problem);
        scene = importer.ApplyPostProcessing(flags & ~unsigned(aiProcess_ValidateDataStructure));
        if (!scene)
            return fail(QString::fromUtf8(importer.GetErrorString()));
        if ((scene->mFlags & AI_SCENE_FLAGS_INCOMPLETE) || !scene->HasMeshes())
            return fail(QStringLiteral("no geometry"));
        for (unsigned i = 0; i < scene->mNumMeshes; ++i) {
            if (!scene->mMeshes[i])
                continue;
            if (!appendMesh(*scene->mMeshes[i], *scene, options, model))
                return fail(model.error);
        }
    } catch (const std::exception& e) {
        return fail(QString::fromUtf8(e.what()));
    } catch (...) {
        return fail(QStringLiteral("unreadable"));
    }
    if (model.geometry.indices.empty())
        return fail(QStringLiteral("no triangles"));
    return model;
}

} // namespace kl::model
