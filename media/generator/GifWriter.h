#pragma once

#include <QByteArray>
#include <QImage>

// Qt reads GIF but cannot write it; this is a small GIF89a writer for one still picture.
namespace kl::media {

// Encodes `image` as a single-frame GIF89a: a palette of at most 256 colours chosen by
// median cut (so pictures with few colours are stored exactly), LZW-compressed. Returns an
// empty array for a null image.
QByteArray encodeGif(const QImage& image);

} // namespace kl::media
