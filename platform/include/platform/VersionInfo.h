#pragma once
// Version information of our libraries, standing in for Windows version
// resources. A library carries it in an ELF section named ".klversion",
// written at build time with KL_VERSION_RESOURCE, and it is read from the
// file without loading the library.
//
// Section text (UTF-8, lines, NUL-terminated):
//   KLVERSION1
//   Translation=040904B0           one or more, language + code page in hex
//   040904B0\FileVersion=6, 3, 0, 0
//   040904B0\CompanyName=...

#include <QByteArray>
#include <QMap>
#include <QString>

#include <optional>
#include <utility>
#include <vector>

// Puts version information into the library or program being built:
//   KL_VERSION_RESOURCE("Translation=040904B0\n"
//                       "040904B0\\FileVersion=6, 3, 0, 0\n")
#define KL_VERSION_RESOURCE(lines)                                                            \
    [[gnu::used, gnu::section(".klversion")]] static const char klVersionResource[] =         \
        "KLVERSION1\n" lines

namespace platform {

struct VersionResource {
    std::vector<std::pair<quint16, quint16>> translations;   // language, code page
    QMap<QString, QString> strings;   // "040904B0\FileVersion" (upper-case block) -> text
};

// The version information of a file; nullopt when the file is missing, not
// an ELF file, damaged, or has no ".klversion" section.
std::optional<VersionResource> readVersionResource(const QString& path);

// The raw ".klversion" section of ELF file bytes (bounds-checked; nullopt
// for anything else).
std::optional<QByteArray> findElfSection(const QByteArray& file, const QByteArray& name);
std::optional<VersionResource> parseVersionResource(const QByteArray& section);

// VerQueryValue: "\VarFileInfo\Translation" gives the first translation as
// its eight hex digits ("040904B0"); "\StringFileInfo\<block>\<name>" gives
// the text (block and name without regard to case). nullopt when absent.
std::optional<QString> queryVersionValue(const VersionResource& resource, const QString& subBlock);

} // namespace platform
