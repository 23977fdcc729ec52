#include "core/Stores.h"

namespace kl::core {

int MaterialStore::create(const QString& name)
{
    if (const int existing = idOf(name); existing != 0 && !name.isEmpty())
        return existing;
    const int id = nextId_++;
    Material material;
    material.name = name;
    material.colors.ambient = glm::vec4(1.0f);
    material.colors.diffuse = glm::vec4(1.0f);
    material.colors.specular = glm::vec4(0.0f, 0.0f, 0.0f, 1.0f);
    material.colors.emissive = glm::vec4(0.0f, 0.0f, 0.0f, 1.0f);
    material.colors.power = 0.0f;
    materials_.emplace(id, material);
    return id;
}

Material* MaterialStore::find(int id)
{
    const auto it = materials_.find(id);
    return it == materials_.end() ? nullptr : &it->second;
}

const Material* MaterialStore::find(int id) const
{
    const auto it = materials_.find(id);
    return it == materials_.end() ? nullptr : &it->second;
}

int MaterialStore::idOf(const QString& name) const
{
    for (const auto& [id, material] : materials_)
        if (material.name == name)
            return id;
    return 0;
}

bool MaterialStore::remove(int id)
{
    return materials_.erase(id) > 0;
}

int LightStore::create(const D3DLIGHT8& record, const QString& name, bool castsShadows)
{
    if (count() >= MaxLights)
        return 0;
    lights_.push_back(Light{name, record, true, castsShadows});
    return count();
}

Light* LightStore::find(int index)
{
    return index >= 1 && index <= count() ? &lights_[static_cast<size_t>(index - 1)] : nullptr;
}

const Light* LightStore::find(int index) const
{
    return index >= 1 && index <= count() ? &lights_[static_cast<size_t>(index - 1)] : nullptr;
}

int LightStore::indexOf(const QString& name) const
{
    for (int i = 0; i < count(); ++i)
        if (lights_[static_cast<size_t>(i)].name == name)
            return i + 1;
    return 0;
}

static glm::vec4 toVec4(const D3DCOLORVALUE& c)
{
    return {c.r, c.g, c.b, c.a};
}

static glm::vec3 toVec3(const D3DVECTOR& v)
{
    return {v.x, v.y, v.z};
}

gpu::LightState toLightState(const D3DLIGHT8& record, bool enabled)
{
    gpu::LightState state;
    switch (record.Type) {
    case D3DLIGHT_POINT: state.type = gpu::LightType::Point; break;
    case D3DLIGHT_SPOT: state.type = gpu::LightType::Spot; break;
    default: state.type = gpu::LightType::Directional; break;
    }
    state.diffuse = toVec4(record.Diffuse);
    state.specular = toVec4(record.Specular);
    state.ambient = toVec4(record.Ambient);
    state.position = toVec3(record.Position);
    state.direction = toVec3(record.Direction);
    state.range = record.Range;
    state.falloff = record.Falloff;
    state.attenuation0 = record.Attenuation0;
    state.attenuation1 = record.Attenuation1;
    state.attenuation2 = record.Attenuation2;
    // A point or spot light given no attenuation at all would be undefined in
    // Direct3D; treat it as constant so the light still shows.
    if (state.attenuation0 == 0.0f && state.attenuation1 == 0.0f && state.attenuation2 == 0.0f)
        state.attenuation0 = 1.0f;
    state.theta = record.Theta;
    state.phi = record.Phi;
    state.enabled = enabled;
    return state;
}

std::vector<gpu::LightState> LightStore::renderStates() const
{
    std::vector<gpu::LightState> states;
    states.reserve(lights_.size());
    for (const Light& light : lights_)
        states.push_back(toLightState(light.record, light.enabled));
    return states;
}

} // namespace kl::core
