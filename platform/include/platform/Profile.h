#pragma once
// Private-profile INI functions with the Windows behaviour: sections and keys
// match without regard to case, blanks around keys and values are trimmed on
// read, lines keep their order, a value is replaced in place, a new key goes
// to the end of its section and a new section to the end of the file. Every
// call reads (and a write saves) the whole file; nothing is cached. Lines that
// cannot be parsed are passed over on read and kept as they are on write.
// Writes go through saveFileAtomically.

#include <QString>
#include <QStringList>

#include <functional>

namespace platform {

// A profile file larger than this, or holding a longer line, is not read:
// reads give the default, writes and deletes are refused (a file that was not
// understood is never rewritten) and profileFileProblem says why.
inline constexpr qint64 MaxProfileFileSize = 16 * 1024 * 1024;
inline constexpr qsizetype MaxProfileLineLength = 1024 * 1024;

// Why the profile functions cannot use `file` (too large, a line too long,
// unreadable), naming it; empty when they can or the file does not exist.
QString profileFileProblem(const QString& file);

// The value of `key` in `section`, or `defaultValue` (trailing blanks
// removed) when the file, the section or the key is missing. The answer is
// cut to what fits a buffer of `bufferSize` characters with its terminating
// NUL: at most bufferSize - 1 characters. A value written between matching
// double or single quotes comes back without them. Never creates the file.
QString getProfileString(const QString& section, const QString& key, const QString& defaultValue,
                         int bufferSize, const QString& file);

// Sets `key` in `section` to `value` (NUL characters removed), creating the
// file, the section or the key as needed. A value with blanks at either end
// (or already between quotes) is written between double quotes so it reads
// back as given. Returns false, leaving the file as it was, when the file
// cannot be read or saved, or when a name or the value contains a line break
// (that would add lines to the file), a section name contains ']' or a key
// contains '='.
bool writeProfileString(const QString& section, const QString& key, const QString& value,
                        const QString& file);

// Removes the key's line(s) from the section. A missing file, section or key
// leaves everything untouched (byte for byte) and counts as success.
bool deleteProfileKey(const QString& section, const QString& key, const QString& file);

// Removes the section's header and all its lines (every section of that
// name). A missing file or section counts as success and changes nothing.
bool deleteProfileSection(const QString& section, const QString& file);

// The key names of `section` in file order, each followed by a NUL, as
// written into a buffer of `bufferSize` characters: a list that does not fit
// is cut after bufferSize - 2 characters (and then ends with one NUL).
// Empty for a missing file or section.
QString getProfileKeyNames(const QString& section, int bufferSize, const QString& file);

// The section names of the file in the same form.
QString getProfileSectionNames(int bufferSize, const QString& file);

// Splits a NUL-separated list as returned above; no empty trailing element.
QStringList splitNulList(const QString& list);

// A document written key by key, replaced as a whole. `writeKeys` runs
// against a private copy of `file` (the file as it is; none when it does not
// exist) and returns false to give the save up; only when it returns true
// does the copy replace `file`, in one atomic save. A failure part-way thus
// leaves the file as it was instead of mixing the old document and the new.
struct StagedProfileSave {
    bool ok = true;
    QString error;   // why the file was not replaced; empty when writeKeys gave up
    explicit operator bool() const { return ok; }
};
StagedProfileSave saveProfileThroughCopy(const QString& file,
                                         const std::function<bool(const QString& copy)>& writeKeys);

} // namespace platform
