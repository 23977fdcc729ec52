#pragma once

#include <QImage>

// Particle sprites: square Format_ARGB32 images, fully transparent at the corners. The colour
// stays at full strength where alpha fades, so filtering never draws dark fringes.
namespace kl::media {

QImage snowFlakeSprite(int size); // six-armed white crystal with a soft glow
QImage smokeSprite(int size);     // soft grey puff
QImage flareSprite(int size);     // white-hot core, warm glow and four rays
QImage bubbleSprite(int size);    // thin light-blue ring with a highlight

} // namespace kl::media
