// How the scene is drawn as a whole (KLScene, KLScreen2D): clear colour,
// ambient light, render modes, scene time and the background picture.
#pragma once

#include "gpu/RenderTypes.h"

#include <glm/glm.hpp>

namespace kl::core {

struct SceneState {
    glm::vec4 clearColour{0.0f, 0.0f, 0.0f, 1.0f};
    glm::vec4 ambient{0.5f, 0.5f, 0.5f, 1.0f};
    int shadeMode = 2;
    int cullMode = 2;
    bool lighting = true;
    int depthMode = 2;
    double time = 0.0;   // scene time in milliseconds, advanced by KLScene::Update

    // The picture drawn behind the scene (KLScreen2D::LoadBackground).
    gpu::TextureData background;
    bool hasBackground = false;
};

} // namespace kl::core
