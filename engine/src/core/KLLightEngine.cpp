#include "korlith3d/KLLightEngine.h"

#include "core/Context.h"

namespace {

kl::core::Light& lightOrFail(kl::core::Context& context, int index, const char* operation)
{
    kl::core::Light* light = context.resources().lights.find(index);
    if (!light)
        context.fail(KLERR_UNKNOWN_ID, QStringLiteral("%1: unknown light %2").arg(QLatin1String(operation)).arg(index));
    return *light;
}

} // namespace

KLLightEngine::KLLightEngine() : context_(kl::core::Context::current()) {}
KLLightEngine::~KLLightEngine() = default;

int KLLightEngine::CreateLight(const D3DLIGHT8& light, const QString& name, bool castsShadows)
{
    const int index = context_->resources().lights.create(light, name, castsShadows);
    if (index == 0)
        context_->fail(KLERR_INVALID_CALL,
                       QStringLiteral("CreateLight \"%1\": at most %2 lights").arg(name).arg(MaxLights));
    return index;
}

void KLLightEngine::UpdateLight(int index, const D3DLIGHT8& light)
{
    lightOrFail(*context_, index, "UpdateLight").record = light;
}

void KLLightEngine::SetDirection(int index, const D3DVECTOR& direction)
{
    lightOrFail(*context_, index, "SetDirection").record.Direction = direction;
}

void KLLightEngine::SetPosition(int index, const D3DVECTOR& position)
{
    lightOrFail(*context_, index, "SetPosition").record.Position = position;
}

void KLLightEngine::EnableLight(int index, bool on)
{
    lightOrFail(*context_, index, "EnableLight").enabled = on;
}

D3DLIGHT8 KLLightEngine::GetLight(int index) const
{
    return lightOrFail(*context_, index, "GetLight").record;
}

bool KLLightEngine::IsEnabled(int index) const
{
    return lightOrFail(*context_, index, "IsEnabled").enabled;
}

QString KLLightEngine::GetLightName(int index) const
{
    return lightOrFail(*context_, index, "GetLightName").name;
}

int KLLightEngine::GetLightIndex(const QString& name) const
{
    const int index = context_->resources().lights.indexOf(name);
    if (index == 0)
        context_->fail(KLERR_UNKNOWN_ID, QStringLiteral("GetLightIndex: no light named \"%1\"").arg(name));
    return index;
}

int KLLightEngine::GetLightCount() const
{
    return context_->resources().lights.count();
}
