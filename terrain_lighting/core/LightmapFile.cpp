#include "core/LightmapFile.h"

#include <QBuffer>

namespace landlume {

QByteArray lightmapBmp(const QImage& picture)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (picture.isNull())
        return {};
    QImage rgb = picture.convertToFormat(QImage::Format_RGB888);
    // A fixed resolution (96 dpi) in the header: the same picture gives the
    // same file whether a screen is attached (the window) or not (--bake).
    rgb.setDotsPerMeterX(kLightmapDotsPerMeter);
    rgb.setDotsPerMeterY(kLightmapDotsPerMeter);
    if (!rgb.save(&buffer, "BMP"))
        return {};
    return bytes;
}

platform::SaveResult saveLightmapPicture(const QImage& picture, const QString& path)
{
    const QByteArray bytes = lightmapBmp(picture);
    if (bytes.isEmpty())
        return platform::SaveResult{false, QStringLiteral("the picture could not be encoded as BMP")};
    return platform::saveFileAtomically(path, bytes);
}

} // namespace landlume
