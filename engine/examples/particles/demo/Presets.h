// The particle editor's preset store (presets.ini): named sets of three
// emitters, each value under a key of the emitter's digit and the field name
// (0Size, 1Life, ...), several stored scaled (Life, ParticleSpeed, Bounce and
// Power × 100, colours × 255).
#pragma once

#include "Emitter.h"

#include <QString>
#include <QStringList>

#include <array>
#include <optional>

namespace kldemo {

using EmitterSet = std::array<EmitterSettings, 3>;

// The names listed in the file's [Presets] section.
QStringList presetNames(const QString& file);
// The three emitters of preset `name`; none when the file or the preset is missing.
std::optional<EmitterSet> loadPreset(const QString& file, const QString& name);

} // namespace kldemo
