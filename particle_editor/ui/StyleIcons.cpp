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

QPixmap pickerPicture(QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x) {
            const double hue = double(x) / size.width();
            const double v = 1.0 - double(y) / size.height();
            // Upper half: from white to the full hue; lower half: to black.
            const QColor full = QColor::fromHsvF(float(hue), 1.0f, 1.0f);
            QColor c;
            if (v > 0.5) {
                const double w = (v - 0.5) * 2;
                c = QColor::fromRgbF(float(full.redF() + (1 - full.redF()) * w),
                                     float(full.greenF() + (1 - full.greenF()) * w),
                                     float(full.blueF() + (1 - full.blueF()) * w));
            } else {
                const double k = v * 2;
                c = QColor::fromRgbF(float(full.redF() * k), float(full.greenF() * k), float(full.blueF() * k));
            }
            image.setPixel(x, y, c.rgb());
        }
    return QPixmap::fromImage(image);
}

} // namespace emberly
