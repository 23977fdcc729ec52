#include "IniLines.h"

namespace platform::ini {

std::vector<RawLine> splitRawLines(const QByteArray& bytes)
{
    std::vector<RawLine> lines;
    qsizetype start = 0;
    const qsizetype n = bytes.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char c = bytes.at(i);
        if (c != '\r' && c != '\n')
            continue;
        const bool crlf = c == '\r' && i + 1 < n && bytes.at(i + 1) == '\n';
        lines.push_back({bytes.mid(start, i - start), crlf ? QByteArray("\r\n") : QByteArray(1, c)});
        if (crlf)
            ++i;
        start = i + 1;
    }
    if (start < n)
        lines.push_back({bytes.mid(start), {}});
    return lines;
}

QByteArray joinRawLines(const std::vector<RawLine>& lines)
{
    QByteArray out;
    for (const RawLine& line : lines)
        out += line.text + line.ending;
    return out;
}

ParsedLine parseLine(const QByteArray& raw, bool utf8)
{
    const QString text = utf8 ? QString::fromUtf8(raw) : QString::fromLatin1(raw);
    const QString trimmed = text.trimmed();
    ParsedLine line;
    if (trimmed.isEmpty()) {
        line.kind = LineKind::Blank;
    } else if (trimmed.startsWith(u';')) {
        line.kind = LineKind::Comment;
    } else if (trimmed.startsWith(u'[')) {
        const qsizetype close = trimmed.indexOf(u']');
        if (close > 0) {
            line.kind = LineKind::Section;
            line.name = trimmed.mid(1, close - 1).trimmed();
            line.rawValue = trimmed.mid(close + 1);   // text after the header
        }
    } else {
        const qsizetype equals = text.indexOf(u'=');
        if (equals >= 0) {
            line.name = text.left(equals).trimmed();
            line.rawValue = text.mid(equals + 1);
            line.value = line.rawValue.trimmed();
            line.kind = line.name.isEmpty() ? LineKind::Unparsed : LineKind::Entry;
        }
    }
    return line;
}

QByteArray encodeLine(const QString& text, bool utf8)
{
    if (!utf8) {
        bool latin1 = true;
        for (const QChar c : text)
            latin1 = latin1 && c.unicode() < 256;
        if (latin1)
            return text.toLatin1();
    }
    return text.toUtf8();
}

} // namespace platform::ini
