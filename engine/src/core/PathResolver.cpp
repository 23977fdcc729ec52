#include "core/PathResolver.h"

#include "platform/Paths.h"

#include <QFileInfo>

namespace kl::core {

QString resolveMediaPath(const QString& path, const QString& baseFolder)
{
    const QString trimmed = path.trimmed();
    if (trimmed.isEmpty())
        return trimmed;
    const QString resolved = platform::resolvePath(trimmed, baseFolder);
    if (QFileInfo::exists(resolved) || baseFolder.isEmpty())
        return resolved;
    // "\Data\x.jpg" written by a tool means the folder under the search folder,
    // not under the root.
    const QString normalized = platform::normalizeSeparators(trimmed);
    if (normalized.startsWith(QLatin1Char('/'))) {
        const QString underBase = platform::resolvePath(normalized.mid(1), baseFolder);
        if (QFileInfo::exists(underBase))
            return underBase;
    }
    return resolved;
}

} // namespace kl::core
