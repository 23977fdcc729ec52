#include "korlith3d/KLScene.h"

#include "core/Context.h"
#include "gpu/Renderer.h"
#include "scene/DrawList.h"
#include "scene/MeshData.h"
#include "scene/RayTest.h"

#include <glm/gtc/matrix_transform.hpp>

namespace {

glm::vec3 toGlm(const D3DVECTOR& v)
{
    return {v.x, v.y, v.z};
}

D3DVECTOR toD3D(const glm::vec3& v)
{
    return {v.x, v.y, v.z};
}

} // namespace

KLScene::KLScene() : context_(kl::core::Context::current()) {}
KLScene::~KLScene() = default;

KLMesh KLScene::CreateMesh(const QString& name)
{
    auto mesh = std::make_shared<kl::scene::MeshData>();
    mesh->context = context_;
    mesh->name = name;
    mesh->geometry.id = context_->resources().newResourceId();
    mesh->syncSurfaces();
    context_->resources().meshes.add(mesh);
    return KLMesh(mesh);
}

int KLScene::GetMeshCount() const
{
    return static_cast<int>(context_->resources().meshes.live().size());
}

KLMesh KLScene::GetMesh(int index) const
{
    const auto meshes = context_->resources().meshes.live();
    if (index < 0 || index >= static_cast<int>(meshes.size()))
        context_->fail(KLERR_UNKNOWN_ID, QStringLiteral("GetMesh: no mesh with index %1").arg(index));
    return KLMesh(meshes[static_cast<size_t>(index)]);
}

KLMesh KLScene::FindMesh(const QString& name) const
{
    for (const auto& mesh : context_->resources().meshes.live())
        if (mesh->name == name)
            return KLMesh(mesh);
    return KLMesh();
}

void KLScene::RenderAll(bool sortTransparent)
{
    kl::gpu::Renderer& renderer = context_->requireRenderer(QStringLiteral("RenderAll"));
    const auto meshes = context_->resources().meshes.live();
    std::vector<kl::gpu::DrawItem> items;
    for (const auto& mesh : meshes)
        if (mesh->visible)
            kl::scene::appendDrawItems(*context_, *mesh, items);
    if (!items.empty())
        renderer.drawItems(context_->frameState(), items, sortTransparent);
}

void KLScene::SetCamera(float eyeX, float eyeY, float eyeZ, float atX, float atY, float atZ)
{
    context_->camera().eye = {eyeX, eyeY, eyeZ};
    context_->camera().target = {atX, atY, atZ};
}

void KLScene::SetCameraPosition(float x, float y, float z)
{
    context_->camera().eye = {x, y, z};
}

void KLScene::SetCameraLookAt(float x, float y, float z)
{
    context_->camera().target = {x, y, z};
}

D3DVECTOR KLScene::GetCameraPosition() const
{
    return toD3D(context_->camera().eye);
}

D3DVECTOR KLScene::GetCameraLookAt() const
{
    return toD3D(context_->camera().target);
}

void KLScene::SetColor(float r, float g, float b)
{
    context_->scene().clearColour = {r, g, b, 1.0f};
}

D3DCOLORVALUE KLScene::GetColor() const
{
    const glm::vec4& c = context_->scene().clearColour;
    return {c.r, c.g, c.b, c.a};
}

void KLScene::SetAmbientLight(float r, float g, float b)
{
    context_->scene().ambient = {r, g, b, 1.0f};
}

D3DCOLORVALUE KLScene::GetAmbientLight() const
{
    const glm::vec4& c = context_->scene().ambient;
    return {c.r, c.g, c.b, c.a};
}

void KLScene::SetShadeMode(int mode)
{
    context_->scene().shadeMode = mode;
}

void KLScene::SetFieldOfView(float degrees)
{
    if (!(degrees > 0.0f && degrees < 180.0f))
        context_->fail(KLERR_INVALID_CALL, QStringLiteral("SetFieldOfView: invalid angle %1").arg(degrees));
    context_->camera().fovDegrees = degrees;
}

float KLScene::GetFieldOfView() const
{
    return context_->camera().fovDegrees;
}

void KLScene::SetClipPlanes(float nearPlane, float farPlane)
{
    if (!(nearPlane > 0.0f && farPlane > nearPlane))
        context_->fail(KLERR_INVALID_CALL,
                       QStringLiteral("SetClipPlanes: invalid planes %1, %2").arg(nearPlane).arg(farPlane));
    context_->camera().nearPlane = nearPlane;
    context_->camera().farPlane = farPlane;
}

void KLScene::SetCullMode(int mode)
{
    if (mode < 1 || mode > 3)
        context_->fail(KLERR_INVALID_CALL, QStringLiteral("SetCullMode: invalid mode %1").arg(mode));
    context_->scene().cullMode = mode;
}

void KLScene::SetLighting(bool on)
{
    context_->scene().lighting = on;
}

bool KLScene::GetLighting() const
{
    return context_->scene().lighting;
}

void KLScene::Update(float timeScale)
{
    context_->scene().time += context_->rendering().clock.frameMilliseconds() * static_cast<double>(timeScale);
}

void KLScene::SetDepthMode(int mode)
{
    context_->scene().depthMode = std::clamp(mode, 0, 2);
}

void KLScene::DrawText(const QString& text, int x, int y, std::uint32_t argb)
{
    context_->rendering().pendingText.push_back({QFont(QStringLiteral("Sans"), 10), text, x, y, argb});
}

bool KLScene::RayTest(const D3DVECTOR& from, const D3DVECTOR& to, KLCollisionResult& result, int types, int precision,
                      int flags) const
{
    (void)precision;
    (void)flags;
    // Tests come one at a time by the million (a lightmap bake): the lists of
    // what can be hit are gathered into storage kept from the last call.
    thread_local kl::scene::RayTargets targets;
    kl::scene::gatherRayTargets(*context_, types, targets);
    const bool hit = kl::scene::rayTestTargets(targets, toGlm(from), toGlm(to), result);
    targets.clear();
    return hit;
}

std::vector<KLRayHit> KLScene::RayTestBatch(std::span<const D3DVECTOR> starts, std::span<const D3DVECTOR> ends,
                                            int types) const
{
    if (starts.size() != ends.size())
        context_->fail(KLERR_INVALID_CALL, QStringLiteral("RayTestBatch: %1 starts but %2 ends")
                                               .arg(qulonglong(starts.size()))
                                               .arg(qulonglong(ends.size())));
    const kl::scene::RayTargets targets = kl::scene::gatherRayTargets(*context_, types);
    std::vector<KLRayHit> results(starts.size());
    kl::scene::rayTestBatch(targets, starts.data(), ends.data(), starts.size(), results.data());
    return results;
}

std::vector<std::uint8_t> KLScene::RayTestBatchHits(std::span<const D3DVECTOR> starts,
                                                    std::span<const D3DVECTOR> ends, int types) const
{
    if (starts.size() != ends.size())
        context_->fail(KLERR_INVALID_CALL, QStringLiteral("RayTestBatchHits: %1 starts but %2 ends")
                                               .arg(qulonglong(starts.size()))
                                               .arg(qulonglong(ends.size())));
    const kl::scene::RayTargets targets = kl::scene::gatherRayTargets(*context_, types);
    std::vector<std::uint8_t> hits(starts.size());
    kl::scene::rayHitBatch(targets, starts.data(), ends.data(), starts.size(), hits.data());
    return hits;
}

KLCollisionResult KLScene::MousePick(int x, int y, int types, int precision) const
{
    const QSize size = context_->rendering().viewportSize();
    const float ndcX = 2.0f * (float(x) + 0.5f) / float(size.width()) - 1.0f;
    const float ndcY = 1.0f - 2.0f * (float(y) + 0.5f) / float(size.height());
    const glm::mat4 inverse = glm::inverse(context_->camera().projectionMatrix(size) * context_->camera().viewMatrix());
    const auto unproject = [&](float depth) {
        const glm::vec4 p = inverse * glm::vec4(ndcX, ndcY, depth, 1.0f);
        return glm::vec3(p) / p.w;
    };
    const glm::vec3 nearPoint = unproject(-1.0f);
    const glm::vec3 farPoint = unproject(1.0f);
    KLCollisionResult result;
    RayTest(toD3D(nearPoint), toD3D(farPoint), result, types, precision, 0);
    return result;
}
