// The particle editor's scene, set up as the editor sets it up: the engine in
// a picture box, the particle textures and sky boxes in the editor's load
// order (so the texture ids of its presets hold), the mountains sky box, the
// pole and the floor, and up to three emitters playing above the floor.
#pragma once

#include "Emitter.h"
#include "Presets.h"

#include <korlith3d/KLAtmosphere.h>
#include <korlith3d/KLCamera.h>
#include <korlith3d/KLEngine.h>
#include <korlith3d/KLMesh.h>
#include <korlith3d/KLScene.h>
#include <korlith3d/KLTextureFactory.h>

#include <QString>
#include <QWidget>

#include <memory>
#include <vector>

namespace kldemo {

class DemoScene {
public:
    // `programFolder` holds media/ and mesh/ as the editor's folder does.
    // Throws KLError when the engine cannot start or a file is missing.
    DemoScene(QWidget& pictureBox, const QString& programFolder);
    ~DemoScene();

    // Replaces the emitters by the enabled ones of the set.
    void play(const EmitterSet& emitters, int alphaMode = KL_CHANGE_ALPHA, std::uint32_t seed = 1);
    std::vector<std::unique_ptr<Emitter>>& emitters() { return emitters_; }

    // Draws one frame as the editor does: clear, sky box, pole, floor,
    // particles, present.
    void render();
    // Advances every emitter by the time since its last update (the editor's
    // per-frame call), or by exactly `milliseconds`.
    void update();
    void update(float milliseconds);

    KLEngine& engine() { return *engine_; }
    KLScene& scene() { return *scene_; }
    KLCamera& camera() { return *camera_; }
    KLAtmosphere& atmosphere() { return *atmosphere_; }

private:
    std::unique_ptr<KLEngine> engine_;
    std::unique_ptr<KLScene> scene_;
    std::unique_ptr<KLCamera> camera_;
    std::unique_ptr<KLTextureFactory> textures_;
    std::unique_ptr<KLAtmosphere> atmosphere_;
    KLMesh pole_;
    KLMesh floor_;
    std::vector<std::unique_ptr<Emitter>> emitters_;
};

} // namespace kldemo
