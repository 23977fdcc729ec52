#include "core/PathResolver.h"

#include <QDir>
#include <QFileInfo>

namespace kl::core {
namespace {

QString withSlashes(QString path)
{
    path.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return path;
}

// Walks the path component by component, picking the entry whose name matches
// without regard to case when the exact one is missing.
QString matchIgnoringCase(const QString& absolute)
{
    const QStringList parts = absolute.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    QString current = QStringLiteral("/");
    for (const QString& part : parts) {
        const QString exact = QDir(current).filePath(part);
        if (QFileInfo::exists(exact)) {
            current = exact;
            continue;
        }
        const QStringList entries =
            QDir(current).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
        QString found;
        for (const QString& entry : entries) {
            if (entry.compare(part, Qt::CaseInsensitive) == 0) {
                found = entry;
                break;
            }
        }
        if (found.isEmpty())
            return {};
        current = QDir(current).filePath(found);
    }
    return current;
}

} // namespace

QString resolveMediaPath(const QString& path, const QString& baseFolder)
{
    QString cleaned = withSlashes(path.trimmed());
    if (cleaned.isEmpty())
        return cleaned;
    if (QDir::isRelativePath(cleaned)) {
        const QString base = baseFolder.isEmpty() ? QDir::currentPath() : withSlashes(baseFolder);
        // A leading "/" after a folder ("\Data\x.jpg" appended to the program folder)
        // was already handled by the caller; here relative means relative to base.
        cleaned = QDir(base).filePath(cleaned);
    }
    cleaned = QDir::cleanPath(cleaned);
    if (QFileInfo::exists(cleaned))
        return cleaned;
    QString matched = matchIgnoringCase(cleaned);
    if (!matched.isEmpty())
        return matched;
    // "\Data\x.jpg" is meant relative to the base folder, not to the root.
    if (!baseFolder.isEmpty() && !QDir::isRelativePath(withSlashes(path.trimmed()))) {
        const QString underBase =
            QDir::cleanPath(QDir(withSlashes(baseFolder)).filePath(withSlashes(path.trimmed()).mid(1)));
        if (QFileInfo::exists(underBase))
            return underBase;
        matched = matchIgnoringCase(QDir(underBase).isAbsolute() ? underBase : QDir(underBase).absolutePath());
        if (!matched.isEmpty())
            return matched;
    }
    return cleaned;
}

} // namespace kl::core
