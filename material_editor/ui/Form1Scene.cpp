// Start-up of the engine and the preview scene, and the preview meshes from
// the objects list.
#include "ui/Form1.h"
#include "ui/PreviewScene.h"

#include "core/EditingRules.h"
#include "core/MaterialSettings.h"
#include "core/ObjectsList.h"

#include <QRadioButton>

#include <platform/RuntimeError.h>
#include <platform/TextRules.h>

namespace glazery {

bool Form1::startEngine()
{
    PreviewScene& s = *scene_;
    try {
        // 4.-7. Engine objects, the engine in the preview, scene and input; a
        // window that cannot be rendered into ends the program.
        if (!s.start(static_cast<std::uintptr_t>(picture1_->winId())))
            return false;

        // 8. The test light "Lys".
        testLight_ = initialTestLight();
        testLight_.Theta = PreviewScene::toRadians(static_cast<float>(platform::val(tTheta_->text())));
        testLight_.Phi = PreviewScene::toRadians(static_cast<float>(platform::val(tPhi_->text())));
        s.createTestLight(testLight_);

        // 9. The edited material and the background's white material.
        s.createMaterials();

        // 10. Code names start as "My_Mat", "My_matfact", "My_Light", "My_D3DLight8".
        codeNames_ = CodeNames{};

        // 11.-12. Sliders follow the boxes; the four groups reach the engine.
        slidersFromTexts();
        applyAmbient();
        applyDiffuse();
        applyEmissive();
        applySpecular();

        // 13. Textures.
        s.loadStartTextures();

        // 14. Background wall (kept hidden) and the 2D background picture.
        s.createBackground();
    } catch (const SceneError& error) {
        dialogs::message(platform::uncaughtErrorMessage(error), dialogs::Icon::Critical, windowTitle());
        return false;
    }

    // 15. Preview meshes.
    loadMeshes();
    // 16.-17. No drag yet; the default material.
    viewDragActive_ = false;
    menuNew();
    // 18. The window shows, the preview holding the keyboard focus.
    show();
    picture1_->setFocus(Qt::OtherFocusReason);
    return true;
}

void Form1::loadMeshes()
{
    const ObjectsListReadResult list = readObjectsList(scene_->programFile(kObjectsListFileName));
    if (!list.error.isEmpty())
        dialogs::message(list.error + tr("\n\nGlazery starts with the default objects."),
                         dialogs::Icon::Exclamation, windowTitle());
    for (int i = 0; i < kPreviewSlotCount; ++i) {
        setObjectChoosable(i, i < list.objects.size());
        if (i < list.objects.size())
            setObjectCaption(i, list.objects[i].description);
    }
    const QStringList failures = scene_->loadObjects(list.objects);
    scene_->centreObject();
    if (!failures.isEmpty())
        dialogs::message(objectsLoadFailureMessage(failures), dialogs::Icon::Exclamation, windowTitle());
}

} // namespace glazery
