#pragma once
// The preset file (".llp"): one value per line, CR LF after each.
//   1 height-map path (quoted)     2 output path (quoted)
//   3 resolution entry, 0 to 6     4 layer count N
//   then per layer six lines: texture path (quoted), altitude min, altitude
//   max, blend power, U scale, V scale — the power before the two scales.
// Texts are written between double quotes without escaping; integers in
// plain decimal; reals as their shortest decimal text.

#include "core/TextureLayer.h"

#include <platform/TextFile.h>

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace layerloom {

inline constexpr int kPresetHeaderLines = 4;
inline constexpr int kPresetLinesPerLayer = 6;

struct Preset {
    QString heightMap;
    QString output;
    int resolutionEntry = 0;   // as stored; the window uses it only when 0 to 6
    QList<TextureLayer> layers;

    bool operator==(const Preset&) const = default;
};

QStringList presetLines(const Preset& preset);
QByteArray presetContent(const Preset& preset);
// Saves atomically: on failure the previous file at `path` stays whole.
platform::SaveResult writePresetFile(const QString& path, const Preset& preset);

// Result of reading a preset. `preset` is set when the file could be read;
// a short or odd file still gives one (values not read are 0 or empty, a
// negative count reads as no layers, numbers that do not fit their field
// are 0) and each such oddity is one line of `warnings`. A file that cannot
// be read gives `error` and no preset.
struct PresetReadResult {
    std::optional<Preset> preset;
    QString error;
    QStringList warnings;
};

PresetReadResult parsePresetFile(const QByteArray& content, const QString& fileNameForMessages);
PresetReadResult readPresetFile(const QString& path);

// The text of a quoted line: what lies between the first two double quotes
// (commas inside are text); a line without a leading quote as it stands.
QString quotedText(const QString& line);

} // namespace layerloom
