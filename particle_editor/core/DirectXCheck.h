// The DirectX check at start-up: the installed version and the warning for
// one that is too old.
#pragma once

#include <QString>

#include <optional>

namespace emberly {

// The version as a number: the first 4 characters plus characters 6 and 7
// divided by 1000, in single precision ("4.08.01.0881" gives 4.081).
float directXVersionNumber(const QString& version);

inline const QString kDirectXProblemTitle = QStringLiteral("DirectX Version Problem...");
// The warning for a version below 8.1; nothing when it is new enough.
std::optional<QString> directXWarning(const QString& version);

// The store's DirectX version, or the probe's answer; "0" when there is none.
QString installedDirectXVersion();

} // namespace emberly
