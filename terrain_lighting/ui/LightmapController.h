// The lightmap part of the frame window: generating and cancelling the bake,
// loading, removing and saving the lightmap, saving the shadow coordinates,
// the lightmap size and alpha boxes, and the filters of "Lightmap effects".
#pragma once

#include "core/Filters.h"
#include "core/ShadowBake.h"

#include <QString>

namespace landlume {

class MDIMain;

class LightmapController {
public:
    explicit LightmapController(MDIMain& frame);
    LightmapController(const LightmapController&) = delete;
    LightmapController& operator=(const LightmapController&) = delete;

    // "Generate lightmap", or "Cancel" while a bake runs.
    void generateLightmap();
    void loadLightmap();
    void removeLightmap();
    void saveLightmap();
    void saveCoordinates();
    // "Apply" of the lightmap size boxes.
    void applyShadow();
    // "Apply" of the alpha box.
    void applyAlpha();
    // A filter on the lightmap picture (numbers and strengths of the menus).
    void applyLightmapFilter(int number, int strength);
    // The file as texture "LightMap" on the land and as the lightmap picture;
    // throws when the engine cannot load it or the picture cannot be shown.
    void applyLightmapFile(const QString& path);
    // How the last bake ended.
    const BakeOutcome& lastBake() const { return lastBake_; }

private:
    // The bake has ended or was cancelled: the button reads "Generate lightmap" again.
    void endGenerating();
    QString lightmapFolder() const;

    MDIMain& frame_;
    MdFilter filters_;
    BakeOutcome lastBake_;
};

} // namespace landlume
