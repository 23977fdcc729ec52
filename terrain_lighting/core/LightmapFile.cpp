#include "core/LightmapFile.h"

#include <QBuffer>

namespace landlume {

QByteArray lightmapBmp(const QImage& picture)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (picture.isNull() || !picture.convertToFormat(QImage::Format_RGB888).save(&buffer, "BMP"))
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
