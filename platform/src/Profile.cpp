#include "platform/Profile.h"

#include "IniLines.h"
#include "platform/TextFile.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <optional>
#include <vector>

namespace platform {

namespace {

using ini::LineKind;
using ini::ParsedLine;
using ini::RawLine;

// One file as raw lines plus their meaning; `valid` is false when the file
// exists but cannot be read (too large, unreadable).
struct ProfileFile {
    bool exists = false;
    bool valid = true;
    bool utf8 = true;
    QString problem;   // why the file is not valid
    QByteArray original;
    std::vector<RawLine> raw;
    std::vector<ParsedLine> parsed;
};

ProfileFile loadProfile(const QString& path)
{
    ProfileFile file;
    if (!QFileInfo::exists(path))
        return file;
    file.exists = true;
    ReadResult read = readWholeFile(path, MaxProfileFileSize);
    if (!read) {
        file.valid = false;
        file.problem = read.error;
        return file;
    }
    file.raw = ini::splitRawLines(read.data);
    for (std::size_t i = 0; i < file.raw.size(); ++i) {
        if (file.raw[i].text.size() > MaxProfileLineLength) {
            file.raw.clear();
            file.valid = false;
            file.problem = QStringLiteral("%1: line %2 is longer than %3 characters")
                               .arg(path)
                               .arg(i + 1)
                               .arg(MaxProfileLineLength);
            return file;
        }
    }
    file.original = read.data;
    file.utf8 = isValidUtf8(read.data);
    if (!file.raw.empty() && file.raw.front().text.startsWith("\xEF\xBB\xBF") && file.utf8)
        file.raw.front().text.remove(0, 3);
    file.parsed.reserve(file.raw.size());
    for (const RawLine& line : file.raw)
        file.parsed.push_back(ini::parseLine(line.text, file.utf8));
    if (file.utf8 && file.original.startsWith("\xEF\xBB\xBF"))
        file.raw.front().text.prepend("\xEF\xBB\xBF");
    return file;
}

bool sameName(const QString& a, const QString& b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// Lines [header, end) of one section: header index and one past its last line.
struct SectionRange {
    std::size_t header;
    std::size_t end;
};

std::vector<SectionRange> findSections(const ProfileFile& file, const QString& section)
{
    std::vector<SectionRange> found;
    const QString wanted = section.trimmed();
    for (std::size_t i = 0; i < file.parsed.size(); ++i) {
        if (file.parsed[i].kind != LineKind::Section || !sameName(file.parsed[i].name, wanted))
            continue;
        std::size_t end = i + 1;
        while (end < file.parsed.size() && file.parsed[end].kind != LineKind::Section)
            ++end;
        found.push_back({i, end});
    }
    return found;
}

std::optional<std::size_t> findKey(const ProfileFile& file, const SectionRange& range, const QString& key)
{
    const QString wanted = key.trimmed();
    for (std::size_t i = range.header + 1; i < range.end; ++i)
        if (file.parsed[i].kind == LineKind::Entry && sameName(file.parsed[i].name, wanted))
            return i;
    return std::nullopt;
}

QString unquoted(const QString& value)
{
    if (value.size() >= 2 && value.front() == value.back()
        && (value.front() == u'"' || value.front() == u'\''))
        return value.mid(1, value.size() - 2);
    return value;
}

QString fitBuffer(const QString& text, int bufferSize)
{
    if (bufferSize <= 0)
        return {};
    return text.left(bufferSize - 1);
}

// A NUL-terminated list cut to a buffer the way the profile functions do.
QString fitNulList(const QStringList& names, int bufferSize)
{
    QString list;
    for (const QString& name : names)
        list += name + QChar(u'\0');
    if (list.size() + 1 <= bufferSize)   // room for the final NUL
        return list;
    if (bufferSize <= 2)
        return {};
    QString cut = list.left(bufferSize - 2);
    if (!cut.endsWith(QChar(u'\0')))
        cut += QChar(u'\0');
    return cut;
}

bool hasNonAscii(const QByteArray& bytes)
{
    for (const char c : bytes)
        if (static_cast<unsigned char>(c) >= 0x80)
            return true;
    return false;
}

bool save(const ProfileFile& file, const QString& path)
{
    QByteArray bytes = ini::joinRawLines(file.raw);
    if (file.exists && bytes == file.original)
        return true;
    // A file read as Latin-1 whose last byte that is not UTF-8 went with the
    // change would be read as UTF-8 next time, and its other non-ASCII names
    // and values would change meaning: it is written as UTF-8 of the text it
    // was read as instead.
    if (!file.utf8 && hasNonAscii(bytes) && isValidUtf8(bytes)) {
        std::vector<RawLine> lines = file.raw;
        for (RawLine& line : lines)
            line.text = QString::fromLatin1(line.text).toUtf8();
        bytes = ini::joinRawLines(lines);
    }
    return saveFileAtomically(path, bytes).ok;
}

bool hasLineBreak(const QString& text)
{
    return text.contains(u'\r') || text.contains(u'\n');
}

// Text of a value as stored: quoted when reading would otherwise change it.
QString storedValue(const QString& value)
{
    const bool blankEnds = value != value.trimmed();
    const bool looksQuoted = unquoted(value) != value;
    return blankEnds || looksQuoted ? u'"' + value + u'"' : value;
}

void endLastLine(ProfileFile& file)
{
    if (!file.raw.empty() && file.raw.back().ending.isEmpty())
        file.raw.back().ending = "\r\n";
}

} // namespace

QString getProfileString(const QString& section, const QString& key, const QString& defaultValue,
                         int bufferSize, const QString& file)
{
    QString fallback = defaultValue;
    while (fallback.endsWith(u' ') || fallback.endsWith(u'\t'))
        fallback.chop(1);
    const ProfileFile profile = loadProfile(file);
    const auto sections = findSections(profile, section);
    if (sections.empty())
        return fitBuffer(fallback, bufferSize);
    const auto line = findKey(profile, sections.front(), key);
    if (!line)
        return fitBuffer(fallback, bufferSize);
    return fitBuffer(unquoted(profile.parsed[*line].value), bufferSize);
}

bool writeProfileString(const QString& section, const QString& key, const QString& value,
                        const QString& file)
{
    QString cleanValue = value;
    cleanValue.remove(QChar(u'\0'));
    const QString sectionName = section.trimmed();
    const QString keyName = key.trimmed();
    if (hasLineBreak(sectionName) || hasLineBreak(keyName) || hasLineBreak(cleanValue)
        || sectionName.contains(u']') || keyName.contains(u'=') || keyName.isEmpty()
        || sectionName.contains(QChar(u'\0')) || keyName.contains(QChar(u'\0')))
        return false;

    ProfileFile profile = loadProfile(file);
    if (!profile.valid)
        return false;
    const auto sections = findSections(profile, sectionName);
    if (sections.empty()) {
        endLastLine(profile);
        profile.raw.push_back({ini::encodeLine(u'[' + sectionName + u']', profile.utf8), "\r\n"});
        profile.raw.push_back({ini::encodeLine(keyName + u'=' + storedValue(cleanValue), profile.utf8), "\r\n"});
        return save(profile, file);
    }
    const SectionRange range = sections.front();
    if (const auto line = findKey(profile, range, keyName)) {
        const QString existingName = profile.parsed[*line].name;
        profile.raw[*line].text =
            ini::encodeLine(existingName + u'=' + storedValue(cleanValue), profile.utf8);
        return save(profile, file);
    }
    // After the section's last non-blank line, so blank lines that part it
    // from the next section stay between them.
    std::size_t last = range.header;
    for (std::size_t i = range.header + 1; i < range.end; ++i)
        if (profile.parsed[i].kind != LineKind::Blank)
            last = i;
    if (profile.raw[last].ending.isEmpty())
        profile.raw[last].ending = "\r\n";
    const RawLine added{ini::encodeLine(keyName + u'=' + storedValue(cleanValue), profile.utf8), "\r\n"};
    profile.raw.insert(profile.raw.begin() + static_cast<std::ptrdiff_t>(last + 1), added);
    return save(profile, file);
}

bool deleteProfileKey(const QString& section, const QString& key, const QString& file)
{
    ProfileFile profile = loadProfile(file);
    if (!profile.exists)
        return true;
    if (!profile.valid)
        return false;
    const auto sections = findSections(profile, section);
    if (sections.empty())
        return true;
    const SectionRange range = sections.front();
    const QString wanted = key.trimmed();
    bool removed = false;
    for (std::size_t i = range.end; i-- > range.header + 1;) {
        if (profile.parsed[i].kind == LineKind::Entry && sameName(profile.parsed[i].name, wanted)) {
            profile.raw.erase(profile.raw.begin() + static_cast<std::ptrdiff_t>(i));
            removed = true;
        }
    }
    return !removed || save(profile, file);
}

bool deleteProfileSection(const QString& section, const QString& file)
{
    ProfileFile profile = loadProfile(file);
    if (!profile.exists)
        return true;
    if (!profile.valid)
        return false;
    const auto sections = findSections(profile, section);
    if (sections.empty())
        return true;
    for (auto it = sections.rbegin(); it != sections.rend(); ++it)
        profile.raw.erase(profile.raw.begin() + static_cast<std::ptrdiff_t>(it->header),
                          profile.raw.begin() + static_cast<std::ptrdiff_t>(it->end));
    return save(profile, file);
}

QString getProfileKeyNames(const QString& section, int bufferSize, const QString& file)
{
    const ProfileFile profile = loadProfile(file);
    const auto sections = findSections(profile, section);
    if (sections.empty())
        return {};
    QStringList names;
    for (std::size_t i = sections.front().header + 1; i < sections.front().end; ++i)
        if (profile.parsed[i].kind == LineKind::Entry)
            names.append(profile.parsed[i].name);
    return fitNulList(names, bufferSize);
}

QString getProfileSectionNames(int bufferSize, const QString& file)
{
    const ProfileFile profile = loadProfile(file);
    QStringList names;
    for (const ParsedLine& line : profile.parsed)
        if (line.kind == LineKind::Section)
            names.append(line.name);
    return fitNulList(names, bufferSize);
}

QString profileFileProblem(const QString& file)
{
    return loadProfile(file).problem;
}

QStringList splitNulList(const QString& list)
{
    QStringList names = list.split(QChar(u'\0'));
    if (!names.isEmpty() && names.back().isEmpty())
        names.removeLast();
    return names;
}

StagedProfileSave saveProfileThroughCopy(const QString& file,
                                         const std::function<bool(const QString& copy)>& writeKeys)
{
    if (QFileInfo(file).isDir())
        return {false, QStringLiteral("\"%1\" is a folder").arg(file)};
    const QTemporaryDir staging;
    if (!staging.isValid())
        return {false, QStringLiteral("no temporary folder for the save of \"%1\"").arg(file)};
    const QString copy = staging.filePath(QFileInfo(file).fileName());
    if (QFileInfo::exists(file) && !QFile::copy(file, copy))
        return {false, QStringLiteral("\"%1\" cannot be read").arg(file)};
    if (!writeKeys(copy))
        return {false, {}};
    const ReadResult written = readWholeFile(copy);
    if (!written)
        return {false, written.error};
    const SaveResult saved = saveFileAtomically(file, written.data);
    if (!saved)
        return {false, saved.error};
    return {};
}

} // namespace platform
