#include "ui/Logo.h"

#include <platform/Paths.h>

#include <QFont>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>

namespace stewardex {

namespace {

QPixmap drawnLogo(int width, int height)
{
    QPixmap picture(width, height);
    QPainter painter(&picture);
    QLinearGradient background(0, 0, width, height);
    background.setColorAt(0, QColor(16, 24, 64));
    background.setColorAt(1, QColor(40, 90, 160));
    painter.fillRect(picture.rect(), background);
    painter.setRenderHint(QPainter::Antialiasing);
    QFont title = painter.font();
    title.setBold(true);
    title.setPixelSize(std::max(10, height * 2 / 5));
    painter.setFont(title);
    painter.setPen(QColor(240, 240, 255));
    painter.drawText(picture.rect().adjusted(12, 0, -12, 0), Qt::AlignLeft | Qt::AlignVCenter,
                     QStringLiteral("Korlith3D"));
    QFont subtitle = title;
    subtitle.setBold(false);
    subtitle.setPixelSize(std::max(8, height / 4));
    painter.setFont(subtitle);
    painter.setPen(QColor(180, 200, 240));
    painter.drawText(picture.rect().adjusted(12, 0, -12, 0), Qt::AlignRight | Qt::AlignVCenter,
                     QStringLiteral("Stewardex"));
    return picture;
}

} // namespace

QPixmap logoPicture(const QString& programFolder, int width, int height)
{
    const QImage file(platform::joinPath(programFolder, QStringLiteral("logo.png")));
    if (file.isNull())
        return drawnLogo(width, height);
    QPixmap picture(width, height);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const QImage scaled = file.scaled(width - 16, height - 8, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    painter.drawImage(8, (height - scaled.height()) / 2, scaled);
    return picture;
}

} // namespace stewardex
