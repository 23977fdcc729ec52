// Compile of a preset without a window: the preset read as Load Preset reads
// it, its layers handed to the engine started without a view, and the
// texture generated as Compile generates it.
#pragma once

#include "core/CompileCommand.h"

#include <QTextStream>

namespace layerloom {

// Runs the generation; progress and the one failure line go to `log`.
// Returns the exit code (0 written, 1 failed).
int runHeadlessCompile(const CompileRequest& request, const QString& programFolder, QTextStream& log);

} // namespace layerloom
