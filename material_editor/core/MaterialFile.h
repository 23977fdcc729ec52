#pragma once
// The material file (".mkl"): 43 text lines read and written by position.
//  1-17 material boxes Ar..Sa, Pow (text)     18-20 background, texture, bump map path
//  21 "True" when bump mapping is off          22 sphere mapping, " 1 " / " 0 "
//  23-25 direction tX tY tZ                     26 "True" when the light is on
//  27 object on show (" 3 ")                    28-30 position pX pY pZ
//  31-39 light ambient, diffuse, specular rgb   40 range  41 phi  42 theta
//  43 light type row (" 2 ")

#include "core/MaterialSettings.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <array>
#include <optional>

namespace glazery {

inline constexpr int kMaterialFileLineCount = 43;
inline constexpr int kMaterialFileLightFirstLine = 23;

// DefaultMaterialFile, in the program folder: read at start-up, by "New" and
// (its light part) by the light panel's "Default".
inline const QString kDefaultMaterialFileName = QStringLiteral("default.mkl");

// Texts of the open and save dialogs and of a failed save.
inline const QString kMaterialFileFilter = QStringLiteral("Glazery Material|*.mkl");
inline const QString kOpenMaterialTitle = QStringLiteral("Open Glazery material");
inline const QString kSaveMaterialTitle = QStringLiteral("Save Glazery material");
inline const QString kSaveFailedMessage =
    QStringLiteral("Some error occured and the material may not be saved. Try to save again.");

// Titles and filters of the picture dialogs of the files panel, in the order
// of its rows: background, texture, bump map.
inline const std::array<QString, 3> kPictureDialogTitles = {
    QStringLiteral("Open texture"), QStringLiteral("Open texture for Sphere"),
    QStringLiteral("Open texture for Sphere")};
inline const std::array<QString, 3> kPictureFileFilters = {
    QStringLiteral("JPG|*.jpg|BMP|*.bmp"),
    QStringLiteral("All Supported Types|*.jpg;*.bmp;*.tif;*.dds|JPG|*.jpg|BMP|*.bmp|TIF|*.tif|DDS|*.dds"),
    QStringLiteral("JPG|*.jpg|BMP|*.bmp|TIF|*.tif|DDS|*.dds")};

// The 43 lines in order, without line ends.
QStringList materialFileLines(const MaterialSettings& settings);

// The whole file content: the 43 lines, each ended by CR LF, UTF-8.
QByteArray materialFileContent(const MaterialSettings& settings);

struct SaveResult {
    bool ok = false;
    QString error; // why the save failed; empty on success
};

// Saves atomically: on failure the previous file at `path` stays whole.
SaveResult writeMaterialFile(const QString& path, const MaterialSettings& settings);

// Result of reading a material file. `settings` is set only when the file
// could be read and held all 43 lines; otherwise `error` says what is wrong
// (naming the file) and the caller leaves its controls unchanged.
// `warnings` lists single lines that could not be used (an object index or a
// light type row out of range, ...); the value used instead is the start-up one.
struct MaterialReadResult {
    std::optional<MaterialSettings> settings;
    QString error;
    QStringList warnings;
};

// Parses file content (CR LF, LF or CR line ends; any bytes).
MaterialReadResult parseMaterialFile(const QByteArray& content, const QString& fileNameForMessages);
MaterialReadResult readMaterialFile(const QString& path);

// The light part (lines 23-43) only; lines 1-22 are skipped. `settings`
// carries the light fields, lightOn and shownObject; its other members keep
// their defaults and must be ignored. A missing file or one with fewer than
// 43 lines gives no settings: the light is left unchanged.
MaterialReadResult readLightSettings(const QString& path);

// Copies the light part (light, lightOn, shownObject) of `from` into `into`.
void applyLightPart(MaterialSettings& into, const MaterialSettings& from);

// Which file a texture slot loads after reading a path line.
struct TextureChoice {
    QString boxText;    // what the path box shows: the path or "<none>"
    QString fileToLoad; // resolved file to load: the path or the default texture
    bool usesDefault = false;
};

// A path line that names an existing file (relative names resolve against the
// program folder; "\" and letter case as on Windows) is kept; anything else,
// "<none>" included, gives "<none>" and the default file (one of
// kDefaultFabricFile / kDefaultBackFile, joined to the program folder).
TextureChoice chooseTexture(const QString& pathLine, const QString& defaultFile,
                            const QString& programFolder);

// Whether `path` names an existing regular file (resolved as above).
bool namesExistingFile(const QString& path, const QString& programFolder);

} // namespace glazery
