#include "gpu/GlView.h"

#include <QEvent>

namespace kl::gpu {

GlView::GlView(QWidget* pictureBox) : QOpenGLWidget(pictureBox)
{
    setObjectName(QStringLiteral("KLRenderView"));
    setFormat(requiredFormat());
    setUpdateBehavior(QOpenGLWidget::PartialUpdate);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    setGeometry(pictureBox->rect());
    pictureBox->installEventFilter(this);
}

QSurfaceFormat GlView::requiredFormat()
{
    QSurfaceFormat format;
    format.setRenderableType(QSurfaceFormat::OpenGL);
    format.setVersion(3, 3);
    format.setProfile(QSurfaceFormat::CoreProfile);
    format.setDepthBufferSize(24);
    format.setStencilBufferSize(8);
    format.setSwapInterval(0);
    return format;
}

bool GlView::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == parent() && event->type() == QEvent::Resize)
        setGeometry(parentWidget()->rect());
    return QOpenGLWidget::eventFilter(watched, event);
}

} // namespace kl::gpu
