#include "core/NumberInput.h"

#include <platform/RuntimeError.h>
#include <platform/TextRules.h>

#include <QLocale>

#include <cmath>
#include <limits>

namespace landlume {

std::optional<double> strictNumber(const QString& text)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return std::nullopt;
    bool ok = false;
    const double value = QLocale::c().toDouble(trimmed, &ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::optional<float> strictSingle(const QString& text)
{
    const std::optional<double> value = strictNumber(text);
    if (!value || std::fabs(*value) > double(std::numeric_limits<float>::max()))
        return std::nullopt;
    return float(*value);
}

QString chunkCountProblem(const QString& text, qint32& count)
{
    const std::optional<double> value = strictNumber(text);
    if (!value)
        return QStringLiteral("\"%1\" is not a number.").arg(text);
    qint32 rounded = 0;
    try {
        rounded = platform::clng(*value);
    } catch (const platform::RuntimeError&) {
        return QStringLiteral("%1 is too large for a chunk count.").arg(text.trimmed());
    }
    if (rounded > 32767)
        return QStringLiteral("%1 is more than the 32767 land chunks a side can have.").arg(rounded);
    if (rounded < 1)
        return QStringLiteral("%1 is no land: a side needs at least 1 chunk.").arg(rounded);
    count = rounded;
    return {};
}

bool legalLightmapSize(float width, float height)
{
    return width >= 64.0f && width <= 2048.0f && height >= 64.0f && height <= 2048.0f;
}

} // namespace landlume
