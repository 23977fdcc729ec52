#include "ui/frmSplash.h"

#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>
#include <QRandomGenerator>

namespace emberly {

frmSplash::frmSplash() : SplashWindow(QStringLiteral("frmSplash"), QStringLiteral("Emberly"), QSize(480, 280)) {}

void frmSplash::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient night(0, 0, 0, height());
    night.setColorAt(0, QColor(12, 10, 28));
    night.setColorAt(1, QColor(60, 24, 16));
    p.fillRect(rect(), night);
    // Embers rising from a glow: the particle editor's emblem.
    QRadialGradient glow(QPointF(120, 200), 90);
    glow.setColorAt(0, QColor(255, 220, 120, 230));
    glow.setColorAt(0.4, QColor(240, 110, 30, 140));
    glow.setColorAt(1, QColor(120, 30, 10, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(glow);
    p.drawEllipse(QPointF(120, 200), 90, 90);
    QRandomGenerator embers(42);
    for (int i = 0; i < 60; ++i) {
        const double y = 40 + embers.bounded(160);
        const double x = 120 + (embers.generateDouble() - 0.5) * (200 - y) * 0.9;
        const int size = 2 + embers.bounded(4);
        p.setBrush(QColor(255, 160 + embers.bounded(90), 60, 120 + embers.bounded(130)));
        p.drawEllipse(QPointF(x, y), size, size);
    }
    p.setPen(Qt::white);
    QFont title = font();
    title.setPointSize(30);
    title.setBold(true);
    p.setFont(title);
    p.drawText(QRect(230, 60, 240, 50), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Emberly"));
    QFont text = font();
    text.setPointSize(11);
    p.setFont(text);
    p.drawText(QRect(230, 112, 240, 40), Qt::AlignLeft | Qt::TextWordWrap,
               QStringLiteral("A Particle Editor for the Korlith3D engine"));
    p.drawText(QRect(230, 150, 240, 20), Qt::AlignLeft, QStringLiteral("Version 1.2"));
    QFont small = font();
    small.setPointSize(8);
    p.setFont(small);
    p.setPen(QColor(230, 210, 190));
    p.drawText(QRect(230, 230, 240, 40), Qt::AlignLeft | Qt::TextWordWrap,
               QStringLiteral("Click or press a key to continue."));
}

} // namespace emberly
