// The call into the utility library, bound when it is made: the library is
// looked for by name in the program folder, then in the shared library
// folder beside it (<root>/lib), then by the system's loader.
#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace stewardex {

inline constexpr const char* UtilityLibraryName = "libklutil63.so";

QStringList utilityLibraryCandidates(const QString& programFolder);

// The path GetPathDLL writes into a buffer of 255 characters; nullopt when
// the library or the function is missing (the wrong version, either way).
std::optional<QString> callGetPathDLL(const QString& programFolder);

} // namespace stewardex
