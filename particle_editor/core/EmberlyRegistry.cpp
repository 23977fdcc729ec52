#include "core/EmberlyRegistry.h"

#include <platform/Registry.h>
#include <platform/TextRules.h>

namespace emberly {

QString readSetting(const QString& name)
{
    return platform::readRegistryString(platform::Hive::CurrentUser, kRegistryKey, name).value_or(QStringLiteral("0"));
}

bool readFlag(const QString& name)
{
    return platform::val(readSetting(name)) != 0;
}

bool writeSetting(const QString& name, const QString& value)
{
    return platform::writeRegistryString(platform::Hive::CurrentUser, kRegistryKey, name, value);
}

} // namespace emberly
