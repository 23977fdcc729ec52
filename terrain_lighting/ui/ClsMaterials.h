// The material factory and the land's material "LandMat".
#pragma once

#include <memory>

class KLMaterialFactory;

namespace landlume {

class ClsMaterials {
public:
    ClsMaterials();
    ~ClsMaterials();
    void Init_Materials();
    void Kill_Materials();
    bool alive() const { return bool(factory_); }

private:
    std::unique_ptr<KLMaterialFactory> factory_;
};

} // namespace landlume
