#include "core/UtilityLibrary.h"

#include <platform/Paths.h>

#include <QByteArray>
#include <QDir>
#include <QFileInfo>
#include <QLibrary>

namespace stewardex {

namespace {

constexpr qsizetype PathBufferSize = 255;
using GetPathFunction = int (*)(char*);

} // namespace

QStringList utilityLibraryCandidates(const QString& programFolder)
{
    const QString name = QString::fromLatin1(UtilityLibraryName);
    return {platform::joinPath(programFolder, name),
            QDir::cleanPath(platform::joinPath(programFolder, QStringLiteral("../lib/") + name)), name};
}

std::optional<QString> callGetPathDLL(const QString& programFolder)
{
    for (const QString& candidate : utilityLibraryCandidates(programFolder)) {
        // A bare name goes to the system's loader; a path only when the file is there.
        if (candidate.contains(u'/') && !QFileInfo::exists(candidate))
            continue;
        QLibrary library(candidate);
        if (!library.load())
            continue;
        const auto getPath = reinterpret_cast<GetPathFunction>(library.resolve("GetPathDLL"));
        if (!getPath)
            return std::nullopt;   // the library found first is the one used
        QByteArray buffer(PathBufferSize + 1, '\0');
        getPath(buffer.data());
        buffer[PathBufferSize] = '\0';
        return QString::fromUtf8(buffer.constData());
    }
    return std::nullopt;
}

} // namespace stewardex
