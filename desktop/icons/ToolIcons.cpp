#include "ToolIcons.h"

#include <Logo.h>
#include <Sprites.h>
#include <SurfaceTextures.h>

#include <QDir>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QSaveFile>

#include <functional>

namespace kl::desktop {
namespace {

using Emblem = std::function<void(QPainter&, qreal)>;

// The tile every icon sits on: a rounded square with a vertical gradient,
// inset so the icon does not touch the edges of its box.
QRectF tileRect(qreal size)
{
    const qreal inset = size / 16.0;
    return QRectF(inset, inset, size - 2 * inset, size - 2 * inset);
}

void drawTile(QPainter& painter, qreal size, QColor top, QColor bottom)
{
    const QRectF tile = tileRect(size);
    QLinearGradient shade(tile.topLeft(), tile.bottomLeft());
    shade.setColorAt(0, top);
    shade.setColorAt(1, bottom);
    painter.setPen(Qt::NoPen);
    painter.setBrush(shade);
    painter.drawRoundedRect(tile, size * 0.18, size * 0.18);
}

void glazeryEmblem(QPainter& painter, qreal size)
{
    drawTile(painter, size, QColor(70, 44, 110), QColor(34, 20, 58));
    // A glossy sphere lit from the upper left: the material preview.
    const QPointF centre(size * 0.5, size * 0.52);
    const qreal radius = size * 0.30;
    QRadialGradient body(centre + QPointF(-radius * 0.35, -radius * 0.4), radius * 1.4);
    body.setColorAt(0, QColor(255, 236, 246));
    body.setColorAt(0.25, QColor(232, 92, 150));
    body.setColorAt(1, QColor(82, 10, 44));
    painter.setPen(Qt::NoPen);
    painter.setBrush(body);
    painter.drawEllipse(centre, radius, radius);
}

void emberlyEmblem(QPainter& painter, qreal size)
{
    drawTile(painter, size, QColor(60, 26, 12), QColor(18, 8, 4));
    const QRectF tile = tileRect(size);
    const QImage flare = kl::media::flareSprite(int(tile.width()));
    painter.setCompositionMode(QPainter::CompositionMode_Plus);
    painter.drawImage(tile, flare);
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
}

void landlumeEmblem(QPainter& painter, qreal size)
{
    drawTile(painter, size, QColor(96, 150, 214), QColor(196, 222, 240));
    const QRectF tile = tileRect(size);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 214, 90));
    painter.drawEllipse(QPointF(size * 0.70, size * 0.30), size * 0.10, size * 0.10);
    // Two hills: the sunny slopes light, the far sides in shadow.
    painter.save();
    QPainterPath clip;
    clip.addRoundedRect(tile, size * 0.18, size * 0.18);
    painter.setClipPath(clip);
    QPainterPath lit;
    lit.moveTo(tile.left(), tile.bottom());
    lit.lineTo(tile.left(), size * 0.72);
    lit.quadTo(size * 0.30, size * 0.38, size * 0.50, size * 0.66);
    lit.quadTo(size * 0.68, size * 0.48, tile.right(), size * 0.70);
    lit.lineTo(tile.right(), tile.bottom());
    lit.closeSubpath();
    painter.setBrush(QColor(86, 150, 62));
    painter.drawPath(lit);
    QPainterPath shadow;
    shadow.moveTo(size * 0.32, size * 0.52);
    shadow.quadTo(size * 0.22, size * 0.70, size * 0.30, tile.bottom());
    shadow.lineTo(size * 0.50, tile.bottom());
    shadow.lineTo(size * 0.50, size * 0.66);
    shadow.quadTo(size * 0.42, size * 0.56, size * 0.32, size * 0.52);
    painter.setBrush(QColor(40, 80, 34));
    painter.drawPath(shadow);
    painter.restore();
}

void layerloomEmblem(QPainter& painter, qreal size)
{
    const QRectF tile = tileRect(size);
    painter.save();
    QPainterPath clip;
    clip.addRoundedRect(tile, size * 0.18, size * 0.18);
    painter.setClipPath(clip);
    // Snow over rock over grass over sand: the layers by altitude.
    const QImage bands[] = {kl::media::snow(64), kl::media::rock(64), kl::media::grass(64), kl::media::sand(64)};
    const qreal bandHeight = tile.height() / 4;
    for (int i = 0; i < 4; ++i) {
        const QRectF band(tile.left(), tile.top() + i * bandHeight, tile.width(), bandHeight + 1);
        painter.drawImage(band, bands[i]);
    }
    painter.restore();
}

void stewardexEmblem(QPainter& painter, qreal size)
{
    drawTile(painter, size, QColor(226, 234, 244), QColor(170, 186, 206));
    kl::media::drawCube(painter, QPointF(size * 0.5, size * 0.5), size * 0.34);
}

Emblem emblemOf(const QString& tool)
{
    if (tool == QLatin1String("glazery"))
        return glazeryEmblem;
    if (tool == QLatin1String("emberly"))
        return emberlyEmblem;
    if (tool == QLatin1String("landlume"))
        return landlumeEmblem;
    if (tool == QLatin1String("layerloom"))
        return layerloomEmblem;
    if (tool == QLatin1String("stewardex"))
        return stewardexEmblem;
    return {};
}

} // namespace

const QStringList& iconTools()
{
    static const QStringList tools{QStringLiteral("glazery"), QStringLiteral("emberly"), QStringLiteral("landlume"),
                                   QStringLiteral("layerloom"), QStringLiteral("stewardex")};
    return tools;
}

const std::vector<int>& iconSizes()
{
    static const std::vector<int> sizes{16, 32, 48, 64, 128, 256};
    return sizes;
}

QImage toolIcon(const QString& tool, int size)
{
    const Emblem emblem = emblemOf(tool);
    if (!emblem || size < 8 || size > 1024)
        return {};
    // Small sizes are drawn four times larger and reduced, so thin shapes
    // keep their weight instead of breaking up.
    const int drawn = size < 64 ? size * 4 : size;
    QImage image(drawn, drawn, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        emblem(painter, qreal(drawn));
    }
    if (drawn != size)
        image = image.scaled(size, size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return image.convertToFormat(QImage::Format_ARGB32);
}

bool writeIcons(const QString& root, QString& error)
{
    for (const int size : iconSizes()) {
        const QString folder = QStringLiteral("%1/%2x%2/apps").arg(root).arg(size);
        if (!QDir().mkpath(folder)) {
            error = QStringLiteral("cannot create the folder %1").arg(folder);
            return false;
        }
        for (const QString& tool : iconTools()) {
            const QString path = QStringLiteral("%1/korlith3d-%2.png").arg(folder, tool);
            QSaveFile file(path);
            if (!file.open(QIODevice::WriteOnly) || !toolIcon(tool, size).save(&file, "PNG") || !file.commit()) {
                error = QStringLiteral("cannot write %1").arg(path);
                return false;
            }
        }
    }
    return true;
}

} // namespace kl::desktop
