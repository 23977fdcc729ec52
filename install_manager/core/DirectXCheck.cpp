#include "core/DirectXCheck.h"

#include <platform/Registry.h>
#include <platform/TextRules.h>

#include <QStringList>

namespace stewardex {

QString readDirectXValue()
{
    const QString key = QString::fromLatin1(DirectXKey);
    const QString name = QStringLiteral("Version");
    if (auto text = platform::readRegistryString(platform::Hive::LocalMachine, key, name)) {
        const qsizetype nul = text->indexOf(QChar(u'\0'));
        return nul < 0 ? *text : text->left(nul);
    }
    if (auto number = platform::readRegistryDword(platform::Hive::LocalMachine, key, name))
        return QString::number(*number, 16).toUpper();
    return platform::directXVersion().value_or(QString());
}

std::optional<DirectXVerdict> judgeDirectXVersion(const QString& value)
{
    const QStringList parts = value.split(u'.');
    if (parts.size() < 3)
        return std::nullopt;
    const double major = platform::val(parts[1]);
    const double minor = platform::val(parts[2]);
    const bool suitable = !(major < 8 || (major == 8 && minor < 1));
    return DirectXVerdict{parts[1] + u'.' + parts[2]
                              + QLatin1String(suitable ? SuitableSuffix : UnsuitableSuffix),
                          suitable};
}

} // namespace stewardex
