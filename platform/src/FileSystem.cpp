#include "platform/FileSystem.h"

#include "platform/RuntimeError.h"
#include "platform/TextFile.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <sys/stat.h>

namespace platform {

bool isReadOnly(const QString& path)
{
    const QFileInfo info(path);
    return info.exists() && !(info.permissions() & QFile::WriteOwner);
}

bool clearReadOnly(const QString& path)
{
    if (!QFileInfo::exists(path))
        return false;
    return QFile::setPermissions(path, QFile::permissions(path) | QFile::WriteOwner);
}

bool setReadOnly(const QString& path)
{
    if (!QFileInfo::exists(path))
        return false;
    return QFile::setPermissions(path, QFile::permissions(path)
                                           & ~(QFile::WriteOwner | QFile::WriteUser | QFile::WriteGroup
                                               | QFile::WriteOther));
}

bool isHidden(const QString& path)
{
    const QString name = QFileInfo(path).fileName();
    return name.startsWith(u'.') && name != QLatin1String(".") && name != QLatin1String("..");
}

void deleteFile(const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        throw RuntimeError(err::FileNotFound);
    // Root may remove anything, so the read-only rule is checked here rather
    // than left to the file system.
    if (info.isDir() || isReadOnly(path) || !QFile::remove(path))
        throw RuntimeError(err::PathFileAccessError);
}

namespace {

// "\040" and the like in mount table paths.
QString unescapeMountPath(const QString& field)
{
    QString out;
    for (qsizetype i = 0; i < field.size(); ++i) {
        if (field.at(i) == u'\\' && i + 3 < field.size()) {
            bool ok = false;
            const int code = field.mid(i + 1, 3).toInt(&ok, 8);
            if (ok) {
                out += QChar(code);
                i += 3;
                continue;
            }
        }
        out += field.at(i);
    }
    return out;
}

} // namespace

QStringList driveListFromMountTable(const QString& mounts)
{
    QStringList drives;
    for (const QString& line : splitLines(mounts)) {
        const QStringList fields = line.split(u' ', Qt::SkipEmptyParts);
        if (fields.size() < 3 || !fields.at(0).startsWith(QLatin1String("/dev/")))
            continue;
        const QString point = unescapeMountPath(fields.at(1));
        if (point != QLatin1String("/") && !drives.contains(point))
            drives.append(point);
    }
    std::sort(drives.begin(), drives.end());
    drives.prepend(QStringLiteral("/"));
    return drives;
}

QStringList driveList()
{
    const ReadResult mounts = readWholeFile(QStringLiteral("/proc/self/mounts"), 4 * 1024 * 1024);
    if (!mounts)
        return {QStringLiteral("/")};
    return driveListFromMountTable(QString::fromUtf8(mounts.data));
}

bool onSameFileSystem(const QString& a, const QString& b)
{
    struct stat first {};
    struct stat second {};
    if (::stat(QFile::encodeName(a).constData(), &first) != 0
        || ::stat(QFile::encodeName(b).constData(), &second) != 0)
        return false;
    return first.st_dev == second.st_dev;
}

} // namespace platform
