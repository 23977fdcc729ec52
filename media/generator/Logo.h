#pragma once

#include <QImage>
#include <QPointF>

class QPainter;

namespace kl::media {

// Installation-manager logo: a shaded isometric cube with a tick, and the word STEWARDEX in
// stroked capitals, on a transparent background. Drawn from paths only (no fonts), so it
// looks the same on every machine.
QImage stewardexLogo(int width, int height);

// The logo's shaded isometric cube with its tick, about a centre point, also
// the installation manager's desktop icon.
void drawCube(QPainter& painter, QPointF centre, qreal radius);

} // namespace kl::media
