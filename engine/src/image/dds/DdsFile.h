#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

namespace kl::dds {

// Pixel formats the encoder writes.
enum class Format { Rgba8, Dxt1, Dxt3, Dxt5 };

// Decodes a DDS file's top mip level (uncompressed 32/24-bit RGB(A) with masks, DXT1/3/5).
// Returns a QImage in Format_ARGB32 on success; a null QImage and a clear message in `error`
// on anything malformed (bad magic, truncated, absurd sizes — cap at 16384 per side, unknown
// format). Never crashes, never allocates without bound.
QImage decode(const QByteArray& bytes, QString& error);

// Encodes `image` as a DDS file with a full mip chain (down to 1x1). Returns an empty array
// for a null image.
QByteArray encode(const QImage& image, Format format);

} // namespace kl::dds
