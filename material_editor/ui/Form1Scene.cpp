// Start-up of the engine and the preview scene, the preview meshes from the
// objects list, and the per-frame object motion.
#include "ui/Form1.h"
#include "ui/PreviewScene.h"

#include "core/EditingRules.h"
#include "core/MaterialSettings.h"
#include "core/ObjectsList.h"

#include <korlith3d/KLGlobals.h>
#include <korlith3d/KLMath.h>

#include <QAction>
#include <QComboBox>
#include <QRadioButton>

#include <platform/TextRules.h>

namespace glazery {

namespace {

QString runtimeErrorText(const KLError& error)
{
    return QStringLiteral("Run-time error '%1':\n\n%2").arg(error.Number()).arg(error.Description());
}

} // namespace

bool Form1::startEngine()
{
    PreviewScene& s = *scene_;
    try {
        // 4. Engine objects.
        s.engine = std::make_unique<KLEngine>();
        s.lights = std::make_unique<KLLightEngine>();
        s.materials = std::make_unique<KLMaterialFactory>();
        s.textures = std::make_unique<KLTextureFactory>();
        s.screen2D = std::make_unique<KLScreen2D>();

        // 5. Engine set-up; a window that cannot be rendered into ends the program.
        s.engine->PreInit(-1, -1, 0);
        s.engine->SetDebugFile(s.programFile("debugfile.txt"));
        s.engine->SetTextureFilter(1);
        s.engine->SetVerticalSync(true);
        if (!s.engine->Init3DWindowedMode(static_cast<std::uintptr_t>(picture1_->winId()), true))
            return false;
        s.engine->ShowMouseCursor(true);
        s.engine->SetSearchFolder(s.programFolder());

        // 6. Scene and camera.
        s.scene = std::make_unique<KLScene>();
        s.scene->SetCamera(0, 50, -30, 0, 50, 0);
        s.scene->SetShadeMode(2);
        s.scene->SetFieldOfView(50.0f);
        s.scene->SetCullMode(2);
        s.scene->SetLighting(true);

        // 7. Input.
        s.input = std::make_unique<KLInputEngine>();
        s.initialised = true;

        // 8. The test light "Lys".
        testLight_ = initialTestLight();
        const KLMath math;
        testLight_.Theta = math.Deg2Rad(static_cast<float>(platform::val(tTheta_->text())));
        testLight_.Phi = math.Deg2Rad(static_cast<float>(platform::val(tPhi_->text())));
        s.lightIndex = s.lights->CreateLight(testLight_, "Lys", false);

        // 9. The edited material and the background's white material.
        s.materialId = s.materials->CreateMaterial("Mat1");
        s.backgroundMaterialId = s.materials->CreateMaterial("BgMat");
        s.materials->SetAmbient(s.backgroundMaterialId, 1, 1, 1, 1);
        s.materials->SetDiffuse(s.backgroundMaterialId, 1, 1, 1, 1);
        s.materials->SetEmissive(s.backgroundMaterialId, 1, 1, 1, 1);

        // 10. Code names start as "My_Mat", "My_matfact", "My_Light", "My_D3DLight8".
        codeNames_ = CodeNames{};

        // 11.-12. Sliders follow the boxes; the four groups reach the engine.
        slidersFromTexts();
        applyAmbient();
        applyDiffuse();
        applyEmissive();
        applySpecular();

        // 13. Textures.
        const QString fabric = s.programFile(kDefaultFabricFile);
        const QString back = s.programFile(kDefaultBackFile);
        s.textures->LoadTexture(fabric, "Fabric");
        s.textures->LoadTexture(back, "Back");
        s.bumpTextureId = s.textures->LoadBumpTexture(fabric, "Bump", -1, 1);
        s.textures->SetMipMapping();

        // 14. Background wall (kept hidden) and the 2D background picture.
        s.background = s.scene->CreateMesh("Backg");
        s.background.AddWall(KLGlobals().GetTex("Back"), -200, 50, 200, 50, 400, 0, 8, 8, true, false);
        s.background.SetPosition(0, -80, 0);
        s.background.SetVisible(false);
        s.background.SetMaterial(s.backgroundMaterialId);
        s.screen2D->SetBackgroundPicture(back, -1);
    } catch (const KLError& error) {
        dialogs::message(runtimeErrorText(error), dialogs::Icon::Critical, windowTitle());
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
    PreviewScene& s = *scene_;
    const QString listPath = s.programFile(kObjectsListFileName);
    const ObjectsListReadResult list = readObjectsList(listPath);
    if (!list.error.isEmpty())
        dialogs::message(list.error + tr("\n\nGlazery starts with the default objects."),
                         dialogs::Icon::Exclamation, windowTitle());

    QStringList failures;
    for (int i = 0; i < kPreviewSlotCount; ++i) {
        const auto slot = static_cast<size_t>(i);
        optObjects_[slot]->setEnabled(i < list.objects.size());
        if (i >= list.objects.size())
            continue;
        const PreviewObject& object = list.objects[i];
        try {
            s.previewMeshes[slot] = s.scene->CreateMesh(object.description);
            setObjectCaption(i, object.description);
            s.loadModel(i, resolveModelPath(object.fileName, s.programFolder()));
            s.previewMeshes[slot].SetCullMode(1);
            s.prepareMesh(i, object.scale);
            if (i > 0)
                s.previewMeshes[slot].SetVisible(false);
        } catch (const KLError& error) {
            failures << error.Description();
            if (!s.previewMeshes[slot].IsNull())
                s.previewMeshes[slot].SetVisible(i == 0);
        }
    }
    s.motion.position = {0, 50, 0};
    if (!failures.isEmpty())
        dialogs::message(objectsLoadFailureMessage(failures),
                         dialogs::Icon::Exclamation, windowTitle());
}

void Form1::updateObjectMotion()
{
    PreviewScene& s = *scene_;
    const KLMouseState m = s.input->GetMouseState();
    MouseState mouse;
    mouse.dx = static_cast<float>(m.dx);
    mouse.dy = static_cast<float>(m.dy);
    mouse.button1 = m.button1;
    mouse.button2 = m.button2;
    mouse.button3 = m.button3;
    mouse.wheel = static_cast<float>(m.wheel);
    UpdateObjectMotion(s.motion, mouse, s.engine->GetFrameTime(), viewDragActive_,
                       mnuAutoSpin_->isChecked());
    KLMesh& mesh = s.previewMeshes.at(static_cast<size_t>(s.shownObject));
    if (mesh.IsNull())
        return;
    mesh.SetPosition(s.motion.position.x, s.motion.position.y, s.motion.position.z);
    mesh.SetRotation(s.motion.rotation.x, s.motion.rotation.y, s.motion.rotation.z);
}

} // namespace glazery
