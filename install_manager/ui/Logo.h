// The manager's logo, drawn in code: the engine's name on a dark gradient.
#pragma once

#include <QPixmap>

namespace stewardex {

QPixmap logoPicture(int width, int height);

} // namespace stewardex
