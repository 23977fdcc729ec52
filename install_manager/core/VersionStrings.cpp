#include "core/VersionStrings.h"

#include <platform/VersionInfo.h>

namespace stewardex {

namespace {

// A value is read through a buffer of this many characters.
constexpr qsizetype ValueBufferSize = 255;

QString valueText(const std::optional<QString>& value)
{
    if (!value)
        return QStringLiteral("?");
    const qsizetype nul = value->indexOf(QChar(u'\0'));
    return value->left(nul < 0 ? ValueBufferSize : std::min(nul, ValueBufferSize));
}

} // namespace

QString translationKey(quint16 language, quint16 codePage)
{
    const quint32 key = static_cast<quint32>(language) * 65536u + codePage;
    return QStringLiteral("%1").arg(key, 8, 16, QChar(u'0')).toUpper();
}

VersionStrings ReadVersionStrings(const QString& path)
{
    if (path.isEmpty())
        return {};
    const auto resource = platform::readVersionResource(path);
    if (!resource || resource->translations.empty())
        return {};
    const auto [language, codePage] = resource->translations.front();
    const QString block = QStringLiteral("\\StringFileInfo\\") + translationKey(language, codePage) + u'\\';
    std::array<QString, VersionKeyNames.size()> values;
    for (std::size_t i = 0; i < VersionKeyNames.size(); ++i)
        values[i] = valueText(platform::queryVersionValue(*resource, block + QLatin1String(VersionKeyNames[i])));
    return {values[0], values[1], values[2], values[3], values[4], values[5], values[6], values[7]};
}

QString utilityVersionText(const QString& fileVersion)
{
    QString shown = fileVersion;
    return shown.replace(QStringLiteral(", "), QStringLiteral("."));
}

} // namespace stewardex
