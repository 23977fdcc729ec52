// The rules of the search window's result rows: the searched names, the row
// text, telling an engine row from a utility row, the file a row stands for,
// and the command lines and messages of the row actions.
#pragma once

#include <QString>

namespace stewardex {

// The engine library and the older utility library, lower case as searched.
inline constexpr const char* EngineFileName = "libkorlith3d.so";
inline constexpr const char* UtilityFileName = "libklutil62.so";

enum class RowKind { Engine, Utility };

QString fileNameOf(RowKind kind);

// "libkorlith3d.so ( 6.0.0.0 )"
QString rowText(RowKind kind, const QString& fileVersion);

// Both names begin "libk", so the kind is told by the whole engine file
// name at the start of the row text, not by its first four characters.
RowKind rowKind(const QString& rowText);

// A folder as the rows show it, ending in "/".
QString folderText(const QString& folder);
// The file a row acts on: its folder and the fixed name of its kind.
QString rowFile(const QString& folder, const QString& rowText);

// regsvr32 "<folder>libkorlith3d.so" (with /u to unregister).
QString registrationCommand(const QString& folder, bool unregister);
// attrib "<file>" -r
QString removeWriteProtectionCommand(const QString& file);

namespace messages {
inline constexpr const char* NotSearching = "Not searching ...";
inline constexpr const char* UtilityRegisterRefusal =
    "You cannot register klutil62.DLL, its not a ActiveX dll. Make sure you register the Korlith3D.DLL instead!";
inline constexpr const char* UtilityRegisterTitle = "klutil62.DLL Registration";
inline constexpr const char* UtilityUnregisterRefusal =
    "You cannot unregister klutil62.DLL, its not a ActiveX dll. Make sure you unregister the Korlith3D.DLL instead!";
inline constexpr const char* UtilityUnregisterTitle = "klutil62.DLL UnRegistration";
inline constexpr const char* Registered =
    "Stewardex will now try to init with the newly registered file. If you experince a crash its probably "
    "because of a Version Miss-Match, please restart the program and register correct version, before you try "
    "to Init the engine. Please stand by...";
inline constexpr const char* Unregistered =
    "Stewardex will now ReInit KL3D because a file has been unregistered. If you experince a crash its "
    "probably because of a Version Miss-Match, please restart the program and register correct version, before "
    "you try to Init the engine. Please stand by...";
inline constexpr const char* RegistrationTitle = "Stewardex Information...";
inline constexpr const char* WriteProtected =
    "This file was Write Protected, this will remove the Write Protection and delete the file.";
inline constexpr const char* WriteProtectedTitle = "Warning...";
} // namespace messages

} // namespace stewardex
