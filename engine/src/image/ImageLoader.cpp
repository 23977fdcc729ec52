#include "image/ImageLoader.h"

#include "dds/DdsFile.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>

namespace kl::image {

LoadedImage loadImageFile(const QString& path)
{
    LoadedImage result;
    const QFileInfo info(path);
    if (!info.exists() || !info.isFile()) {
        result.missing = true;
        result.error = QStringLiteral("File not found: %1").arg(path);
        return result;
    }
    if (info.size() > MaxImageFileBytes) {
        result.error = QStringLiteral("Image file too large: %1").arg(path);
        return result;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        result.error = QStringLiteral("Cannot read image file: %1").arg(path);
        return result;
    }
    return decodeImage(file.read(MaxImageFileBytes), path);
}

LoadedImage decodeImage(const QByteArray& bytes, const QString& what)
{
    LoadedImage result;
    if (bytes.startsWith("DDS ")) {
        QString error;
        QImage image = kl::dds::decode(bytes, error);
        if (image.isNull()) {
            result.error = QStringLiteral("Invalid DDS file %1: %2").arg(what, error);
            return result;
        }
        result.image = image.convertToFormat(QImage::Format_ARGB32);
        return result;
    }

    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setDecideFormatFromContent(true);
    const QSize size = reader.size();
    if (reader.format().isEmpty()) {
        result.error = QStringLiteral("Unknown image format: %1").arg(what);
        return result;
    }
    if (size.isValid() && (size.width() > MaxImageSide || size.height() > MaxImageSide)) {
        result.error = QStringLiteral("Image too large (%1 x %2): %3").arg(size.width()).arg(size.height()).arg(what);
        return result;
    }
    QImage image;
    if (!reader.read(&image) || image.isNull()) {
        result.error = QStringLiteral("Invalid image file %1: %2").arg(what, reader.errorString());
        return result;
    }
    result.image = image.convertToFormat(QImage::Format_ARGB32);
    return result;
}

void applyColourKey(QImage& image, std::uint32_t key)
{
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            if (line[x] == key)
                line[x] &= 0x00FFFFFFu;
    }
}

} // namespace kl::image
