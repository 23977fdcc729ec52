#include "platform/Paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStringList>

namespace platform {

namespace {

QString& programFolderOverride()
{
    static QString folder;
    return folder;
}

// The entry of `folder` named `name` without regard to case: the exact
// spelling when present, else the first in sorted order; empty when none.
QString matchEntry(const QString& folder, const QString& name)
{
    if (QFileInfo::exists(folder + u'/' + name))
        return name;
    const QStringList entries = QDir(folder).entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString& entry : entries)
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return entry;
    return {};
}

} // namespace

QString programFolder()
{
    if (!programFolderOverride().isEmpty())
        return programFolderOverride();
    return QCoreApplication::applicationDirPath();
}

void setProgramFolder(const QString& folder)
{
    programFolderOverride() = folder;
}

QString normalizeSeparators(const QString& path)
{
    QString out;
    out.reserve(path.size());
    for (const QChar c : path) {
        const QChar s = c == u'\\' ? QChar(u'/') : c;
        if (s == u'/' && out.endsWith(u'/'))
            continue;
        out += s;
    }
    return out;
}

QString joinPath(const QString& folder, const QString& name)
{
    QString left = normalizeSeparators(folder);
    QString right = normalizeSeparators(name);
    if (left.isEmpty())
        return right;
    if (right.isEmpty())
        return left;
    if (left.endsWith(u'/') && left.size() > 1)
        left.chop(1);
    if (right.startsWith(u'/'))
        right.remove(0, 1);
    return left == QLatin1String("/") ? left + right : left + u'/' + right;
}

QString resolvePath(const QString& path, const QString& baseFolder)
{
    QString normal = normalizeSeparators(path);
    if (normal.isEmpty())
        return normal;
    if (QDir::isRelativePath(normal))
        normal = joinPath(baseFolder.isEmpty() ? QDir::currentPath() : baseFolder, normal);
    normal = QDir::cleanPath(normal);
    if (QFileInfo::exists(normal))
        return normal;

    const QStringList parts = normal.split(u'/', Qt::SkipEmptyParts);
    QString resolved;   // always absolute: "" stands for the root
    qsizetype i = 0;
    for (; i < parts.size(); ++i) {
        const QString folder = resolved.isEmpty() ? QStringLiteral("/") : resolved;
        const QString entry = matchEntry(folder, parts.at(i));
        if (entry.isEmpty())
            break;
        resolved += u'/' + entry;
    }
    for (; i < parts.size(); ++i)
        resolved += u'/' + parts.at(i);
    return resolved.isEmpty() ? QStringLiteral("/") : resolved;
}

QString programPath(const QString& relative)
{
    return resolvePath(relative, programFolder());
}

} // namespace platform
