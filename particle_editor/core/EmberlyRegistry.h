// Emberly's values in the registry store and the DirectX check at start-up.
#pragma once

#include <QString>

#include <optional>

namespace emberly {

inline const QString kRegistryKey = QStringLiteral("Software\\Korlith3D\\Emberly");
inline const QString kShowIntroValue = QStringLiteral("ShowIntro");
inline const QString kAutoRotateValue = QStringLiteral("AutoRotate");

// "1" or "0" under HKEY_CURRENT_USER; a missing value reads as "0".
QString readSetting(const QString& name);
bool readFlag(const QString& name);
bool writeSetting(const QString& name, const QString& value);

// The version as a number: the first 4 characters plus characters 6 and 7
// divided by 1000, in single precision ("4.08.01.0881" gives 4.081).
float directXVersionNumber(const QString& version);

inline const QString kDirectXProblemTitle = QStringLiteral("DirectX Version Problem...");
// The warning for a version below 8.1; nothing when it is new enough.
std::optional<QString> directXWarning(const QString& version);

// The store's DirectX version, or the probe's answer; "0" when there is none.
QString installedDirectXVersion();

} // namespace emberly
