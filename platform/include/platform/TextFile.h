#pragma once
// Whole-file reading and writing: text lines with CR LF on disk, any of
// CR LF / LF / CR accepted on read, and the atomic save every document uses.

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace platform {

// Files above this size are refused by the readers (a damaged or wrong file
// must not make a tool allocate without bound).
inline constexpr qint64 MaxReadFileSize = 64 * 1024 * 1024;

struct SaveResult {
    bool ok = false;
    QString error;   // why the save failed; empty when ok
    explicit operator bool() const { return ok; }
};

// Writes `data` to a temporary file in the target's folder, then renames it
// over `path`: a failed save leaves any old file whole.
SaveResult saveFileAtomically(const QString& path, const QByteArray& data);

struct ReadResult {
    bool ok = false;
    QByteArray data;
    QString error;   // "File not found", too large, unreadable
    explicit operator bool() const { return ok; }
};

// The whole file, refused when larger than `maxSize`.
ReadResult readWholeFile(const QString& path, qint64 maxSize = MaxReadFileSize);

// Text of file bytes: UTF-8 (a leading BOM dropped); bytes that are not valid
// UTF-8 are read as Windows-1252/Latin-1, as files from the ANSI code page are.
QString decodeText(const QByteArray& bytes);
bool isValidUtf8(const QByteArray& bytes);

// Lines split at CR LF, LF or CR. A final line end does not start another
// line; an empty text has no lines.
QStringList splitLines(const QString& text);
// Each line followed by CR LF, as UTF-8.
QByteArray joinLinesCrLf(const QStringList& lines);

struct LinesResult {
    bool ok = false;
    QStringList lines;
    QString error;
    explicit operator bool() const { return ok; }
};
LinesResult readTextLines(const QString& path, qint64 maxSize = MaxReadFileSize);
// Replaces the file with the lines, CR LF after each, atomically.
SaveResult writeTextLines(const QString& path, const QStringList& lines);

// Appends one line and CR LF (log files; not atomic). Creates the file.
bool appendLine(const QString& path, const QString& line);

} // namespace platform
