// The lightmap bake of a map file without a window: the map loaded into the
// engine started without a view, the aligned objects settled as the view
// settles them, the bake the "Generate lightmap" button runs, and the
// picture and coordinates written the way "Save lightmap" and "Save
// coordinates" write them.
#pragma once

#include "core/BakeCommand.h"

#include <QString>
#include <QTextStream>

namespace landlume {

// Runs the bake; progress and the one failure line go to `log`. Relative
// paths of the request are taken from the working folder, those inside the
// map from the program folder, as the window takes them. Returns the exit
// code (0 written, 1 failed).
int runHeadlessBake(const BakeRequest& request, const QString& programFolder, QTextStream& log);

} // namespace landlume
