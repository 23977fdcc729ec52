#include "gpu/MeshPrograms.h"

#include "gpu/GlState.h"
#include "gpu/RenderMath.h"
#include "gpu/Shaders.h"

#include <algorithm>
#include <span>

namespace kl::gpu {

PackedLights packLights(const FrameState& frame)
{
    PackedLights p;
    std::fill(std::begin(p.slotOf), std::end(p.slotOf), -1);
    const int n = int(std::min<std::size_t>(frame.lights.size(), MaxLights));
    for (int i = 0; i < n; ++i) {
        const LightState& l = frame.lights[std::size_t(i)];
        if (!l.enabled)
            continue;
        const int c = p.count++;
        p.slotOf[i] = c;
        p.types[c] = int(l.type);
        p.diffuse[c] = l.diffuse;
        p.specular[c] = l.specular;
        p.ambient[c] = l.ambient;
        p.position[c] = l.position;
        const float len = glm::length(l.direction);
        p.direction[c] = len > 0.0f ? l.direction / len : glm::vec3(0.0f, 0.0f, 1.0f);
        p.attenuation[c] = effectiveAttenuation(l);
        p.spot[c] = glm::vec4(std::max(l.range, 0.0f), std::cos(l.theta * 0.5f), std::cos(l.phi * 0.5f),
                              l.falloff);
        p.key |= std::uint32_t(p.types[c] & 3) << (4 + 2 * c);
    }
    p.key |= std::uint32_t(p.count);
    return p;
}

unsigned meshFeatures(const DrawItem& item)
{
    unsigned f = 0;
    if (item.lit) {
        f |= shaders::Lit;
        const glm::vec3 specular(item.material.specular);
        if (item.material.power > 0.0f && (specular.r > 0.0f || specular.g > 0.0f || specular.b > 0.0f))
            f |= shaders::Specular;
    }
    if (item.baseTexture) {
        f |= shaders::BaseTexture;
        if (item.sphereMap)
            f |= shaders::SphereMap;
    }
    if (item.lit && item.bumpTexture)
        f |= shaders::BumpMap;
    if (item.useVertexColours && item.mesh && item.mesh->hasVertexColours)
        f |= shaders::VertexColour;
    if (item.detailTexture)
        f |= shaders::DetailTexture;
    if (item.lightmapTexture)
        f |= shaders::Lightmap;
    if (item.baseTexture && item.spriteLevelInVertices)
        f |= shaders::SpriteLevel;
    return f;
}

MeshProgram* MeshProgramCache::program(unsigned features, const PackedLights& lights, QString& error)
{
    const bool lit = features & shaders::Lit;
    const std::uint64_t key = std::uint64_t(features) | (lit ? std::uint64_t(lights.key) << 8 : 0);
    if (auto it = programs_.find(key); it != programs_.end())
        return it->second.program ? &it->second : nullptr;
    MeshProgram& m = programs_[key];
    const std::span<const int> types(lights.types, lit ? std::size_t(lights.count) : 0);
    m.program = buildProgram(shaders::meshVertex, shaders::meshFragmentSource(features, types), error);
    if (!m.program)
        return nullptr;
    const GLuint p = m.program->programId();
    auto loc = [&](const char* name) { return gl_->glGetUniformLocation(p, name); };
    m.uniforms = MeshUniforms{
        loc("uWorld"), loc("uNormalMatrix"), loc("uViewProjection"), loc("uView"), loc("uEye"),
        loc("uSceneAmbient"), loc("uLightDiffuse"),
        loc("uLightSpecular"), loc("uLightAmbient"), loc("uLightPosition"), loc("uLightDirection"),
        loc("uLightAttenuation"), loc("uLightSpot"), loc("uMatAmbient"), loc("uMatDiffuse"),
        loc("uMatSpecular"), loc("uMatEmissive"), loc("uMatPower"),
        loc("uBumpLight"), loc("uBumpStrength"), loc("uDetailScale"), loc("uDetailOwnUv")};
    gl_->glUseProgram(p);
    gl_->glUniform1i(loc("uBase"), BaseUnit);
    gl_->glUniform1i(loc("uBump"), BumpUnit);
    gl_->glUniform1i(loc("uDetail"), DetailUnit);
    gl_->glUniform1i(loc("uLightmap"), LightmapUnit);
    return &m;
}

void MeshProgramCache::clear()
{
    programs_.clear();
}

} // namespace kl::gpu
