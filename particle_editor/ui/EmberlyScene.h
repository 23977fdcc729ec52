// The engine behind Emberly's 3D view, and the only code of the windows that
// talks to the engine directly: start-up, the scene with its textures, sky box,
// pole and floor, the frame, the orbit camera, the particle systems and the
// release in its fixed order. Engine failures leave a verb as KLError.
#pragma once

#include "core/ParticleSystemPort.h"

#include <korlith3d/KLMesh.h>
#include <korlith3d/types.h>

#include <QString>

#include <cstdint>
#include <memory>

class KLAtmosphere;
class KLCamera;
class KLEngine;
class KLInputEngine;
class KLScene;
class KLTextureFactory;

namespace emberly {

// The 19 start-up textures in load order: ids 1..19.
struct TextureEntry {
    const char* file;
    const char* name;
    bool particle;   // 128 x 128 with no colour key; otherwise own size, key 0
};
inline constexpr TextureEntry kStartTextures[] = {
    {"media/pFlake.dds", "Flake", true},       {"media/pSmoke.dds", "Smoke", true},
    {"media/pFlare.dds", "Flare", true},       {"media/pBubble.dds", "Bubble", true},
    {"media/pBubble.dds", "Custom", true},     {"media/detail.jpg", "Detail", false},
    {"media/silver.jpg", "Silver", false},     {"media/front.jpg", "Front", false},
    {"media/right.jpg", "Right", false},       {"media/top.jpg", "Top", false},
    {"media/bottom.jpg", "Bottom", false},     {"media/left.jpg", "Left", false},
    {"media/back.jpg", "Back", false},         {"media/sky_gridup.jpg", "skyup", false},
    {"media/sky_griddn.jpg", "skydn", false},  {"media/sky_gridbk.jpg", "skylf", false},
    {"media/sky_gridrt.jpg", "skyft", false},  {"media/sky_gridlf.jpg", "skyrt", false},
    {"media/sky_gridft.jpg", "skybk", false},
};

class EmberlyScene {
public:
    explicit EmberlyScene(QString programFolder);
    ~EmberlyScene();
    EmberlyScene(const EmberlyScene&) = delete;
    EmberlyScene& operator=(const EmberlyScene&) = delete;

    const QString& programFolder() const { return programFolder_; }
    QString debugFile() const;

    // ---- start-up, in this order ----------------------------------------
    void createEngine();
    // Log, windowed rendering into `windowId`, search folder, cursor and
    // texture filter. False when the view cannot be started.
    bool start(std::uintptr_t windowId);
    void createInput();
    // Scene, cameras, the 19 textures, the "Mountains" sky box, pole and floor.
    void setupScene();

    bool initialised() const;
    bool hasEngine() const { return engine_ != nullptr; }

    // ---- the frame --------------------------------------------------------
    // Escape (scan code 1) is down.
    bool escapeDown();
    // Clear, sky box, pole, floor.
    void beginFrame();
    void present();
    // The orbit camera: mouse inside the view, auto-rotation, wheel, the
    // 300-unit pull-back and the 2-unit floor.
    void updateCamera(bool autoRotate);
    void resize();

    // ---- content ----------------------------------------------------------
    // The sky box faces: false "Mountains", true "Grid".
    void setSkyBox(bool grid);
    int textureId(const QString& name) const;
    QString textureName(int id) const;
    // Replaces "Custom" by the file, with its own size and `colourKey`
    // (-1 none); returns the new id.
    int loadCustomTexture(const QString& file, std::int64_t colourKey);
    std::unique_ptr<ParticleSystemPort> createParticleSystem() const;
    static std::int32_t tickCount();

    // One line in the engine's debug log.
    void log(const QString& line);

    // Releases the engine objects: pole and floor, texture factory, input,
    // atmosphere, view camera, scene, engine. Safe to call twice.
    void release();
    bool released() const { return !engine_; }

    // ---- read-only views for checks -----------------------------------------
    KLEngine* engine() const { return engine_.get(); }
    const KLMesh& pole() const { return pole_; }
    const KLMesh& floorMesh() const { return floor_; }
    KLAtmosphere* atmosphere() const { return atmosphere_.get(); }
    KLCamera* camera() const { return viewCamera_.get(); }

private:
    void loadTextures();
    void loadMesh(KLMesh& mesh, const QString& file, const QString& texture);

    QString programFolder_;
    std::unique_ptr<KLEngine> engine_;
    std::unique_ptr<KLInputEngine> input_;
    std::unique_ptr<KLScene> scene_;
    std::unique_ptr<KLCamera> viewCamera_;
    std::unique_ptr<KLCamera> orbitCamera_;
    std::unique_ptr<KLTextureFactory> textures_;
    std::unique_ptr<KLAtmosphere> atmosphere_;
    KLMesh pole_;
    KLMesh floor_;
    int lastWheel_ = 0;
};

} // namespace emberly
