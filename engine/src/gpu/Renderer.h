// The engine's GPU side: an OpenGL 3.3 core view placed inside the caller's
// picture box, drawing meshes lit like Direct3D 8's fixed-function pipeline
// (evaluated per pixel), 2D quads, the background picture and text.
//
// Frame order, driven from the caller's own loop (not from a paint event):
//   beginFrame → drawBackground / drawItems / drawQuad2D / drawText → present
// drawItems collects the 3D items; they are drawn in DrawQueue's order (sky,
// opaque, blended far to near) at the next 2D draw, present, grab or release,
// so 2D drawing still lands over or under them as called.
// Every call makes the view's context current itself. Drawing calls outside a
// frame, or without a view, do nothing.
#pragma once

#include "gpu/RenderTypes.h"

#include <QFont>
#include <QImage>
#include <QSize>
#include <QString>
#include <QWidget>

#include <memory>
#include <span>

namespace kl::gpu {

class Renderer {
public:
    Renderer();
    ~Renderer();
    Renderer(const Renderer&) = delete;
    Renderer& operator=(const Renderer&) = delete;

    // Finds the widget of the native window id and fills it with the GL view,
    // which follows the widget's size and lets its mouse events through.
    // On failure returns false with a readable reason in `error`.
    bool attach(WId pictureBox, QString& error);
    bool attach(QWidget* pictureBox, QString& error);
    void detach();
    bool isAttached() const;

    // Size of the view in pixels (the picture box's client size).
    QSize viewportSize() const;

    // Starts a frame: clears colour (RGBA 0..1) and, when asked, depth.
    // Returns false (with lastError) when the context is gone.
    bool beginFrame(const glm::vec4& clearColour, bool clearDepth = true);

    // Picture stretched over the whole view, behind everything drawn later.
    void drawBackground(const TextureData& picture);
    // The items are copied; what they point to must live until present (a
    // release() in between draws them first). `sortBlended` false keeps the
    // frame's blended items in the order given.
    void drawItems(const FrameState& frame, std::span<const DrawItem> items, bool sortBlended = true);
    void drawQuad2D(const Quad2D& quad);
    // Text with its top-left corner at (x, y) pixels; colour as packed ARGB.
    void drawText(const QFont& font, const QString& text, int x, int y, std::uint32_t argb);

    // Shows the finished frame in the picture box. Returns false when the
    // context was lost.
    bool present();
    // Wall time between the last two presents (0 before the second one).
    double lastFrameMilliseconds() const;

    // The last presented frame as an image (view size), or a null image.
    QImage grabFrame();
    // Writes the last presented frame as BMP.
    bool saveScreenshot(const QString& path, QString& error);

    QString glVersion() const;
    QString glRenderer() const;
    QString lastError() const;

    // Frees the GPU copy of a texture or mesh (the id may be uploaded again later).
    void release(ResourceId id);

    // Sampling of mesh textures (all mip-mapped, repeating). Default trilinear.
    void setTextureFilter(TextureFilter filter);
    // Swap interval for the GL window (0 at once, 1 wait for the vertical blank).
    // The window's surface is made with it on attach; a change while attached
    // takes effect on the next attach.
    void setSwapInterval(int interval);
    // The interval the attached window was made with (-1 when not attached).
    int windowSwapInterval() const;

    struct Impl;

private:
    std::unique_ptr<Impl> impl_;
};

} // namespace kl::gpu
