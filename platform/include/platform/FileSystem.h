#pragma once
// File attributes and drives as the tools know them from Windows:
// a read-only file is one without owner write permission, hidden files are
// dot-files, and the drive list is the roots of the mounted real file systems.

#include <QString>
#include <QStringList>

namespace platform {

// No owner write permission.
bool isReadOnly(const QString& path);
// Gives the owner write permission back (attrib -r). False when it cannot.
bool clearReadOnly(const QString& path);
// Takes owner write permission away (attrib +r).
bool setReadOnly(const QString& path);
// A name starting with "." (other than "." and "..").
bool isHidden(const QString& path);

// Deletes a file (VB Kill). Throws RuntimeError 53 when it does not exist,
// 75 when it is read-only or cannot be removed.
void deleteFile(const QString& path);

// Mount points of real (block-device backed) file systems, "/" first, the
// rest sorted. Read from /proc/self/mounts; "/" alone when that cannot be read.
QStringList driveList();
// Parses mount table text (the /proc/self/mounts form) into the drive list.
QStringList driveListFromMountTable(const QString& mounts);
// Both paths lie on the same mounted file system (a search stays on its drive).
bool onSameFileSystem(const QString& a, const QString& b);

} // namespace platform
