#include "ui/ClsInput.h"

#include "core/Camera.h"
#include "core/SceneSettings.h"
#include "ui/ClsLand.h"
#include "ui/ClsObjects.h"

#include <korlith3d/KLEngine.h>
#include <korlith3d/KLInputEngine.h>
#include <korlith3d/KLScene.h>

#include <platform/RuntimeError.h>

#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace landlume {

ClsInput::ClsInput() = default;
ClsInput::~ClsInput() = default;

void ClsInput::Init_Input() { input_ = std::make_unique<KLInputEngine>(); }

void ClsInput::Check_Input(KLEngine& engine, const KLScene& scene, SceneSettings& settings,
                           const QString& screenshot, const std::function<void()>& checkCollision)
{
    if (input_->KeyDown(KLK_F12)) {
        // A screenshot that cannot be written is skipped, not fatal.
        QDir().mkpath(QFileInfo(screenshot).absolutePath());
        platform::StepByStep().step([&] { engine.SaveScreenshot(screenshot); });
    }
    int x = 0;
    int y = 0;
    input_->GetMousePosition(x, y);
    // Movement is read every frame so that switching the camera on does not
    // turn the view by what the mouse did while it was off.
    const KLMouseState mouse = input_->GetMouseState();
    if (!settings.cameraActive)
        return;
    CameraInput keys;
    keys.forward = input_->KeyDown(KLK_W);
    keys.back = input_->KeyDown(KLK_S);
    keys.left = input_->KeyDown(KLK_A);
    keys.right = input_->KeyDown(KLK_D);
    keys.raise = input_->KeyDown(KLK_PRIOR);
    keys.lower = input_->KeyDown(KLK_NEXT);
    keys.mouseDx = mouse.dx;
    keys.mouseDy = mouse.dy;
    if (mouse.button1) {
        pick_ = scene.MousePick(x, y, KL_COLLIDE_MESHES, 1);
        if (!buttonWasDown_)
            checkCollision();
        buttonWasDown_ = true;
    } else {
        buttonWasDown_ = false;
    }
    applyCameraInput(settings.camera, keys);
}

void ClsInput::Check_Movement(KLEngine& engine, const ClsLand& land, SceneSettings& settings)
{
    checkMovement(
        settings.camera, [&] { return engine.GetFrameTime(); },
        [&](float x, float z) { return land.height(x, z); });
}

int ClsInput::Check_Collision(const ClsObjects& objects, const SceneSettings& settings) const
{
    if (!pick_.Hit)
        return -1;
    int selected = -1;
    const int last = std::min(slotIndex(settings.objectCount), objects.recordSlots() - 1);
    for (int i = 0; i <= last; ++i) {
        if (pick_.MeshName == objects.record(i).objectName)
            selected = i;
    }
    return selected;
}

void ClsInput::Kill_Input() { input_.reset(); }

} // namespace landlume
