#pragma once
// Line-level view of an INI-form file shared by the profile functions and
// the registry store: raw lines (bytes kept exactly, so a write can leave
// every other line as it was) and what each line says.

#include <QByteArray>
#include <QString>

#include <vector>

namespace platform::ini {

struct RawLine {
    QByteArray text;     // without its line end
    QByteArray ending;   // "\r\n", "\n", "\r" or "" (last line without one)
};

std::vector<RawLine> splitRawLines(const QByteArray& bytes);
QByteArray joinRawLines(const std::vector<RawLine>& lines);

enum class LineKind { Blank, Comment, Section, Entry, Unparsed };

struct ParsedLine {
    LineKind kind = LineKind::Unparsed;
    QString name;    // section name or key, blanks trimmed
    QString value;   // entry value after the first '=', blanks trimmed
    QString rawValue;   // entry value after the first '=', untrimmed
};

// `utf8`: how the file's bytes are decoded (Latin-1 otherwise).
ParsedLine parseLine(const QByteArray& raw, bool utf8);

QByteArray encodeLine(const QString& text, bool utf8);

} // namespace platform::ini
