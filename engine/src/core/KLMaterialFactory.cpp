#include "korlith3d/KLMaterialFactory.h"

#include "core/Context.h"

namespace {

kl::core::Material& materialOrFail(kl::core::Context& context, int id, const char* operation)
{
    kl::core::Material* material = context.resources().materials.find(id);
    if (!material)
        context.fail(KLERR_UNKNOWN_ID, QStringLiteral("%1: unknown material id %2").arg(QLatin1String(operation)).arg(id));
    return *material;
}

glm::vec4 colour(float r, float g, float b, float a)
{
    return {r, g, b, a};
}

D3DCOLORVALUE toD3D(const glm::vec4& c)
{
    return {c.r, c.g, c.b, c.a};
}

} // namespace

KLMaterialFactory::KLMaterialFactory() : context_(kl::core::Context::current()) {}
KLMaterialFactory::~KLMaterialFactory() = default;

int KLMaterialFactory::CreateMaterial(const QString& name)
{
    return context_->resources().materials.create(name);
}

void KLMaterialFactory::SetAmbient(int id, float r, float g, float b, float a)
{
    materialOrFail(*context_, id, "SetAmbient").colors.ambient = colour(r, g, b, a);
}

void KLMaterialFactory::SetDiffuse(int id, float r, float g, float b, float a)
{
    materialOrFail(*context_, id, "SetDiffuse").colors.diffuse = colour(r, g, b, a);
}

void KLMaterialFactory::SetSpecular(int id, float r, float g, float b, float a)
{
    materialOrFail(*context_, id, "SetSpecular").colors.specular = colour(r, g, b, a);
}

void KLMaterialFactory::SetEmissive(int id, float r, float g, float b, float a)
{
    materialOrFail(*context_, id, "SetEmissive").colors.emissive = colour(r, g, b, a);
}

void KLMaterialFactory::SetPower(int id, float power)
{
    materialOrFail(*context_, id, "SetPower").colors.power = power;
}

D3DCOLORVALUE KLMaterialFactory::GetAmbient(int id) const
{
    return toD3D(materialOrFail(*context_, id, "GetAmbient").colors.ambient);
}

D3DCOLORVALUE KLMaterialFactory::GetDiffuse(int id) const
{
    return toD3D(materialOrFail(*context_, id, "GetDiffuse").colors.diffuse);
}

D3DCOLORVALUE KLMaterialFactory::GetSpecular(int id) const
{
    return toD3D(materialOrFail(*context_, id, "GetSpecular").colors.specular);
}

D3DCOLORVALUE KLMaterialFactory::GetEmissive(int id) const
{
    return toD3D(materialOrFail(*context_, id, "GetEmissive").colors.emissive);
}

float KLMaterialFactory::GetPower(int id) const
{
    return materialOrFail(*context_, id, "GetPower").colors.power;
}

int KLMaterialFactory::GetMaterialId(const QString& name) const
{
    const int id = context_->resources().materials.idOf(name);
    if (id == 0)
        context_->fail(KLERR_UNKNOWN_ID, QStringLiteral("GetMaterialId: no material named \"%1\"").arg(name));
    return id;
}

QString KLMaterialFactory::GetMaterialName(int id) const
{
    return materialOrFail(*context_, id, "GetMaterialName").name;
}

void KLMaterialFactory::DeleteMaterial(int id)
{
    if (!context_->resources().materials.remove(id))
        context_->fail(KLERR_UNKNOWN_ID, QStringLiteral("DeleteMaterial: unknown material id %1").arg(id));
}
