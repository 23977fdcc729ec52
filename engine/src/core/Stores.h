// CPU-side engine state for materials and lights.
#pragma once

#include "gpu/RenderTypes.h"
#include "korlith3d/types.h"

#include <QString>

#include <map>
#include <vector>

namespace kl::core {

struct Material {
    QString name;
    gpu::MaterialColors colors;
};

class MaterialStore {
public:
    int create(const QString& name);
    Material* find(int id);
    const Material* find(int id) const;
    int idOf(const QString& name) const;   // 0 when absent
    bool remove(int id);

private:
    std::map<int, Material> materials_;
    int nextId_ = 1;
};

struct Light {
    QString name;
    D3DLIGHT8 record;
    bool enabled = true;
    bool castsShadows = false;
};

class LightStore {
public:
    static constexpr int MaxLights = 8;
    // Returns the light's number (1-based) or 0 when all slots are used.
    int create(const D3DLIGHT8& record, const QString& name, bool castsShadows);
    Light* find(int index);
    const Light* find(int index) const;
    int count() const { return static_cast<int>(lights_.size()); }
    int indexOf(const QString& name) const;
    // The lights as the renderer takes them (index i = light number i + 1).
    std::vector<gpu::LightState> renderStates() const;

private:
    std::vector<Light> lights_;
};

gpu::LightState toLightState(const D3DLIGHT8& record, bool enabled);

} // namespace kl::core
