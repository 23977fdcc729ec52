#include "platform/TextFile.h"

#include "platform/SaveFaults.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>

#include <algorithm>
#include <cstdlib>

namespace platform {

namespace {

SaveFault scopedFault = SaveFault::None;
int passingSaves = 0;

SaveFault environmentFault()
{
    const QByteArray name = qgetenv("KORLITH3D_SAVE_FAULT").trimmed().toLower();
    if (name == "open")
        return SaveFault::Open;
    if (name == "write")
        return SaveFault::Write;
    if (name == "flush")
        return SaveFault::Flush;
    if (name == "rename")
        return SaveFault::Rename;
    if (name == "crash")
        return SaveFault::Crash;
    return SaveFault::None;
}

const QString kInjected = QStringLiteral(" (injected fault)");

} // namespace

SaveFault activeSaveFault()
{
    return scopedFault != SaveFault::None ? scopedFault : environmentFault();
}

ScopedSaveFault::ScopedSaveFault(SaveFault fault, int passing)
    : previous_(scopedFault), previousPassing_(passingSaves)
{
    scopedFault = fault;
    passingSaves = passing;
}

ScopedSaveFault::~ScopedSaveFault()
{
    scopedFault = previous_;
    passingSaves = previousPassing_;
}

SaveResult saveFileAtomically(const QString& path, const QByteArray& data)
{
    auto failed = [&](const QString& why) {
        return SaveResult{false, QStringLiteral("Cannot save \"%1\": %2").arg(path, why)};
    };
    if (QFileInfo(path).isDir())
        return failed(QStringLiteral("it is a folder"));
    SaveFault fault = activeSaveFault();
    if (fault != SaveFault::None && scopedFault != SaveFault::None && passingSaves > 0) {
        --passingSaves;
        fault = SaveFault::None;
    }
    if (fault == SaveFault::Open)
        return failed(QStringLiteral("cannot create the temporary file") + kInjected);
    QSaveFile file(path);
    // Never fall back to writing the target in place: that could leave a
    // half-written document.
    file.setDirectWriteFallback(false);
    if (!file.open(QIODevice::WriteOnly))
        return failed(file.errorString());
    if (fault == SaveFault::Write) {
        file.write(data.left(data.size() / 2));
        file.flush();
        file.cancelWriting();
        return failed(QStringLiteral("no space left on the device") + kInjected);
    }
    // QSaveFile::commit() does not fail when flushing its buffer fails, so
    // flush here: a short write must never be renamed over the document.
    if (file.write(data) != data.size() || !file.flush() || fault == SaveFault::Flush) {
        const QString why = fault == SaveFault::Flush ? QStringLiteral("the flush failed") + kInjected
                                                      : file.errorString();
        file.cancelWriting();
        return failed(why);
    }
    if (fault == SaveFault::Crash)
        std::_Exit(kSaveCrashExitCode);
    if (fault == SaveFault::Rename) {
        file.cancelWriting();
        return failed(QStringLiteral("the new file cannot replace the old one") + kInjected);
    }
    if (!file.commit())
        return failed(file.errorString());
    return {true, {}};
}

ReadResult readWholeFile(const QString& path, qint64 maxSize)
{
    const QFileInfo info(path);
    if (!info.exists())
        return {false, {}, QStringLiteral("File not found: %1").arg(path)};
    if (info.isDir())
        return {false, {}, QStringLiteral("\"%1\" is a folder, not a file").arg(path)};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {false, {}, QStringLiteral("Cannot read \"%1\": %2").arg(path, file.errorString())};
    if (file.size() > maxSize)
        return {false, {}, QStringLiteral("\"%1\" is too large (%2 bytes; at most %3 are read)")
                               .arg(path).arg(file.size()).arg(maxSize)};
    // What the file holds and one byte more, so a file that grew is still
    // caught; a device that reports no size is read in pieces. Asking for the
    // limit at once would allocate all of it on every read.
    QByteArray data;
    const qint64 reported = file.size();
    while (data.size() <= maxSize) {
        const qint64 want = data.isEmpty() && reported > 0 ? reported + 1 : qint64(64 * 1024);
        const QByteArray piece = file.read(std::min(want, maxSize + 1 - qint64(data.size())));
        if (piece.isEmpty())
            break;
        data += piece;
    }
    if (data.size() > maxSize)
        return {false, {}, QStringLiteral("\"%1\" is too large (at most %2 bytes are read)")
                               .arg(path).arg(maxSize)};
    if (file.error() != QFileDevice::NoError)
        return {false, {}, QStringLiteral("Cannot read \"%1\": %2").arg(path, file.errorString())};
    return {true, std::move(data), {}};
}

bool isValidUtf8(const QByteArray& bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString ignored = decoder.decode(bytes);
    return !decoder.hasError();
}

QString decodeText(const QByteArray& bytes)
{
    if (!isValidUtf8(bytes))
        return QString::fromLatin1(bytes);
    QString text = QString::fromUtf8(bytes);
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    return text;
}

QStringList splitLines(const QString& text)
{
    QStringList lines;
    qsizetype start = 0;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text.at(i);
        if (c != u'\r' && c != u'\n')
            continue;
        lines.append(text.mid(start, i - start));
        if (c == u'\r' && i + 1 < n && text.at(i + 1) == u'\n')
            ++i;
        start = i + 1;
    }
    if (start < n)
        lines.append(text.mid(start));
    return lines;
}

QByteArray joinLinesCrLf(const QStringList& lines)
{
    QByteArray out;
    for (const QString& line : lines) {
        out += line.toUtf8();
        out += "\r\n";
    }
    return out;
}

LinesResult readTextLines(const QString& path, qint64 maxSize)
{
    ReadResult read = readWholeFile(path, maxSize);
    if (!read)
        return {false, {}, read.error};
    return {true, splitLines(decodeText(read.data)), {}};
}

SaveResult writeTextLines(const QString& path, const QStringList& lines)
{
    return saveFileAtomically(path, joinLinesCrLf(lines));
}

bool appendLine(const QString& path, const QString& line)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append))
        return false;
    const QByteArray bytes = line.toUtf8() + "\r\n";
    return file.write(bytes) == bytes.size();
}

} // namespace platform
