// The GL view the renderer places inside the caller's picture box.
#pragma once

#include <QOpenGLWidget>

namespace kl::gpu {

// Covers its parent exactly and follows its size; mouse events pass through to
// the parent. Drawing happens outside paint events (the engine's frame loop),
// so painting keeps the framebuffer as last drawn.
class GlView : public QOpenGLWidget {
    Q_OBJECT
public:
    explicit GlView(QWidget* pictureBox);

    static QSurfaceFormat requiredFormat();

protected:
    void initializeGL() override {}
    void paintGL() override {}
    bool eventFilter(QObject* watched, QEvent* event) override;
};

} // namespace kl::gpu
