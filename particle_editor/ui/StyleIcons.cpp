#include "ui/StyleIcons.h"

#include <QPainter>
#include <QPixmap>

#include <cmath>
#include <numbers>

namespace emberly {

namespace {

void arrow(QPainter& p, QPointF from, QPointF to)
{
    p.drawLine(from, to);
    const QPointF d = to - from;
    const double angle = std::atan2(d.y(), d.x());
    for (double side : {2.6, -2.6})
        p.drawLine(to, to - QPointF(std::cos(angle + side / 6) * 5, std::sin(angle + side / 6) * 5));
}

} // namespace

QIcon styleIcon(int style)
{
    QPixmap picture(36, 28);
    picture.fill(QColor(24, 24, 36));
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(255, 190, 90), 1.6));
    const QPointF centre(18, 14);
    switch (style) {
    case 0:
        arrow(p, {18, 26}, {18, 3});
        break;
    case 1:
        for (int i = -2; i <= 2; ++i)
            arrow(p, {18, 26}, {18 + i * 6.0, 4});
        break;
    case 2:
        for (int i = 0; i < 8; ++i) {
            const double a = i * std::numbers::pi / 4;
            arrow(p, centre + QPointF(std::cos(a) * 3, std::sin(a) * 3),
                  centre + QPointF(std::cos(a) * 12, std::sin(a) * 11));
        }
        break;
    default:
        for (int i = 0; i < 8; ++i) {
            const double a = i * std::numbers::pi / 4;
            arrow(p, centre + QPointF(std::cos(a) * 13, std::sin(a) * 12),
                  centre + QPointF(std::cos(a) * 4, std::sin(a) * 4));
        }
        break;
    }
    return QIcon(picture);
}

} // namespace emberly
