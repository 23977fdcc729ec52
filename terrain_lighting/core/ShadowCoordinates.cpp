#include "core/ShadowCoordinates.h"

#include <platform/TextFile.h>
#include <platform/TextRules.h>

namespace landlume {

QByteArray shadowCoordinatesText(const std::vector<D3DVECTOR>& points)
{
    QByteArray text;
    text.reserve(qsizetype(points.size()) * 28);
    for (const D3DVECTOR& p : points) {
        text += platform::singleText(p.x).toLatin1();
        text += ',';
        text += platform::singleText(p.y).toLatin1();
        text += ',';
        text += platform::singleText(p.z).toLatin1();
        text += "\r\n";
    }
    return text;
}

CoordinatesSaved saveShadowCoordinates(const std::vector<D3DVECTOR>& points, const QString& path)
{
    if (points.size() <= 1)
        return CoordinatesSaved::Nothing;
    return platform::saveFileAtomically(path, shadowCoordinatesText(points)) ? CoordinatesSaved::Saved
                                                                              : CoordinatesSaved::Failed;
}

} // namespace landlume
