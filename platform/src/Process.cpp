#include "platform/Process.h"

#include "platform/Paths.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTime>
#include <QUrl>

#include <chrono>

namespace platform {

QStringList splitCommandLine(const QString& commandLine)
{
    QStringList arguments;
    QString current;
    bool inArgument = false;
    bool quoted = false;
    const qsizetype n = commandLine.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = commandLine.at(i);
        if (c == u'\\') {
            qsizetype run = 0;
            while (i + run < n && commandLine.at(i + run) == u'\\')
                ++run;
            if (i + run < n && commandLine.at(i + run) == u'"') {
                current += QString(run / 2, u'\\');
                if (run % 2 == 1) {
                    current += u'"';
                    i += run;        // the escaped quote is taken
                } else {
                    i += run - 1;    // the quote is handled next round
                }
            } else {
                current += QString(run, u'\\');
                i += run - 1;
            }
            inArgument = true;
        } else if (c == u'"') {
            if (quoted && i + 1 < n && commandLine.at(i + 1) == u'"') {
                current += u'"';
                ++i;
            } else {
                quoted = !quoted;
            }
            inArgument = true;
        } else if ((c == u' ' || c == u'\t') && !quoted) {
            if (inArgument)
                arguments.append(current);
            current.clear();
            inArgument = false;
        } else {
            current += c;
            inArgument = true;
        }
    }
    if (inArgument)
        arguments.append(current);
    return arguments;
}

namespace {

bool isProgramFile(const QString& path)
{
    const QFileInfo info(path);
    return info.isFile() && info.isExecutable();
}

QString withoutExe(const QString& name)
{
    return name.endsWith(QLatin1String(".exe"), Qt::CaseInsensitive) ? name.chopped(4) : name;
}

} // namespace

QString findProgram(const QString& name)
{
    if (name.isEmpty())
        return {};
    const QString normal = normalizeSeparators(name);
    if (normal.contains(u'/')) {
        for (const QString& candidate : {normal, withoutExe(normal)}) {
            const QString resolved = resolvePath(candidate);
            if (isProgramFile(resolved))
                return resolved;
        }
        return {};
    }
    for (const QString& candidate : {normal, withoutExe(normal)}) {
        const QString local = resolvePath(candidate, programFolder());
        if (isProgramFile(local))
            return local;
        const QString onPath = QStandardPaths::findExecutable(candidate);
        if (!onPath.isEmpty())
            return onPath;
    }
    return {};
}

std::optional<qint64> startCommandLine(const QString& commandLine, const QString& workingFolder)
{
    QStringList arguments = splitCommandLine(commandLine);
    if (arguments.isEmpty())
        return std::nullopt;
    const QString program = findProgram(arguments.takeFirst());
    if (program.isEmpty())
        return std::nullopt;
    qint64 pid = 0;
    if (!QProcess::startDetached(program, arguments,
                                 workingFolder.isEmpty() ? QDir::currentPath() : workingFolder, &pid))
        return std::nullopt;
    return pid;
}

bool shellOpen(const QString& documentOrAddress)
{
    const QString target = documentOrAddress.trimmed();
    if (target.isEmpty())
        return false;
    const QUrl url(target, QUrl::StrictMode);
    const QString scheme = url.scheme().toLower();
    const bool isAddress = url.isValid() && scheme.size() > 1
                           && (target.contains(QLatin1String("://")) || scheme == QLatin1String("mailto"));
    if (isAddress)
        return QDesktopServices::openUrl(url);
    if (target.startsWith(QLatin1String("www."), Qt::CaseInsensitive))
        return QDesktopServices::openUrl(QUrl(QStringLiteral("http://") + target));
    const QString path = resolvePath(target);
    if (!QFileInfo::exists(path))
        return false;
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

quint32 tickCount()
{
    const auto since = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<quint32>(std::chrono::duration_cast<std::chrono::milliseconds>(since).count());
}

double secondsSinceMidnight()
{
    return QTime::currentTime().msecsSinceStartOfDay() / 1000.0;
}

} // namespace platform
