// The registry store: a hive file of any bytes read for keys, subkeys and
// values; when the hive is usable, a written value reads back.
#include "FuzzSupport.h"

#include <platform/Registry.h>

#include <QDir>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using platform::Hive;
    QDir().mkpath(platform::registryFolder());
    fuzz::writeScratchFile(QStringLiteral("registry/HKEY_CURRENT_USER.ini"), fuzz::bytesOf(data, size));
    const QString software = QStringLiteral("Software");
    QStringList keys = platform::registrySubkeys(Hive::CurrentUser, software);
    for (qsizetype i = 0; i < keys.size() && i < 4; ++i) {
        const QString key = software + u'\\' + keys[i];
        platform::registryKeyExists(Hive::CurrentUser, key);
        platform::registrySubkeys(Hive::CurrentUser, key);
        platform::readRegistryString(Hive::CurrentUser, key, QStringLiteral("Path"));
        platform::readRegistryDword(Hive::CurrentUser, key, QStringLiteral("Count"));
    }
    const QString key = QStringLiteral("Software\\Fuzz");
    if (platform::writeRegistryDword(Hive::CurrentUser, key, QStringLiteral("Count"), 0x12345678u)
        && platform::readRegistryDword(Hive::CurrentUser, key, QStringLiteral("Count")) != 0x12345678u)
        fuzz::fail("a written registry value does not read back");
    if (platform::writeRegistryString(Hive::CurrentUser, key, QStringLiteral("Path"), QStringLiteral("=;[x] "))
        && platform::readRegistryString(Hive::CurrentUser, key, QStringLiteral("Path")) != QStringLiteral("=;[x] "))
        fuzz::fail("a written registry text does not read back");
    return 0;
}
