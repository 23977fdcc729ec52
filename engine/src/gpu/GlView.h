// The life of the GL view: the native window inside the caller's picture box,
// its OpenGL 3.3 core context (created again when lost), the offscreen frame
// that is drawn into and kept, presenting it and reading it back.
#pragma once

#include "gpu/GlWindow.h"

#include <QImage>
#include <QOpenGLContext>
#include <QOpenGLExtraFunctions>
#include <QOpenGLFramebufferObject>
#include <QPointer>
#include <QSize>
#include <QString>
#include <QWidget>

#include <memory>

namespace kl::gpu {

class GlView {
public:
    // The GL objects made for a context. The view creates them with each new
    // context, frees them (context current) before it closes, and forgets them
    // when the context went away on its own.
    class Objects {
    public:
        virtual ~Objects() = default;
        // False with `error` set when they cannot be made.
        virtual bool create(QOpenGLExtraFunctions& gl, QString& error) = 0;
        virtual void free() = 0;
        virtual void forget() = 0;
    };

    explicit GlView(Objects& objects) : objects_(objects) {}
    ~GlView() { close(); }
    GlView(const GlView&) = delete;
    GlView& operator=(const GlView&) = delete;

    // Places a new GL window in the picture box (closing any previous one) and
    // creates the context; false with error() set on failure.
    bool open(QWidget* pictureBox);
    // Frees the GL objects and removes the window from the picture box.
    void close();
    bool isOpen() const { return !window_.isNull(); }

    // Swap interval of the window: 0 presents at once, 1 waits for the vertical
    // blank. A change while open takes effect when the view is next opened.
    void setSwapInterval(int interval) { swapInterval_ = interval; }
    int swapInterval() const { return swapInterval_; }
    // The interval the open window's surface was made with (-1 when closed).
    int windowSwapInterval() const;

    // Makes the context current, creating it (and the GL objects) when it is
    // missing or was lost. False when there is no usable context.
    bool makeCurrent();
    bool hasValidContext() const { return context_ && context_->isValid(); }
    QOpenGLExtraFunctions* functions() const { return gl_; }

    // The offscreen frame follows the view size; false with error() when it cannot be made.
    bool ensureFrame();
    QOpenGLFramebufferObject* frame() const { return frame_.get(); }
    // Binds the frame as the target over its whole size, alpha kept at 1.
    void bindFrame();
    // Size of the frame in device-independent pixels (what 2D positions are in).
    QSizeF frameLogicalSize() const;
    // Copies the frame to the window and swaps (nothing while the window is hidden).
    void showFrame();
    // The frame as an RGB32 image, or a null image.
    QImage readFrame();

    GlWindow* window() const { return window_; }
    // The picture box's size, or an empty size when closed.
    QSize viewSize() const;

    QString glVersion() const { return version_; }
    QString glRenderer() const { return rendererName_; }
    QString error() const { return error_; }
    void setError(const QString& error) { error_ = error; }

private:
    bool createContext();
    QSize framebufferSize() const;
    void forgetGl();

    Objects& objects_;
    QPointer<GlWindow> window_;   // owned (through its container) by the picture box
    std::unique_ptr<QOpenGLContext> context_;
    std::unique_ptr<QOpenGLFramebufferObject> frame_;   // the frame being drawn / last presented
    QOpenGLExtraFunctions* gl_ = nullptr;
    int swapInterval_ = 0;
    QString error_;
    QString version_;
    QString rendererName_;
};

} // namespace kl::gpu
