#include "ui/ClsObjects.h"

#include "core/Alignment.h"
#include "core/SceneSettings.h"
#include "ui/ClsLand.h"
#include "ui/EngineNames.h"

#include <korlith3d/KLGlobals.h>
#include <korlith3d/KLScene.h>

#include <algorithm>

namespace landlume {

ClsObjects::ClsObjects() = default;
ClsObjects::~ClsObjects() = default;

bool ClsObjects::Init_Objects(KLScene& scene, const ClsLand& land, SceneSettings& settings, const QString& fileType,
                              const PlacedObject& object)
{
    const ModelKind kind = modelKind(fileType);
    if (kind == ModelKind::None)
        return false;
    const int slot = count() + 1;
    KLMesh mesh = scene.CreateMesh(QString());
    // A model that fails to load takes no slot: the store stays as it was.
    if (kind == ModelKind::X)
        mesh.LoadX(object.fileName, true, true);
    else
        mesh.Load3DS(object.fileName, true, true, false, true, true);
    settings.objectCount = float(slot);
    meshes_.push_back(mesh);
    if (int(records_.size()) <= slot)
        records_.resize(std::size_t(slot) + 1);

    mesh.SetName(objectName(slot));
    const D3DVECTOR& p = object.meshPosition;
    if (object.onLand)
        mesh.SetPosition(p.x, land.height(p.x, p.z), p.z);
    else
        mesh.SetPosition(p.x, p.y, p.z);
    mesh.SetRotation(object.meshRotation.x, object.meshRotation.y, object.meshRotation.z);
    mesh.SetScale(object.meshScale.x, object.meshScale.y, object.meshScale.z);
    mesh.SetMaterial(KLGlobals().GetMat(kLandMaterial), -1);
    mesh.SetLighting(true);

    PlacedObject& record = records_[std::size_t(slot)];
    record = object;
    record.objectName = objectName(slot);
    settings.selectedObject = float(slot);
    return true;
}

void ClsObjects::Render_Objects(const ClsLand& land, const SceneSettings& settings)
{
    const int last = std::min(slotIndex(settings.objectCount), count());
    for (int i = 1; i <= last; ++i) {
        if (records_[std::size_t(i)].aligned) {
            float lag = 0.0f;
            Align_Object(meshes_[std::size_t(i)], land, lag);
        }
        meshes_[std::size_t(i)].Render();
    }
}

void ClsObjects::Kill_Objects() { meshes_.resize(1); }

bool ClsObjects::Align_Object(KLMesh& mesh, const ClsLand& land, float& lag)
{
    const D3DVECTOR p = mesh.GetPosition();
    D3DMATRIX m = mesh.GetRotationMatrix();
    if (!alignStep(m, land.normal(p.x, p.z), lag))
        return false;
    mesh.SetRotationMatrix(m);
    return true;
}

void ClsObjects::Init_LightSpot(KLScene& scene, const ClsLand& land, const SceneSettings& settings)
{
    spot_ = scene.CreateMesh(QString());
    spot_.LoadX(QStringLiteral("Models\\spot.x"), true, true);
    const D3DVECTOR& c = settings.landCentre;
    spot_.SetPosition(c.x, land.height(c.x, c.z) + kMarkerHeight, c.z);
    spot_.SetColor(1.0f, 0.0f, 0.0f, 1.0f, -1);
    spot_.SetLighting(true);
    Update_LightSpot(land, settings);
}

void ClsObjects::Update_LightSpot(const ClsLand& land, const SceneSettings& settings)
{
    spotMatrix_ = markerRotation(settings.lightDirection);
    const D3DVECTOR& c = settings.landCentre;
    spot_.SetPosition(c.x, land.height(c.x, c.z) + kMarkerHeight, c.z);
    spot_.SetRotationMatrix(spotMatrix_);
}

void ClsObjects::Render_LightSpot() { spot_.Render(); }

void ClsObjects::Kill_LightSpot() { spot_ = KLMesh(); }

void ClsObjects::clear(SceneSettings& settings)
{
    settings.objectCount = 0.0f;
    meshes_.resize(1);
}

} // namespace landlume
