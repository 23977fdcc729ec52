#include "ui/frmSplash.h"

#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>

namespace glazery {

frmSplash::frmSplash()
    : SplashWindow(QStringLiteral("frmSplash"), QStringLiteral("Glazery"), QSize(480, 280))
{
}

void frmSplash::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, height());
    sky.setColorAt(0, QColor(28, 38, 70));
    sky.setColorAt(1, QColor(70, 96, 150));
    p.fillRect(rect(), sky);

    // A glazed sphere: the material editor's emblem.
    QRadialGradient glaze(QPointF(118, 112), 80, QPointF(96, 88));
    glaze.setColorAt(0, QColor(255, 255, 255));
    glaze.setColorAt(0.18, QColor(240, 170, 90));
    glaze.setColorAt(0.75, QColor(170, 60, 30));
    glaze.setColorAt(1, QColor(60, 20, 10));
    p.setPen(Qt::NoPen);
    p.setBrush(glaze);
    p.drawEllipse(QPointF(120, 120), 72, 72);

    p.setPen(Qt::white);
    QFont title = font();
    title.setPointSize(30);
    title.setBold(true);
    p.setFont(title);
    p.drawText(QRect(215, 60, 260, 50), Qt::AlignLeft | Qt::AlignVCenter, "Glazery");
    QFont text = font();
    text.setPointSize(11);
    p.setFont(text);
    p.drawText(QRect(215, 112, 260, 40), Qt::AlignLeft | Qt::TextWordWrap,
               "A Material Editor for KL3D SDK 6.0");
    p.drawText(QRect(215, 150, 260, 20), Qt::AlignLeft, "Version 1.0");
    QFont small = font();
    small.setPointSize(8);
    p.setFont(small);
    p.setPen(QColor(210, 220, 240));
    p.drawText(QRect(16, 214, 448, 56), Qt::AlignLeft | Qt::TextWordWrap,
               "This program is provided as is, without warranty of any kind. "
               "Click or press a key to continue.");
    p.setPen(QColor(10, 15, 30));
    p.setBrush(Qt::NoBrush);
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}

} // namespace glazery
