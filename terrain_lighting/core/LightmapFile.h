// The lightmap picture as a file: a 24-bit BMP of the picture as it is, saved
// so that a failed save leaves the previous file whole.
#pragma once

#include <platform/TextFile.h>

#include <QByteArray>
#include <QImage>
#include <QString>

namespace landlume {

// Pixels per metre written in the header: 96 dpi, whatever the screen.
inline constexpr int kLightmapDotsPerMeter = 3780;

// The BMP bytes of `picture` in 24 bits; empty when it cannot be encoded.
QByteArray lightmapBmp(const QImage& picture);
// Writes those bytes to `path` atomically; `error` says why it failed.
platform::SaveResult saveLightmapPicture(const QImage& picture, const QString& path);

} // namespace landlume
