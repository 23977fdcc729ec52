#include "Logo.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>

namespace kl::media {
namespace {

// Capital letters on a grid 10 units tall (y down). Returns the letter's advance width.
qreal letterPath(char letter, QPainterPath& path)
{
    switch (letter) {
    case 'S':
        path.moveTo(6.5, 1.3);
        path.cubicTo(5.4, -0.2, 0.8, -0.3, 0.8, 2.6);
        path.cubicTo(0.8, 5.2, 6.7, 4.6, 6.7, 7.4);
        path.cubicTo(6.7, 10.3, 1.6, 10.3, 0.4, 8.6);
        return 7.2;
    case 'T':
        path.moveTo(0, 0);
        path.lineTo(7, 0);
        path.moveTo(3.5, 0);
        path.lineTo(3.5, 10);
        return 7.0;
    case 'E':
        path.moveTo(6.3, 0);
        path.lineTo(0.5, 0);
        path.lineTo(0.5, 10);
        path.lineTo(6.3, 10);
        path.moveTo(0.5, 5);
        path.lineTo(5.2, 5);
        return 6.8;
    case 'W':
        path.moveTo(0, 0);
        path.lineTo(2.2, 10);
        path.lineTo(4.6, 2.5);
        path.lineTo(7.0, 10);
        path.lineTo(9.2, 0);
        return 9.2;
    case 'A':
        path.moveTo(0, 10);
        path.lineTo(3.8, 0);
        path.lineTo(7.6, 10);
        path.moveTo(1.4, 6.4);
        path.lineTo(6.2, 6.4);
        return 7.6;
    case 'R':
        path.moveTo(0.5, 10);
        path.lineTo(0.5, 0);
        path.lineTo(3.8, 0);
        path.cubicTo(7.6, 0, 7.6, 5.4, 3.8, 5.4);
        path.lineTo(0.5, 5.4);
        path.moveTo(3.6, 5.4);
        path.lineTo(7.0, 10);
        return 7.2;
    case 'D':
        path.moveTo(0.5, 0);
        path.lineTo(0.5, 10);
        path.lineTo(3.0, 10);
        path.cubicTo(8.4, 10, 8.4, 0, 3.0, 0);
        path.closeSubpath();
        return 7.4;
    case 'X':
        path.moveTo(0, 0);
        path.lineTo(7, 10);
        path.moveTo(7, 0);
        path.lineTo(0, 10);
        return 7.0;
    default:
        return 7.0;
    }
}

QPainterPath wordPath(const char* word, qreal spacing, qreal& width)
{
    QPainterPath result;
    qreal x = 0;
    for (const char* c = word; *c; ++c) {
        QPainterPath letter;
        const qreal advance = letterPath(*c, letter);
        result.addPath(letter.translated(x, 0));
        x += advance + spacing;
    }
    width = x - spacing;
    return result;
}

} // namespace

void drawCube(QPainter& painter, QPointF centre, qreal radius)
{
    // Isometric cube: top, left and right faces around the centre vertex.
    const QPointF up(0, -radius), upRight(radius * 0.866, -radius * 0.5), downRight(radius * 0.866, radius * 0.5),
        down(0, radius), downLeft(-radius * 0.866, radius * 0.5), upLeft(-radius * 0.866, -radius * 0.5);
    const QPointF c = centre;
    const QPolygonF top({c, c + upLeft, c + up, c + upRight});
    const QPolygonF left({c, c + upLeft, c + downLeft, c + down});
    const QPolygonF right({c, c + down, c + downRight, c + upRight});

    painter.setPen(Qt::NoPen);
    QLinearGradient topShade(c + up, c);
    topShade.setColorAt(0, QColor(150, 205, 255));
    topShade.setColorAt(1, QColor(92, 160, 230));
    painter.setBrush(topShade);
    painter.drawPolygon(top);
    QLinearGradient leftShade(c + upLeft, c + down);
    leftShade.setColorAt(0, QColor(44, 104, 180));
    leftShade.setColorAt(1, QColor(28, 70, 130));
    painter.setBrush(leftShade);
    painter.drawPolygon(left);
    QLinearGradient rightShade(c + upRight, c + down);
    rightShade.setColorAt(0, QColor(30, 78, 146));
    rightShade.setColorAt(1, QColor(16, 44, 92));
    painter.setBrush(rightShade);
    painter.drawPolygon(right);

    // Tick across the front edge: the engine is in place.
    QPen tick(QColor(255, 196, 40), radius * 0.16, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    painter.setPen(tick);
    painter.setBrush(Qt::NoBrush);
    QPainterPath mark;
    mark.moveTo(c + QPointF(-radius * 0.45, radius * 0.15));
    mark.lineTo(c + QPointF(-radius * 0.1, radius * 0.5));
    mark.lineTo(c + QPointF(radius * 0.6, -radius * 0.35));
    painter.drawPath(mark);
}

QImage stewardexLogo(int width, int height)
{
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);

    const qreal margin = height * 0.08;
    const qreal cubeRadius = (height - 2 * margin) / 2;
    drawCube(painter, QPointF(margin + cubeRadius * 0.9, height / 2.0), cubeRadius);

    qreal wordWidth = 0;
    const QPainterPath word = wordPath("STEWARDEX", 2.0, wordWidth);
    const qreal left = margin * 2 + cubeRadius * 1.9;
    const qreal available = width - left - margin;
    const qreal scale = std::min(available / (wordWidth + 1.0), height * 0.42 / 10.0);
    QTransform placement;
    placement.translate(left + 0.5 * scale, (height - 10 * scale) / 2);
    placement.scale(scale, scale);
    const QPainterPath placed = placement.map(word);

    QLinearGradient ink(0, (height - 10 * scale) / 2, 0, (height + 10 * scale) / 2);
    ink.setColorAt(0, QColor(40, 82, 140));
    ink.setColorAt(1, QColor(20, 44, 82));
    painter.setPen(QPen(QBrush(ink), scale * 1.35, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(placed);
    painter.end();
    return image.convertToFormat(QImage::Format_ARGB32);
}

} // namespace kl::media
