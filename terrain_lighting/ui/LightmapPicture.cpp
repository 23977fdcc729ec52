#include "ui/LightmapPicture.h"

#include <algorithm>

#include <QMenu>
#include <QMouseEvent>
#include <QPainter>

namespace landlume {

LightmapPicture::LightmapPicture(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("PicShadowMap"));
    resizePicture(512, 512);
}

void LightmapPicture::resizePicture(int width, int height)
{
    image_ = QImage(width, height, QImage::Format_RGB32);
    image_.fill(Qt::white);
    setFixedSize(width, height);
    update();
    emit sizeChanged(image_.size());
}

void LightmapPicture::setPicture(const QImage& picture)
{
    const QSize before = image_.size();
    image_ = picture.convertToFormat(QImage::Format_RGB32);
    setFixedSize(image_.size());
    update();
    if (image_.size() != before)
        emit sizeChanged(image_.size());
}

void LightmapPicture::clearPicture()
{
    image_.fill(Qt::white);
    update();
}

void LightmapPicture::refresh() { repaint(); }

void LightmapPicture::refreshColumns(int first, int last)
{
    const auto [left, right] = std::minmax(first, last);
    repaint(QRect(left, 0, right - left + 1, height()));
}

void LightmapPicture::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    painter.drawImage(0, 0, image_);
}

void LightmapPicture::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::RightButton && effects_) {
        effects_->popup(event->globalPosition().toPoint());
        return;
    }
    QWidget::mousePressEvent(event);
}

} // namespace landlume
