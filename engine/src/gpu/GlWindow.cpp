#include "gpu/GlWindow.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>
#include <QWidget>

#include <memory>

namespace kl::gpu {

GlWindow::GlWindow(QWidget* pictureBox, int swapInterval) : pictureBox_(pictureBox)
{
    setSurfaceType(QSurface::OpenGLSurface);
    setFormat(requiredFormat(swapInterval));
    setFlag(Qt::WindowTransparentForInput);
    // The container takes ownership of this window and is owned by the picture box.
    container_ = QWidget::createWindowContainer(this, pictureBox);
    container_->setObjectName(QStringLiteral("KLRenderView"));
    container_->setAttribute(Qt::WA_TransparentForMouseEvents);
    container_->setFocusPolicy(Qt::NoFocus);
    container_->setGeometry(pictureBox->rect());
    pictureBox->installEventFilter(this);
}

QSurfaceFormat GlWindow::requiredFormat(int swapInterval)
{
    QSurfaceFormat format;
    format.setRenderableType(QSurfaceFormat::OpenGL);
    format.setVersion(3, 3);
    format.setProfile(QSurfaceFormat::CoreProfile);
    format.setDepthBufferSize(24);
    format.setStencilBufferSize(8);
    format.setSwapInterval(swapInterval);
    return format;
}

bool GlWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == pictureBox_ && event->type() == QEvent::Resize)
        container_->setGeometry(pictureBox_->rect());
    return QWindow::eventFilter(watched, event);
}

void GlWindow::exposeEvent(QExposeEvent*)
{
    if (isExposed())
        emit exposed();
}

bool GlWindow::event(QEvent* event)
{
    if (!pictureBox_)
        return QWindow::event(event);
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove: {
        // The window sits at the picture box's origin: positions carry over.
        auto* e = static_cast<QMouseEvent*>(event);
        QMouseEvent copy(e->type(), e->position(), e->scenePosition(), e->globalPosition(), e->button(),
                         e->buttons(), e->modifiers());
        QCoreApplication::sendEvent(pictureBox_, &copy);
        return true;
    }
    case QEvent::Wheel: {
        auto* e = static_cast<QWheelEvent*>(event);
        QWheelEvent copy(e->position(), e->globalPosition(), e->pixelDelta(), e->angleDelta(), e->buttons(),
                         e->modifiers(), e->phase(), e->inverted());
        QCoreApplication::sendEvent(pictureBox_, &copy);
        return true;
    }
    case QEvent::KeyPress:
    case QEvent::KeyRelease: {
        auto* e = static_cast<QKeyEvent*>(event);
        QKeyEvent copy(e->type(), e->key(), e->modifiers(), e->nativeScanCode(), e->nativeVirtualKey(),
                       e->nativeModifiers(), e->text(), e->isAutoRepeat(), ushort(e->count()));
        QCoreApplication::sendEvent(pictureBox_, &copy);
        return true;
    }
    default:
        return QWindow::event(event);
    }
}

} // namespace kl::gpu
