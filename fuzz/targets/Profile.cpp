// The private-profile reader: section and key lists, values, and one write,
// on a file of any bytes. A written value reads back as written.
#include "FuzzSupport.h"

#include <platform/Profile.h>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QString path = fuzz::writeScratchFile(QStringLiteral("profile.ini"), fuzz::bytesOf(data, size));
    const QStringList sections = platform::splitNulList(platform::getProfileSectionNames(32767, path));
    int lookups = 0;
    for (const QString& section : sections) {
        const QStringList keys = platform::splitNulList(platform::getProfileKeyNames(section, 32767, path));
        for (const QString& key : keys) {
            platform::getProfileString(section, key, QStringLiteral("-"), 255, path);
            if (++lookups == 8)
                break;
        }
        if (lookups == 8)
            break;
    }
    const QString section = sections.isEmpty() ? QStringLiteral("Fuzz") : sections.front();
    if (platform::writeProfileString(section, QStringLiteral("FuzzKey"), QStringLiteral(" a value "), path)
        && platform::getProfileString(section, QStringLiteral("FuzzKey"), {}, 255, path) != QStringLiteral(" a value "))
        fuzz::fail("a written profile value does not read back");
    platform::deleteProfileSection(section, path);
    return 0;
}
