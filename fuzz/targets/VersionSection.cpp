// Stewardex's version strings: a library file of any bytes (usually not ELF,
// or ELF with a damaged section table), and any bytes as the section itself.
#include "FuzzSupport.h"

#include "core/VersionStrings.h"

#include <platform/VersionInfo.h>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes = fuzz::bytesOf(data, size);
    const QString path = fuzz::writeScratchFile(QStringLiteral("libfuzz.so"), bytes);
    stewardex::ReadVersionStrings(path);
    if (const auto resource = platform::parseVersionResource(bytes)) {
        platform::queryVersionValue(*resource, QStringLiteral("\\VarFileInfo\\Translation"));
        if (!resource->translations.empty()) {
            const auto [language, codePage] = resource->translations.front();
            const QString block = stewardex::translationKey(language, codePage);
            for (const char* name : stewardex::VersionKeyNames)
                platform::queryVersionValue(*resource, QStringLiteral("\\StringFileInfo\\%1\\%2").arg(block, QLatin1String(name)));
        }
    }
    return 0;
}
