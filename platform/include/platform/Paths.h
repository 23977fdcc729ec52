#pragma once
// Paths as the tools write them (Windows style, "\" separators, letter case
// as typed) resolved on a case-sensitive Linux file system.

#include <QString>

namespace platform {

// Folder of the running executable; tests may put another folder in place
// (an empty text restores the real one).
QString programFolder();
void setProgramFolder(const QString& folder);

// "\" becomes "/" and runs of separators collapse to one
// ("C:\\a\\\\b" -> "C:/a/b"); a leading "//" also collapses.
QString normalizeSeparators(const QString& path);

// Joins two pieces with exactly one "/" between them, whichever separators
// they carry: joinPath(folder, "\\debugfile.txt"), joinPath(folder, "/Readme.txt").
QString joinPath(const QString& folder, const QString& name);

// The file a Windows-style path means here. Separators are normalised; a
// relative path is taken against `baseFolder` (the current folder when
// empty). When the exact path does not exist each component is matched
// against its folder's listing without regard to letter case (an exact match
// first, otherwise the first of the sorted candidates), so
// "data\models\Sphere.X" finds "Data/models/Sphere.X". From the first
// component that matches nothing on, the rest is kept as written (a new file
// in an existing folder).
QString resolvePath(const QString& path, const QString& baseFolder = {});

// resolvePath against the program folder.
QString programPath(const QString& relative);

} // namespace platform
