#pragma once
// The output resolutions the window offers, and the texts of its dialogs.

#include <QString>
#include <QStringList>

namespace layerloom {

// The seven entries of the resolution list; entry 4 is selected at start.
QStringList resolutionEntries();
inline constexpr int kResolutionEntryCount = 7;
inline constexpr int kStartResolutionEntry = 4;
// The resolution an entry stands for: its leading number ("512 x 512 ..." is 512).
int entryResolution(const QString& entryText);

// Preview always generates at this resolution.
inline constexpr int kPreviewResolution = 256;

inline const QString kWindowCaption = QStringLiteral("Layerloom V1.0");
inline const QString kWelcomeText = QStringLiteral("Welcome To Layerloom!");
inline const QString kCompilingText = QStringLiteral("Please Wait Compiling...");

inline const QString kLayerDialogTitle = QStringLiteral("Load A Layer Texture");
inline const QString kLayerDialogFilter =
    QStringLiteral("Color Texture Map (*.bmp,*.jpg,*.png,*.gif)|*.bmp;*.jpg;*.png;*.gif");
inline const QString kHeightDialogTitle = QStringLiteral("Load A Gray-Scale HeightMap");
inline const QString kHeightDialogFilter = QStringLiteral("Gray-Scale HeightMap (*.bmp,*.jpg)|*.bmp;*.jpg");
inline const QString kFinalDialogTitle = QStringLiteral("Save Final Texture");
inline const QString kFinalDialogFilter = QStringLiteral("Color heightmap (*.bmp)|*.bmp");
inline const QString kSavePresetTitle = QStringLiteral("Save Setup As Preset");
inline const QString kLoadPresetTitle = QStringLiteral("Load Setup Preset");
inline const QString kPresetFilter = QStringLiteral("Layerloom Preset (*.llp)|*.llp");

// Temporary output of Preview, in the program folder: "temp" + seconds since
// midnight (rounded) + ".bmp".
QString previewFileName(double secondsSinceMidnight);

} // namespace layerloom
