// Emberly's start-up procedure: the splash while "ShowIntro" is on, then the
// main window with its frame loop.
#pragma once

#include <QString>

namespace emberly {

// Returns the program's exit code.
int runEmberly(const QString& programFolder, double splashSeconds = 3.0, const QString& fileToOpen = QString());

} // namespace emberly
