#pragma once

#include <QByteArray>
#include <QImage>

namespace kl::media {

// Encodes `image` as an uncompressed Windows BMP: 8 bits with the image's palette for
// Format_Indexed8, otherwise 24-bit BGR. Rows are padded with zero bytes, so the same
// picture always gives the same file (Qt's writer leaves the 8-bit padding undefined).
// Returns an empty array for a null image.
QByteArray encodeBmp(const QImage& image);

} // namespace kl::media
