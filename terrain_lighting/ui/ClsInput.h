// Keyboard and mouse of the 3D view.
#pragma once

#include <korlith3d/types.h>

#include <QString>

#include <functional>
#include <memory>

class KLEngine;
class KLInputEngine;
class KLScene;

namespace landlume {

class ClsLand;
class ClsObjects;
struct SceneSettings;

class ClsInput {
public:
    ClsInput();
    ~ClsInput();
    void Init_Input();
    // F12 screenshot, then (camera on) keys, mouse pick once per press and mouse look.
    void Check_Input(KLEngine& engine, const KLScene& scene, SceneSettings& settings, const QString& screenshot,
                     const std::function<void()>& checkCollision);
    void Check_Movement(KLEngine& engine, const ClsLand& land, SceneSettings& settings);
    // The slot whose object name matches the kept pick, if it hit; -1 otherwise.
    int Check_Collision(const ClsObjects& objects, const SceneSettings& settings) const;
    void Kill_Input();
    bool alive() const { return bool(input_); }

private:
    std::unique_ptr<KLInputEngine> input_;
    bool buttonWasDown_ = false;
    KLCollisionResult pick_;
};

} // namespace landlume
