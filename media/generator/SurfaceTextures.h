#pragma once

#include <QImage>

// Tileable surface pictures: every function returns a square Format_RGB32 image whose
// left/right and top/bottom edges continue into each other.
namespace kl::media {

QImage wovenFabric(int size);    // two-tone twill weave
QImage floorTiles(int size);     // 4 x 4 checker of marble tiles with grout
QImage cobbleFloor(int size);    // stone setts with mortar, a ground detail
QImage brushedMetal(int size);   // horizontal brushing on light silver
QImage sand(int size);           // wind ripples and grain
QImage grass(int size);          // dense blades in several greens
QImage rock(int size);           // cracked grey-brown stone
QImage snow(int size);           // white with blue shadows and sparkle
QImage detailNoise(int size);    // grey noise around mid-grey, for detail and bump maps

} // namespace kl::media
