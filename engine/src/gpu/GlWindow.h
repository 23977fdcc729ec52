// The native GL window the renderer places inside the caller's picture box.
#pragma once

#include <QPointer>
#include <QWidget>
#include <QWindow>


namespace kl::gpu {

// An OpenGL surface swapped directly (no widget composition, which costs more
// than the whole frame on software GL). It covers the picture box exactly,
// follows its size, and leaves input to the picture box: the window is
// transparent for input, and any mouse, wheel or key event that still reaches
// it is handed on.
class GlWindow : public QWindow {
    Q_OBJECT
public:
    // `swapInterval`: 0 presents at once, 1 waits for the display's vertical blank.
    explicit GlWindow(QWidget* pictureBox, int swapInterval = 0);

    static QSurfaceFormat requiredFormat(int swapInterval = 0);

    // The widget embedding the window (a child of the picture box).
    QWidget* container() const { return container_; }
    QWidget* pictureBox() const { return pictureBox_; }

signals:
    // The window was uncovered or resized: the last frame should be shown again.
    void exposed();

protected:
    bool event(QEvent* event) override;
    void exposeEvent(QExposeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPointer<QWidget> pictureBox_;
    QWidget* container_ = nullptr;
};

} // namespace kl::gpu
