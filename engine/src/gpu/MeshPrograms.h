// The mesh shader variants: one program per combination of stages and of the
// types of the enabled lights, built on first use and kept for the context.
#pragma once

#include "gpu/RenderTypes.h"

#include <QOpenGLExtraFunctions>
#include <QOpenGLShaderProgram>
#include <QString>

#include <cstdint>
#include <memory>
#include <unordered_map>

namespace kl::gpu {

// The enabled lights of a frame, packed for the shader.
struct PackedLights {
    int count = 0;
    int types[MaxLights] = {};
    int slotOf[MaxLights] = {};   // caller's light index -> packed slot, -1 when off
    glm::vec4 diffuse[MaxLights], specular[MaxLights], ambient[MaxLights], spot[MaxLights];
    glm::vec3 position[MaxLights], direction[MaxLights], attenuation[MaxLights];
    std::uint32_t key = 0;   // count and types, part of the program key
};

PackedLights packLights(const FrameState& frame);

// The shaders::MeshFeature bits an item needs.
unsigned meshFeatures(const DrawItem& item);

struct MeshUniforms {
    GLint world, normalMatrix, viewProjection, view, eye, sceneAmbient;
    GLint lightDiffuse, lightSpecular, lightAmbient, lightPosition,
        lightDirection, lightAttenuation, lightSpot;
    GLint matAmbient, matDiffuse, matSpecular, matEmissive, matPower;
    GLint bumpLight, bumpStrength, detailScale, detailOwnUv;
};

struct MeshProgram {
    std::unique_ptr<QOpenGLShaderProgram> program;
    MeshUniforms uniforms{};
    std::uint64_t frameSerial = 0;   // draw call whose frame uniforms it holds
};

// Every call needs the context current.
class MeshProgramCache {
public:
    void setFunctions(QOpenGLExtraFunctions* gl) { gl_ = gl; }

    // The program for these features and lights; null when it does not build
    // (the failure is kept, so a broken variant is not compiled every frame).
    // Building a program leaves it bound.
    MeshProgram* program(unsigned features, const PackedLights& lights, QString& error);

    // Drops every program (they belong to the context).
    void clear();

private:
    QOpenGLExtraFunctions* gl_ = nullptr;
    std::unordered_map<std::uint64_t, MeshProgram> programs_;
};

} // namespace kl::gpu
