// The version information of a library file as the manager shows it: eight
// texts read under the file's first translation.
#pragma once

#include <QString>
#include <QtGlobal>

#include <array>

namespace stewardex {

// In record order; a key the file lacks reads "?", a file without version
// information gives eight empty texts.
struct VersionStrings {
    QString CompanyName;
    QString FileDescription;
    QString FileVersion;
    QString InternalName;
    QString LegalCopyright;
    QString OriginalFileName;
    QString ProductName;
    QString ProductVersion;

    bool operator==(const VersionStrings&) const = default;
};

// The version-resource key names, in record order.
inline constexpr std::array<const char*, 8> VersionKeyNames = {
    "CompanyName",  "FileDescription",  "FileVersion", "InternalName",
    "LegalCopyright", "OriginalFileName", "ProductName", "ProductVersion"};

// Language x 65536 + code page in upper-case hex, eight digits ("040904B0").
QString translationKey(quint16 language, quint16 codePage);

VersionStrings ReadVersionStrings(const QString& path);

// The utility library writes its file version "6, 3, 0, 0"; shown as 6.3.0.0.
QString utilityVersionText(const QString& fileVersion);

} // namespace stewardex
