// Particle files (".pkl") and the preset store ("presets.ini"): the three
// emitters' records as 23 keys each in one INI section named after the preset,
// plus one line in section "Presets". Written and read one key at a time;
// a failing step is logged and the next one runs.
#pragma once

#include "core/EmitterRecords.h"

#include <QString>
#include <QStringList>

namespace emberly {

inline const QString kPresetsSection = QStringLiteral("Presets");
inline const QString kPresetStoreName = QStringLiteral("presets.ini");

// What loading and saving touch outside the records: the main window.
class PresetWindow {
public:
    virtual ~PresetWindow() = default;
    virtual EmitterRecords& records() = 0;
    virtual bool emitterEnabled(int index) const = 0;
    // Sets the enable box with its click behaviour.
    virtual void setEmitterEnabled(int index, bool on) = 0;
    // The texture list holds only its four built-in entries.
    virtual bool onlyBuiltInTextures() const = 0;
    // The custom texture dialog.
    virtual void loadCustomTexture() = 0;
    virtual void showEmitter(int index) = 0;
    virtual void applyEmitter(int index) = 0;
    // One line in the debug log.
    virtual void log(const QString& line) = 0;
};

// The 23 key words in the order savePreset writes them.
QStringList presetKeyWords();

// The value texts savePreset writes for emitter `index`, in key order.
QStringList presetValues(const EmitterRecords& records, int index, bool enabled);

// Writes the preset. Returns whether every key write reached the file.
bool savePreset(const QString& name, const QString& file, PresetWindow& window);
// Reads the preset into the records, asking about a custom texture where
// one is stored, then shows emitter 0 and applies all three.
void loadPreset(const QString& name, const QString& file, PresetWindow& window);

// The section name of a particle file: its file name, extension included.
QString particleFileSection(const QString& path);
// The save path: ".pkl" appended unless the extension is exactly ".pkl".
QString particleFileSavePath(const QString& chosen);
// Why a preset name cannot be stored; empty when it can.
QString presetNameProblem(const QString& name);

// The preset names of a store, in file order.
QStringList presetNames(const QString& file);

// The message after a save that did not reach the file.
QString saveFailedMessage(const QString& file);

} // namespace emberly
