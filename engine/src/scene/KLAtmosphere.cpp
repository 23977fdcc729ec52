#include "korlith3d/KLAtmosphere.h"

#include "core/Context.h"
#include "gpu/Renderer.h"
#include "scene/SkyBox.h"

#include <array>
#include <cmath>

KLAtmosphere::KLAtmosphere() : context_(kl::core::Context::current())
{
    kl::core::AtmosphereState& sky = context_->atmosphere();
    if (sky.skyCube.indices.empty())
        sky.skyCube = kl::scene::makeSkyCube(context_->resources().newResourceId());
}

KLAtmosphere::~KLAtmosphere() = default;

void KLAtmosphere::SetSkyBox(int front, int back, int left, int right, int top, int bottom)
{
    const std::array<int, kl::core::SkyFaceCount> faces{front, back, left, right, top, bottom};
    for (const int id : faces)
        if (id != 0 && !context_->resources().textures.find(id))
            context_->fail(KLERR_UNKNOWN_ID, QStringLiteral("SetSkyBox: no texture with id %1").arg(id));
    context_->atmosphere().skyTextures = faces;
}

int KLAtmosphere::GetSkyBoxTexture(int face) const
{
    if (face < 0 || face >= kl::core::SkyFaceCount)
        context_->fail(KLERR_INVALID_CALL, QStringLiteral("GetSkyBoxTexture: face %1 is not 0..5").arg(face));
    return context_->atmosphere().skyTextures[std::size_t(face)];
}

void KLAtmosphere::SetSkyBoxSize(float size)
{
    if (!(size > 0.0f) || !std::isfinite(size))
        context_->fail(KLERR_INVALID_CALL, QStringLiteral("SetSkyBoxSize: size %1 is not positive").arg(size));
    context_->atmosphere().skySize = size;
}

float KLAtmosphere::GetSkyBoxSize() const
{
    return context_->atmosphere().skySize;
}

void KLAtmosphere::EnableSkyBox(bool on, bool fixedInWorld)
{
    context_->atmosphere().skyEnabled = on;
    context_->atmosphere().skyFixed = fixedInWorld;
}

bool KLAtmosphere::IsSkyBoxEnabled() const
{
    return context_->atmosphere().skyEnabled;
}

bool KLAtmosphere::IsSkyBoxFixed() const
{
    return context_->atmosphere().skyFixed;
}

void KLAtmosphere::RenderSkyBox()
{
    kl::gpu::Renderer& renderer = context_->requireRenderer(QStringLiteral("RenderSkyBox"));
    std::vector<kl::gpu::DrawItem> items;
    kl::scene::appendSkyItems(*context_, items);
    if (!items.empty())
        renderer.drawItems(context_->frameState(), items);
}
