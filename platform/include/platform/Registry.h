#pragma once
// The registry store: HKEY_CURRENT_USER and HKEY_LOCAL_MACHINE, one INI-form
// file per hive in registryFolder(). Key paths are "\"-separated and, like
// value names, match without regard to case. Values are strings or 32-bit
// (DWORD) numbers. A hive file that cannot be parsed reads as holding no
// values, and a write into it fails rather than replacing it.
//
// File form: a section per key, one line per value:
//   [Software\Korlith3D\Emberly]
//   ShowIntro=sz:1
//   Count=dword:0000000a
// The default (unnamed) value is "@"; '%', '=', ';', '[', ']', '@' at the
// start, control characters and blanks at either end are written as %XX.

#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <optional>

namespace platform {

enum class Hive { CurrentUser, LocalMachine };

// "HKEY_CURRENT_USER"/"HKCU", "HKEY_LOCAL_MACHINE"/"HKLM" (any case).
std::optional<Hive> hiveFromName(const QString& name);
QString hiveName(Hive hive);

// $KORLITH3D_REGISTRY_DIR when set, else $XDG_CONFIG_HOME/korlith3d/registry,
// else ~/.config/korlith3d/registry.
QString registryFolder();
QString hiveFile(Hive hive);

// Reads: nullopt when the key or value is missing, of the other type, or the
// hive file is damaged.
std::optional<QString> readRegistryString(Hive hive, const QString& key, const QString& name);
std::optional<quint32> readRegistryDword(Hive hive, const QString& key, const QString& name);
bool registryKeyExists(Hive hive, const QString& key);
// Names of the direct subkeys of `key` that exist in the store.
QStringList registrySubkeys(Hive hive, const QString& key);

// Writes create the folder, the file and the key as needed; false when the
// hive file is damaged or cannot be saved (it is then left as it was).
bool writeRegistryString(Hive hive, const QString& key, const QString& name, const QString& value);
bool writeRegistryDword(Hive hive, const QString& key, const QString& name, quint32 value);
// Missing values and keys count as deleted (true) and change nothing.
bool deleteRegistryValue(Hive hive, const QString& key, const QString& name);
// Removes the key with its values and all its subkeys.
bool deleteRegistryKey(Hive hive, const QString& key);

// The DirectX version: the HKLM "SOFTWARE\Microsoft\DirectX" "Version" value
// if present, otherwise "4.09.00.0904" when an OpenGL 3.3 core context can be
// created (needs a QGuiApplication), otherwise nullopt.
std::optional<QString> directXVersion();
// GL_RENDERER of the probe context; nullopt when no such context can be made.
std::optional<QString> adapterDescription();

} // namespace platform
