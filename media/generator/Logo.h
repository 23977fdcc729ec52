#pragma once

#include <QImage>

namespace kl::media {

// Installation-manager logo: a shaded isometric cube with a tick, and the word STEWARDEX in
// stroked capitals, on a transparent background. Drawn from paths only (no fonts), so it
// looks the same on every machine.
QImage stewardexLogo(int width, int height);

} // namespace kl::media
