#include "core/DirectXCheck.h"

#include <platform/Registry.h>
#include <platform/TextRules.h>

namespace emberly {

float directXVersionNumber(const QString& version)
{
    const float major = float(platform::val(version.left(4)));
    const float minor = float(platform::val(version.mid(5, 2)));
    return major + minor / 1000.0f;
}

std::optional<QString> directXWarning(const QString& version)
{
    if (directXVersionNumber(version) >= 4.081f)
        return std::nullopt;
    return QStringLiteral("DirectX ") + version.mid(3, 1) + QStringLiteral(" Ver. ") + version +
           QStringLiteral(" detected.\r\n \r\nYou must have DirectX 8.1 or later.\rTry to continue anyway?");
}

QString installedDirectXVersion()
{
    return platform::directXVersion().value_or(QStringLiteral("0"));
}

} // namespace emberly
