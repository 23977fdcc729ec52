#include "core/PlacedObjects.h"

#include <platform/TextRules.h>

#include <cmath>

namespace landlume {

QString objectFileType(const QString& path)
{
    const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? path : path.mid(dot + 1);
}

ModelKind modelKind(const QString& fileType)
{
    const QString lower = fileType.toLower();
    if (lower == QLatin1String("x"))
        return ModelKind::X;
    if (lower == QLatin1String("3ds"))
        return ModelKind::ThreeDS;
    return ModelKind::None;
}

QString objectName(int slot)
{
    return QStringLiteral("O") + platform::cstrInteger(slot);
}

std::array<QString, 9> placementTexts(const PlacedObject& object)
{
    const float values[9] = {object.meshPosition.x, object.meshPosition.y, object.meshPosition.z,
                             object.meshRotation.x, object.meshRotation.y, object.meshRotation.z,
                             object.meshScale.x,    object.meshScale.y,    object.meshScale.z};
    std::array<QString, 9> texts;
    for (int i = 0; i < 9; ++i)
        texts[std::size_t(i)] = platform::singleText(float(platform::roundTo2(double(values[i]))));
    return texts;
}

int slotIndex(float counter)
{
    if (!std::isfinite(counter) || counter < 0.0f || counter > 1.0e9f)
        return 0;
    return int(std::nearbyint(counter));
}

} // namespace landlume
