// Materials: the four Direct3D material colours and the specular power,
// numbered from 1 and found by name.
#pragma once

#include "korlith3d/Export.h"

#include "korlith3d/types.h"

#include <QString>

#include <memory>

namespace kl::core {
class Context;
}

class KL_API KLMaterialFactory {
public:
    KLMaterialFactory();
    ~KLMaterialFactory();

    // New material: ambient and diffuse white, specular and emissive black, power 0.
    // A name that exists returns the existing material's id unchanged.
    int CreateMaterial(const QString& name);
    // Colours in 0..1 (values outside are kept; the renderer clamps the result).
    void SetAmbient(int id, float r, float g, float b, float a);
    void SetDiffuse(int id, float r, float g, float b, float a);
    void SetSpecular(int id, float r, float g, float b, float a);
    void SetEmissive(int id, float r, float g, float b, float a);
    // Specular exponent; 0 switches highlights off for the material.
    void SetPower(int id, float power);

    D3DCOLORVALUE GetAmbient(int id) const;
    D3DCOLORVALUE GetDiffuse(int id) const;
    D3DCOLORVALUE GetSpecular(int id) const;
    D3DCOLORVALUE GetEmissive(int id) const;
    float GetPower(int id) const;
    int GetMaterialId(const QString& name) const;   // KLERR_UNKNOWN_ID when absent
    QString GetMaterialName(int id) const;
    void DeleteMaterial(int id);

private:
    std::shared_ptr<kl::core::Context> context_;
};
