#include "toolkit/Icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

namespace toolkit::icons {
namespace {

QPixmap blank(int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

// Draws on a 32 x 32 grid scaled to the requested size.
template <class Draw>
QPixmap paint(int size, Draw draw)
{
    QPixmap pixmap = blank(size);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / 32.0, size / 32.0);
    draw(painter);
    return pixmap;
}

QPixmap triangle(int size, bool up, const QColor& color)
{
    return paint(size, [&](QPainter& p) {
        p.setPen(Qt::NoPen);
        p.setBrush(color);
        const QPolygonF shape = up ? QPolygonF{{QPointF(6, 22), QPointF(26, 22), QPointF(16, 9)}}
                                   : QPolygonF{{QPointF(6, 10), QPointF(26, 10), QPointF(16, 23)}};
        p.drawPolygon(shape);
    });
}

} // namespace

QPixmap load(int size)
{
    return paint(size, [](QPainter& p) {
        p.setPen(QPen(QColor(120, 80, 10), 1.2));
        p.setBrush(QColor(230, 180, 60));
        p.drawRect(QRectF(3, 9, 24, 18));
        p.drawRect(QRectF(3, 6, 10, 4));
        p.setBrush(QColor(250, 215, 110));
        p.drawPolygon(QPolygonF{{QPointF(8, 14), QPointF(30, 14), QPointF(26, 27), QPointF(3, 27)}});
    });
}

QPixmap save(int size)
{
    return paint(size, [](QPainter& p) {
        p.setPen(QPen(QColor(20, 30, 70), 1.2));
        p.setBrush(QColor(50, 80, 170));
        p.drawRoundedRect(QRectF(4, 4, 24, 24), 2, 2);
        p.setBrush(QColor(235, 235, 235));
        p.drawRect(QRectF(9, 4, 14, 9));
        p.setBrush(QColor(40, 40, 40));
        p.drawRect(QRectF(18, 6, 3, 5));
        p.setBrush(QColor(210, 210, 220));
        p.drawRect(QRectF(8, 17, 16, 11));
    });
}

QPixmap code(int size)
{
    return paint(size, [](QPainter& p) {
        p.setPen(QPen(QColor(90, 90, 90), 1.2));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(5, 3, 22, 26));
        p.setPen(QPen(QColor(20, 110, 40), 2.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        p.drawPolyline(QPolygonF{{QPointF(13, 10), QPointF(9, 16), QPointF(13, 22)}});
        p.drawPolyline(QPolygonF{{QPointF(19, 10), QPointF(23, 16), QPointF(19, 22)}});
    });
}

QPixmap quit(int size)
{
    return paint(size, [](QPainter& p) {
        p.setPen(QPen(QColor(80, 40, 20), 1.2));
        p.setBrush(QColor(150, 90, 50));
        p.drawRect(QRectF(4, 3, 15, 26));
        p.setBrush(QColor(240, 200, 60));
        p.drawEllipse(QPointF(15, 16), 1.5, 1.5);
        p.setPen(QPen(QColor(190, 30, 30), 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawLine(QPointF(18, 16), QPointF(29, 16));
        p.drawPolyline(QPolygonF{{QPointF(24, 11), QPointF(29, 16), QPointF(24, 21)}});
    });
}

QPixmap panelUp(int size) { return triangle(size, true, QColor(235, 240, 250)); }
QPixmap panelDown(int size) { return triangle(size, false, QColor(235, 240, 250)); }
QPixmap scrollUp(int size) { return triangle(size, true, QColor(70, 70, 90)); }
QPixmap scrollDown(int size) { return triangle(size, false, QColor(70, 70, 90)); }

} // namespace toolkit::icons
