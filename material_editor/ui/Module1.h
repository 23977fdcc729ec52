// Start-up module of Glazery: the splash window, then the main window and its
// render loop.
#pragma once

#include <QString>

namespace glazery {

// Shows the splash for `splashSeconds` (or until it is clicked), then loads
// the main window and runs its loop. Returns the program's exit code.
int runGlazery(const QString& programFolder, double splashSeconds = 3.0, const QString& fileToOpen = QString());

// Opens a document or web address with the desktop's default handler.
void shellOpen(const QString& target);

} // namespace glazery
