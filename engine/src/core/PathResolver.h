// Resolves the tools' media paths through platform::resolvePath: "\\" separators,
// relative paths against a base folder, components matched without regard to
// case; a path with a leading separator is also tried under the base folder.
#pragma once

#include <QString>

namespace kl::core {

// Returns the existing file the path names, or the cleaned path (with "/"
// separators, made absolute against baseFolder when relative) when none exists.
QString resolveMediaPath(const QString& path, const QString& baseFolder);

} // namespace kl::core
