// Emberly's values in the registry store.
#pragma once

#include <QString>

namespace emberly {

inline const QString kRegistryKey = QStringLiteral("Software\\Korlith3D\\Emberly");
inline const QString kShowIntroValue = QStringLiteral("ShowIntro");
inline const QString kAutoRotateValue = QStringLiteral("AutoRotate");

// "1" or "0" under HKEY_CURRENT_USER; a missing value reads as "0".
QString readSetting(const QString& name);
bool readFlag(const QString& name);
bool writeSetting(const QString& name, const QString& value);

} // namespace emberly
