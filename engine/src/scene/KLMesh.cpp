#include "korlith3d/KLMesh.h"

#include "core/Context.h"
#include "core/PathResolver.h"
#include "image/ImageLoader.h"
#include "gpu/Renderer.h"
#include "model/ModelLoader.h"
#include "scene/DrawList.h"
#include "scene/MeshData.h"
#include "scene/RayTest.h"

#include <QDir>
#include <QFileInfo>

#include <glm/gtc/matrix_transform.hpp>
#include <glm/gtx/euler_angles.hpp>

#include <cstring>

using kl::scene::MeshData;

namespace {

std::shared_ptr<kl::core::Context> contextOf(const MeshData& mesh)
{
    auto context = mesh.context.lock();
    if (!context)
        throw KLError(KLERR_NOT_INITIALISED, QStringLiteral("Mesh \"%1\": the engine has been released").arg(mesh.name));
    return context;
}

D3DVECTOR toD3D(const glm::vec3& v)
{
    return {v.x, v.y, v.z};
}

D3DMATRIX toD3D(const glm::mat4& m)
{
    // A column-vector glm matrix and the row-vector D3D matrix of the same
    // transform hold the same sixteen floats in memory.
    D3DMATRIX out;
    std::memcpy(out.m, &m[0][0], sizeof(out.m));
    return out;
}

glm::mat4 fromD3D(const D3DMATRIX& m)
{
    glm::mat4 out;
    std::memcpy(&out[0][0], m.m, sizeof(m.m));
    return out;
}

glm::mat4 rotationFromDegrees(const glm::vec3& degrees)
{
    // Roll about z, then pitch about x, then yaw about y (Direct3D's yaw-pitch-roll).
    return glm::eulerAngleYXZ(glm::radians(degrees.y), glm::radians(degrees.x), glm::radians(degrees.z));
}

void checkTexture(kl::core::Context& context, int id, const char* operation)
{
    if (id != 0 && !context.resources().textures.find(id))
        context.fail(KLERR_UNKNOWN_ID, QStringLiteral("%1: unknown texture id %2").arg(QLatin1String(operation)).arg(id));
}

template <typename F>
void forGroups(MeshData& mesh, int group, kl::core::Context& context, const char* operation, F apply)
{
    mesh.syncSurfaces();
    if (group < 0) {
        for (auto& surface : mesh.surfaces)
            apply(surface);
        return;
    }
    if (group >= static_cast<int>(mesh.surfaces.size()))
        context.fail(KLERR_INVALID_CALL, QStringLiteral("%1: mesh \"%2\" has no group %3")
                                             .arg(QLatin1String(operation), mesh.name)
                                             .arg(group));
    apply(mesh.surfaces[static_cast<size_t>(group)]);
}

const kl::scene::GroupSurface& surfaceAt(const MeshData& mesh, int group)
{
    static const kl::scene::GroupSurface none;
    if (group < 0 || group >= static_cast<int>(mesh.surfaces.size()))
        return none;
    return mesh.surfaces[static_cast<size_t>(group)];
}

void loadModel(MeshData& mesh, const QString& file, kl::model::ModelKind kind, const kl::model::LoadOptions& options,
               bool loadTextures, bool loadMaterials, const char* operation)
{
    auto context = contextOf(mesh);
    const QString path = context->resolve(file);
    kl::model::LoadedModel model = kl::model::loadModelFile(path, kind, options);
    if (!model.ok())
        context->fail(model.missing ? KLERR_FILE_NOT_FOUND : KLERR_BAD_FILE_FORMAT,
                      QStringLiteral("%1 \"%2\": %3").arg(QLatin1String(operation), file, model.error));

    const kl::gpu::ResourceId id = mesh.geometry.id;
    const std::uint32_t revision = mesh.geometry.revision;
    mesh.geometry = std::move(model.geometry);
    mesh.geometry.id = id;
    mesh.geometry.revision = revision + 1;
    mesh.sourceFile = file;
    mesh.surfaces.clear();
    const QDir modelFolder = QFileInfo(path).absoluteDir();
    for (const kl::model::LoadedGroup& group : model.groups) {
        kl::scene::GroupSurface surface;
        if (loadMaterials)
            surface.ownColors = group.colors;
        if (loadTextures && !group.textureFile.isEmpty()) {
            // A texture the model names but that cannot be read leaves the group untextured.
            const QString texturePath = kl::core::resolveMediaPath(group.textureFile, modelFolder.absolutePath());
            if (const int existing = context->resources().textures.idOf(group.textureFile); existing != 0) {
                surface.textureId = existing;
            } else {
                kl::image::LoadedImage image = kl::image::loadImageFile(texturePath);
                if (image.image.isNull())
                    context->log(QStringLiteral("%1 \"%2\": texture skipped: %3")
                                     .arg(QLatin1String(operation), file, image.error));
                else
                    surface.textureId = context->resources().textures.put(group.textureFile, texturePath, std::move(image.image),
                                                              false, 1.0f, context->resources().newResourceId());
            }
        }
        mesh.surfaces.push_back(surface);
    }
    mesh.syncSurfaces();
    context->log(QStringLiteral("Mesh \"%1\" loaded from %2: %3 vertices, %4 triangles")
                     .arg(mesh.name, file)
                     .arg(mesh.geometry.vertices.size())
                     .arg(mesh.geometry.indices.size() / 3));
}

} // namespace

KLMesh::KLMesh() = default;

KLMesh::KLMesh(std::shared_ptr<MeshData> data) : data_(std::move(data)) {}

KLMesh KLCollisionResult::Mesh() const
{
    return KLMesh(MeshState.lock());
}

MeshData& KLMesh::state() const
{
    if (!data_)
        throw KLError(KLERR_NOT_INITIALISED, QStringLiteral("The mesh was not created (use KLScene::CreateMesh)"));
    return *data_;
}

void KLMesh::LoadX(const QString& file, bool loadTextures, bool loadMaterials)
{
    kl::model::LoadOptions options;
    loadModel(state(), file, kl::model::ModelKind::DirectX, options, loadTextures, loadMaterials, "LoadX");
}

void KLMesh::Load3DS(const QString& file, bool loadTextures, bool loadMaterials, bool flipFaces, bool joinVertices,
                     bool generateNormals)
{
    kl::model::LoadOptions options;
    options.flipFaces = flipFaces;
    options.joinVertices = joinVertices;
    options.generateNormals = generateNormals;
    loadModel(state(), file, kl::model::ModelKind::Studio3ds, options, loadTextures, loadMaterials, "Load3DS");
}

void KLMesh::Optimize()
{
    MeshData& mesh = state();
    mesh.syncSurfaces();
    // Merge neighbouring groups drawn alike, so each draws in one call.
    auto& groups = mesh.geometry.groups;
    if (groups.size() > 1) {
        const auto same = [](const kl::scene::GroupSurface& a, const kl::scene::GroupSurface& b) {
            return a.textureId == b.textureId && a.materialId == b.materialId && a.flatColor == b.flatColor &&
                   a.ownColors.ambient == b.ownColors.ambient && a.ownColors.diffuse == b.ownColors.diffuse &&
                   a.ownColors.specular == b.ownColors.specular && a.ownColors.emissive == b.ownColors.emissive &&
                   a.ownColors.power == b.ownColors.power;
        };
        std::vector<kl::gpu::MeshGroup> mergedGroups{groups.front()};
        std::vector<kl::scene::GroupSurface> mergedSurfaces{mesh.surfaces.front()};
        for (size_t g = 1; g < groups.size(); ++g) {
            kl::gpu::MeshGroup& last = mergedGroups.back();
            if (same(mergedSurfaces.back(), mesh.surfaces[g]) && last.firstIndex + last.indexCount == groups[g].firstIndex) {
                last.indexCount += groups[g].indexCount;
            } else {
                mergedGroups.push_back(groups[g]);
                mergedSurfaces.push_back(mesh.surfaces[g]);
            }
        }
        if (mergedGroups.size() != groups.size()) {
            groups = std::move(mergedGroups);
            mesh.surfaces = std::move(mergedSurfaces);
            ++mesh.geometry.revision;
        }
    }
    mesh.hierarchy();
}

int KLMesh::AddWall(int textureId, float x1, float z1, float x2, float z2, float height, float bottom, float tileU,
                    float tileV, bool doubleSided, bool flipFront)
{
    MeshData& mesh = state();
    auto context = contextOf(mesh);
    checkTexture(*context, textureId, "AddWall");
    const glm::vec2 along(x2 - x1, z2 - z1);
    if (glm::length(along) <= 0.0f || height == 0.0f)
        context->fail(KLERR_INVALID_CALL, QStringLiteral("AddWall: mesh \"%1\": the wall has no area").arg(mesh.name));

    mesh.syncSurfaces();
    if (mesh.geometry.groups.empty() && !mesh.geometry.indices.empty())
        mesh.geometry.groups.push_back({0, static_cast<std::uint32_t>(mesh.geometry.indices.size())});
    const bool firstGroup = mesh.geometry.indices.empty();

    const glm::vec2 n2 = glm::normalize(glm::vec2(along.y, -along.x)) * (flipFront ? -1.0f : 1.0f);
    const glm::vec3 normal(n2.x, 0.0f, n2.y);
    const float top = bottom + height;
    const glm::vec3 corners[4] = {{x1, top, z1}, {x2, top, z2}, {x2, bottom, z2}, {x1, bottom, z1}};
    const glm::vec2 uvs[4] = {{0.0f, 0.0f}, {tileU, 0.0f}, {tileU, tileV}, {0.0f, tileV}};

    kl::gpu::MeshGroup group;
    group.firstIndex = static_cast<std::uint32_t>(mesh.geometry.indices.size());
    const auto addSide = [&](const glm::vec3& sideNormal, bool reversed) {
        const auto base = static_cast<std::uint32_t>(mesh.geometry.vertices.size());
        for (int i = 0; i < 4; ++i) {
            kl::gpu::Vertex v;
            v.position = corners[i];
            v.normal = sideNormal;
            v.uv = uvs[i];
            v.uv2 = uvs[i];
            mesh.geometry.vertices.push_back(v);
        }
        // Clockwise on screen seen from the front: top-left, top-right, bottom-right.
        const std::uint32_t order[6] = {0, 1, 2, 0, 2, 3};
        for (int i = 0; i < 6; ++i)
            mesh.geometry.indices.push_back(base + order[reversed ? 5 - i : i]);
    };
    addSide(normal, flipFront);
    if (doubleSided)
        addSide(-normal, !flipFront);
    group.indexCount = static_cast<std::uint32_t>(mesh.geometry.indices.size()) - group.firstIndex;
    mesh.geometry.groups.push_back(group);
    ++mesh.geometry.revision;

    kl::scene::GroupSurface surface;
    surface.textureId = textureId;
    if (firstGroup)
        mesh.surfaces.clear();
    mesh.surfaces.push_back(surface);
    mesh.syncSurfaces();
    return static_cast<int>(mesh.geometry.groups.size()) - 1;
}

void KLMesh::SetPosition(float x, float y, float z)
{
    state().position = {x, y, z};
}

D3DVECTOR KLMesh::GetPosition() const
{
    return toD3D(state().position);
}

void KLMesh::SetRotation(float x, float y, float z)
{
    MeshData& mesh = state();
    mesh.rotationDegrees = {x, y, z};
    mesh.rotation = rotationFromDegrees(mesh.rotationDegrees);
}

D3DVECTOR KLMesh::GetRotation() const
{
    return toD3D(state().rotationDegrees);
}

D3DMATRIX KLMesh::GetRotationMatrix() const
{
    return toD3D(state().rotation);
}

void KLMesh::SetRotationMatrix(const D3DMATRIX& m)
{
    MeshData& mesh = state();
    glm::mat4 rotation = fromD3D(m);
    rotation[3] = glm::vec4(0.0f, 0.0f, 0.0f, 1.0f);   // a rotation has no translation
    mesh.rotation = rotation;
    float yaw = 0.0f, pitch = 0.0f, roll = 0.0f;
    glm::extractEulerAngleYXZ(rotation, yaw, pitch, roll);
    mesh.rotationDegrees = glm::degrees(glm::vec3(pitch, yaw, roll));
}

void KLMesh::SetScale(float s)
{
    state().scale = glm::vec3(s);
}

void KLMesh::SetScale(float x, float y, float z)
{
    state().scale = {x, y, z};
}

D3DVECTOR KLMesh::GetScale() const
{
    return toD3D(state().scale);
}

D3DMATRIX KLMesh::GetWorldMatrix() const
{
    return toD3D(state().world());
}

void KLMesh::SetName(const QString& name)
{
    state().name = name;
}

QString KLMesh::GetName() const
{
    return state().name;
}

void KLMesh::SetTexture(int textureId, int group)
{
    MeshData& mesh = state();
    auto context = contextOf(mesh);
    checkTexture(*context, textureId, "SetTexture");
    forGroups(mesh, group, *context, "SetTexture", [&](auto& surface) { surface.textureId = textureId; });
}

void KLMesh::SetMaterial(int materialId, int group)
{
    MeshData& mesh = state();
    auto context = contextOf(mesh);
    if (materialId != 0 && !context->resources().materials.find(materialId))
        context->fail(KLERR_UNKNOWN_ID, QStringLiteral("SetMaterial: unknown material id %1").arg(materialId));
    forGroups(mesh, group, *context, "SetMaterial", [&](auto& surface) { surface.materialId = materialId; });
}

void KLMesh::SetColor(float r, float g, float b, float a, int group)
{
    MeshData& mesh = state();
    auto context = contextOf(mesh);
    forGroups(mesh, group, *context, "SetColor", [&](auto& surface) { surface.flatColor = glm::vec4(r, g, b, a); });
}

int KLMesh::GetTexture(int group) const
{
    return surfaceAt(state(), group).textureId;
}

int KLMesh::GetMaterial(int group) const
{
    return surfaceAt(state(), group).materialId;
}

D3DCOLORVALUE KLMesh::GetColor(int group) const
{
    const auto& surface = surfaceAt(state(), group);
    const glm::vec4 c = surface.flatColor.value_or(surface.ownColors.diffuse);
    return {c.r, c.g, c.b, c.a};
}

void KLMesh::SetVisible(bool visible)
{
    state().visible = visible;
}

bool KLMesh::IsVisible() const
{
    return state().visible;
}

void KLMesh::SetSphereMapping(bool on, int textureId, bool allGroups)
{
    MeshData& mesh = state();
    auto context = contextOf(mesh);
    checkTexture(*context, textureId, "SetSphereMapping");
    (void)allGroups;   // every group of a mesh shares the switch
    mesh.sphereMap = on;
    mesh.sphereTextureId = textureId;
}

bool KLMesh::GetSphereMapping() const
{
    return state().sphereMap;
}

void KLMesh::SetBumpMapping(bool on, int bumpTextureId, int lightIndex, int group, float strength)
{
    MeshData& mesh = state();
    auto context = contextOf(mesh);
    (void)group;   // every group of a mesh shares the bump map
    // Switching off accepts any id: the bump texture may already be deleted.
    if (on) {
        checkTexture(*context, bumpTextureId, "SetBumpMapping");
        if (!context->resources().lights.find(lightIndex))
            context->fail(KLERR_UNKNOWN_ID, QStringLiteral("SetBumpMapping: unknown light %1").arg(lightIndex));
    }
    mesh.bumpMap = on;
    mesh.bumpTextureId = bumpTextureId;
    mesh.bumpLight = lightIndex;
    mesh.bumpStrength = strength;
}

bool KLMesh::GetBumpMapping() const
{
    return state().bumpMap;
}

void KLMesh::SetCullMode(int mode)
{
    MeshData& mesh = state();
    if (mode < 1 || mode > 3)
        contextOf(mesh)->fail(KLERR_INVALID_CALL, QStringLiteral("SetCullMode: invalid mode %1").arg(mode));
    mesh.cullMode = mode;
}

void KLMesh::SetRenderOptions(bool lighting, int blendMode, bool depthTest, bool depthWrite)
{
    MeshData& mesh = state();
    if (blendMode < 0 || blendMode > 4)
        contextOf(mesh)->fail(KLERR_INVALID_CALL, QStringLiteral("SetRenderOptions: invalid blend mode %1").arg(blendMode));
    mesh.lighting = lighting;
    mesh.blendMode = blendMode;
    mesh.depthTest = depthTest;
    mesh.depthWrite = depthWrite;
}

void KLMesh::SetLighting(bool on)
{
    state().lighting = on;
}

void KLMesh::SetDepthBuffer(bool test, bool write)
{
    MeshData& mesh = state();
    mesh.depthTest = test;
    mesh.depthWrite = write;
}

void KLMesh::SetUseVertexColors(bool on)
{
    state().useVertexColors = on;
}

void KLMesh::Render()
{
    MeshData& mesh = state();
    auto context = contextOf(mesh);
    kl::gpu::Renderer& renderer = context->requireRenderer(QStringLiteral("Render"));
    if (!mesh.visible)
        return;
    std::vector<kl::gpu::DrawItem> items;
    kl::scene::appendDrawItems(*context, mesh, items);
    if (!items.empty())
        renderer.drawItems(context->frameState(), items);
}

int KLMesh::GetVertexCount() const
{
    return static_cast<int>(state().geometry.vertices.size());
}

int KLMesh::GetTriangleCount() const
{
    return static_cast<int>(state().geometry.indices.size() / 3);
}

int KLMesh::GetGroupCount() const
{
    const MeshData& mesh = state();
    if (mesh.geometry.indices.empty())
        return 0;
    return std::max<int>(1, static_cast<int>(mesh.geometry.groups.size()));
}

void KLMesh::GetBoundingBox(D3DVECTOR& min, D3DVECTOR& max) const
{
    const kl::scene::Aabb box = state().modelBounds();
    if (!box.valid()) {
        min = max = D3DVECTOR{};
        return;
    }
    min = toD3D(box.min);
    max = toD3D(box.max);
}

bool KLMesh::RayTest(const D3DVECTOR& from, const D3DVECTOR& to, KLCollisionResult& result) const
{
    result = KLCollisionResult{};
    float t = 1.0f;
    return kl::scene::rayTestMesh(data_ ? data_ : nullptr, glm::vec3(from.x, from.y, from.z),
                                  glm::vec3(to.x, to.y, to.z), t, result);
}
