// The map file part of the frame window's "File" menu: "New scene", "Open LDM"
// and "Save LDM". A load drives the program step by step in the file's order.
#pragma once

#include "core/MapFile.h"

#include <QString>

namespace landlume {

class MDIMain;

class MapFileActions : private MapTarget {
public:
    explicit MapFileActions(MDIMain& frame);
    MapFileActions(const MapFileActions&) = delete;
    MapFileActions& operator=(const MapFileActions&) = delete;

    // Settings, objects, land and light back to the defaults; the panels and
    // the lightmap picture too.
    void newScene();
    // "Open LDM": the dialog on the program's Maps folder, then openMapFile.
    void openMap();
    // A new scene, then the map file loaded into it; a load that stops is
    // reported naming the key, and what was done before stays.
    void openMapFile(const QString& path);
    // A map named on the command line: openMapFile, or a message naming the
    // file when there is none at `path` (relative to the working folder).
    void openMapAtStart(const QString& path);
    // "Save LDM": the dialog, then the scene written (".ldm" added).
    void saveMap();

private:
    QString mapsFolder() const;

    // ---- the load's steps on the program ------------------------------------
    void buildLandscape(const QString& heightmap, qint32 width, qint32 height, float factorY) override;
    void setLightmapSize(const QString& lightmap, float texWidth, float texHeight, float alpha) override;
    void applyLightmap(const QString& lightmap) override;
    void placeObject(const QString& fileType, const PlacedObject& object) override;
    void setLight(const D3DVECTOR& direction) override;
    void setShadowFlags(bool landShadows, bool objectShadows) override;
    void showSettings() override;

    MDIMain& frame_;
};

} // namespace landlume
