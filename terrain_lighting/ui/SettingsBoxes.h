// Reading numbers from the settings panels' text boxes: a box that does not
// hold a number is named in a warning and nothing is changed.
#pragma once

#include "ui/PanelBox.h"

#include <korlith3d/types.h>

#include <QString>

#include <optional>

class QLineEdit;

namespace landlume {

inline const QString kInvalidSettingsTitle = QStringLiteral("Invalid settings");

// "<what> <problem> Nothing was changed." as a warning.
void warnInvalidBox(const QString& what, const QString& problem);
// The number in a box, or a warning naming the box and nothing.
std::optional<float> boxNumber(const QLineEdit* box, const QString& what);
// The three boxes as X, Y and Z; the first box without a number is warned
// about ("<what> X:") and the others are not read.
std::optional<D3DVECTOR> boxVector(const BoxArray& boxes, const QString& what);

} // namespace landlume
