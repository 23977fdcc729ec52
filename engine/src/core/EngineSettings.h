// The configuration calls the tools make (KLEngine, KLTextureFactory), recorded
// as given; the renderer reads what it applies from here.
#pragma once

namespace kl::core {

struct EngineSettings {
    int requestedWidth = -1;
    int requestedHeight = -1;
    int colourDepth = 0;
    int textureFilter = 1;   // 0 nearest, 1 bilinear, 2 trilinear
    int anisotropy = 0;
    bool verticalSync = false;
    bool showCursor = true;
    bool hardware = true;
    bool depthBuffer = true;
    bool stencil = false;
    int detailLevel = 2;
    float detailDistance = 1.0f;
    bool specular = true;
    bool mipMapping = false;
    bool displayFps = false;
};

} // namespace kl::core
