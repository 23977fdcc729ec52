// The map file (".ldm"): an INI file with the sections LANDSCAPE, LIGHTMAP,
// OBJECTS and LIGHT, written and read one key at a time through the
// private-profile functions.
#pragma once

#include "core/PlacedObjects.h"

#include <korlith3d/types.h>

#include <QString>
#include <QtGlobal>

#include <vector>

namespace landlume {

inline const QString kMapFilter = QStringLiteral("LDM files(*.ldm)|*.ldm");
inline const QString kOpenMapTitle = QStringLiteral("Open LDM:");
inline const QString kSaveMapTitle = QStringLiteral("Save LDM:");
// Values longer than this come back cut to it.
inline constexpr int kMapValueBuffer = 255;
// The object panel addresses objects by 16-bit index: no map holds more.
inline constexpr int kMaxMapObjects = 32767;

// What a map file holds.
struct MapScene {
    QString heightmap;
    qint32 width = 8;
    qint32 height = 8;
    float factorY = 1.0f;
    QString lightmap;
    float texWidth = 512.0f;
    float texHeight = 512.0f;
    float alpha = 0.4f;
    std::vector<PlacedObject> objects;   // objects 1..n in order
    D3DVECTOR lightDirection{2.0f, -1.0f, 2.0f};
    bool landShadows = true;
    bool objectShadows = true;
};

// Number, boolean and vector texts of the map file.
QString mapBoolean(bool value);
QString mapVector(const D3DVECTOR& v);

// Writes one key (creating file, section or key as needed). False on failure.
bool writeMapKey(const QString& section, const QString& key, const QString& value, const QString& path);
// The key's value, "" when missing; values over 254 characters come back cut.
QString readMapKey(const QString& section, const QString& key, const QString& path);

struct MapSaveResult {
    bool ok = true;
    QString failedKey;   // "SECTION/Key" of the write that failed
    QString error;       // why the file could not be replaced
};
// Writes every key in the file's order; existing keys are replaced in place,
// keys the scene does not write (objects beyond its count) stay. The map is
// replaced as a whole: a save that fails leaves the previous file as it was.
MapSaveResult saveMap(const MapScene& scene, const QString& path);

// What a map load does to the program, step by step in the file's order. Each
// step may throw (an engine failure); the load then stops there.
class MapTarget {
public:
    virtual ~MapTarget() = default;
    virtual void buildLandscape(const QString& heightmap, qint32 width, qint32 height, float factorY) = 0;
    // The lightmap size (warning outside 64..2048, values kept as read).
    virtual void setLightmapSize(const QString& lightmap, float texWidth, float texHeight, float alpha) = 0;
    // The lightmap picture on the land and in the lightmap window.
    virtual void applyLightmap(const QString& lightmap) = 0;
    virtual void placeObject(const QString& fileType, const PlacedObject& object) = 0;
    virtual void setLight(const D3DVECTOR& direction) = 0;
    virtual void setShadowFlags(bool landShadows, bool objectShadows) = 0;
    // Everything read: the panel shows the settings.
    virtual void showSettings() = 0;
};

struct MapLoadResult {
    bool ok = true;
    QString section;
    QString key;       // the key at which the load stopped
    QString reason;
    // One message naming the key that failed; empty when the load finished.
    QString message() const;
};

// Reads the file and drives `target` in order. An error stops the load at the
// key that caused it; what was done before stays. A missing file reads as one
// with every key empty, so it stops at "Count".
MapLoadResult loadMap(const QString& path, MapTarget& target);

} // namespace landlume
