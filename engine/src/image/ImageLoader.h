// Reads a picture file of any supported kind (BMP, JPG, PNG, GIF, TIF, DDS)
// into an ARGB32 image. The file is read whole with a size cap and decoded from
// memory, so a bad or hostile file gives an error message, never a crash.
#pragma once

#include <QImage>
#include <QString>

#include <cstdint>

namespace kl::image {

inline constexpr qint64 MaxImageFileBytes = 256LL * 1024 * 1024;
inline constexpr int MaxImageSide = 16384;
// 64 MiB of ARGB32 (4096 x 4096, twice the side of the largest textures the
// tools make): a picture within the side limit may still not be larger. A
// header of a few bytes can declare any size.
inline constexpr qint64 MaxImagePixels = 16LL * 1024 * 1024;

struct LoadedImage {
    QImage image;      // Format_ARGB32, null on failure
    QString error;     // why it failed
    bool missing = false;   // the file does not exist (as opposed to being unreadable)
};

LoadedImage loadImageFile(const QString& path);
// Decodes the bytes of an image file; `what` names the source in messages.
LoadedImage decodeImage(const QByteArray& bytes, const QString& what);

// Pixels whose ARGB value equals `key` become fully transparent (alpha 0, colour kept).
void applyColourKey(QImage& image, std::uint32_t key);

} // namespace kl::image
