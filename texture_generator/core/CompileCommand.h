// Layerloom's command line: no arguments or one preset opens the window (with
// that preset loaded); "--compile PRESET [--output OUT.bmp] [--resolution N]"
// generates the preset's texture without a window; "--help" prints the usage.
#pragma once

#include "core/PresetFile.h"

#include <QString>
#include <QStringList>

namespace layerloom {

struct CompileRequest {
    QString preset;
    QString output;       // empty: the preset's output
    int resolution = 0;   // 0: the preset's resolution entry
};

struct LayerloomLaunch {
    enum class Kind { Window, Compile, Help, UsageError };
    Kind kind = Kind::Window;
    QString presetToOpen;
    CompileRequest compile;
    QString error;
};

QStringList layerloomCommandOptions();
LayerloomLaunch parseLayerloomArguments(const QStringList& arguments);
QString layerloomUsage();
// The resolution Compile uses for `preset`: its entry when 0 to 6, else the
// entry the window starts with.
int presetResolution(const Preset& preset);

} // namespace layerloom
