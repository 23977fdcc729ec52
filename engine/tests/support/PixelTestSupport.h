// Shared helpers of the pixel tests: a picture box with an attached renderer,
// generated geometry and the Direct3D 8 lighting formula evaluated on the CPU.
#pragma once

#include "gpu/Renderer.h"

#include <QImage>
#include <QWidget>

#include <functional>
#include <memory>

namespace kl::gpu::test {

// UV sphere around the origin, poles on y; u runs around, v from top (0) to bottom (1).
MeshGeometry makeSphere(ResourceId id, float radius, int slices = 48, int stacks = 24);
// Quad in the z = 0 plane facing -z (towards a camera on the -z side), uv (0,0) at top-left.
MeshGeometry makeQuad(ResourceId id, float halfSize);

// Camera at (0, 0, -distance) looking at the origin, 60° vertical field of view.
FrameState frontCamera(float distance, QSize viewport);

// Colour of one surface point as Direct3D 8 lights it (no texture), clamped 0..1.
glm::vec4 referenceColour(const FrameState& frame, const MaterialColors& material, glm::vec3 position,
                          glm::vec3 normal);

// A shown top-level picture box with a renderer attached to its native window.
class RenderFixture {
public:
    explicit RenderFixture(QSize size = QSize(160, 120));
    ~RenderFixture();

    Renderer& renderer() { return renderer_; }
    QWidget& pictureBox() { return *box_; }
    QSize size() const { return box_->size(); }
    bool attached() const { return attached_; }
    const QString& attachError() const { return error_; }

    // One frame: clear, optional background, the items, present; returns the frame read back.
    QImage render(const FrameState& frame, std::span<const DrawItem> items,
                  glm::vec4 clear = glm::vec4(0, 0, 0, 1), const TextureData* background = nullptr);

private:
    std::unique_ptr<QWidget> box_;
    Renderer renderer_;
    bool attached_ = false;
    QString error_;
};

// Where the ray through the centre of image pixel (x, y) first meets the sphere of
// the given radius around the origin; false when it misses.
bool spherePointUnderPixel(const FrameState& frame, QSize viewport, int x, int y, float radius,
                           glm::vec3& point);

glm::vec4 pixelColour(const QImage& image, int x, int y);
glm::vec4 centrePixel(const QImage& image);

// What the screen shows inside `box` (GL view included). The X server maps and
// updates the window asynchronously, so events are processed until `shows`
// accepts the picture or a few seconds pass; the last picture is returned.
QImage grabShownPicture(QWidget& box, const std::function<bool(const QImage&)>& shows);

} // namespace kl::gpu::test
