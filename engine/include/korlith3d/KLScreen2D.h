// 2D drawing over (or under) the 3D view: textured quads and a background picture.
#pragma once

#include "korlith3d/Export.h"

#include "korlith3d/types.h"

#include <QString>

#include <cstdint>
#include <memory>

namespace kl::core {
class Context;
}

class KL_API KLScreen2D {
public:
    KLScreen2D();
    ~KLScreen2D();

    // Quad from (x1, y1) to (x2, y2) in view pixels, corner colours packed ARGB
    // (top-left, top-right, bottom-right, bottom-left) multiplied with the texture,
    // texture coordinates from (u1, v1) at the top-left to (u2, v2). textureId 0 =
    // colours only. Drawn at once, over what is already in the frame.
    void DrawTexturedQuad(int textureId, float x1, float y1, float x2, float y2,
                          std::int64_t colour1, std::int64_t colour2, std::int64_t colour3,
                          std::int64_t colour4, float u1 = 0.0f, float v1 = 0.0f, float u2 = 1.0f,
                          float v2 = 1.0f);

    // Background picture stretched over the whole view behind the 3D scene.
    // `size`: -1 = the picture's own size (it is always stretched to the view).
    void SetBackgroundPicture(const QString& file, int size = -1);
    void ClearBackgroundPicture();
    bool HasBackgroundPicture() const;

    // The background is drawn by three calls in this order each frame:
    // BeginDraw, DrawBackground, EndDraw.
    void BeginDraw();
    void DrawBackground();
    void EndDraw();

private:
    std::shared_ptr<kl::core::Context> context_;
    bool drawing_ = false;
};
