#include "image/ImageLoader.h"

#include "dds/DdsFile.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>

#include <algorithm>

namespace kl::image {
namespace {

bool tooLarge(QSize size)
{
    return size.width() > MaxImageSide || size.height() > MaxImageSide
        || qint64(size.width()) * size.height() > MaxImagePixels;
}

QString tooLargeMessage(QSize size, const QString& what)
{
    return QStringLiteral("Image too large (%1 x %2, at most %3 pixels a side and %4 pixels): %5")
        .arg(size.width())
        .arg(size.height())
        .arg(MaxImageSide)
        .arg(MaxImagePixels)
        .arg(what);
}

// Height and width as the DDS header gives them (0 x 0 when cut short).
QSize ddsHeaderSize(const QByteArray& bytes)
{
    if (bytes.size() < 20)
        return {0, 0};
    const auto u32 = [&](qsizetype at) {
        const auto* p = reinterpret_cast<const uchar*>(bytes.constData()) + at;
        return quint32(p[0]) | quint32(p[1]) << 8 | quint32(p[2]) << 16 | quint32(p[3]) << 24;
    };
    const auto clamp = [](quint32 v) { return int(std::min<quint32>(v, quint32(MaxImageSide) + 1)); };
    return {clamp(u32(16)), clamp(u32(12))};
}

} // namespace

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
        if (const QSize size = ddsHeaderSize(bytes); tooLarge(size)) {
            result.error = tooLargeMessage(size, what);
            return result;
        }
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
    reader.setAllocationLimit(int(MaxImagePixels * 4 / (1024 * 1024)));
    const QSize size = reader.size();
    if (reader.format().isEmpty()) {
        result.error = QStringLiteral("Unknown image format: %1").arg(what);
        return result;
    }
    if (size.isValid() && tooLarge(size)) {
        result.error = tooLargeMessage(size, what);
        return result;
    }
    QImage image;
    if (!reader.read(&image) || image.isNull()) {
        result.error = QStringLiteral("Invalid image file %1: %2").arg(what, reader.errorString());
        return result;
    }
    // A header without a size: the picture itself is checked.
    if (tooLarge(image.size())) {
        result.error = tooLargeMessage(image.size(), what);
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
