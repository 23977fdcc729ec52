// Resolves the tools' media paths: "\" separators, relative paths against a base
// folder, and path components matched without regard to case when the exact
// path does not exist (the tools were written for a case-insensitive system).
#pragma once

#include <QString>

namespace kl::core {

// Returns the existing file the path names, or the cleaned path (with "/"
// separators, made absolute against baseFolder when relative) when none exists.
QString resolveMediaPath(const QString& path, const QString& baseFolder);

} // namespace kl::core
