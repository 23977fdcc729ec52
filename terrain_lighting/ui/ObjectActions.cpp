#include "ui/ObjectActions.h"

#include "ui/FileDialogs.h"
#include "ui/MDIMain.h"
#include "ui/SettingsBoxes.h"

#include <platform/RuntimeError.h>

namespace landlume {

ObjectActions::ObjectActions(MDIMain& frame) : frame_(frame) {}

void ObjectActions::loadObject()
{
    const std::optional<QString> path = chooseFileToOpen(
        QStringLiteral("Load object:"), QStringLiteral("X files(*.x)|*.x|3DS files(*.3ds)|*.3ds"), QString());
    if (!path)
        return;
    PlacedObject object;
    object.fileName = *path;
    platform::StepByStep steps;
    steps.step([&] { frame_.engine().placeObject(objectFileType(*path), object); });
}

void ObjectActions::applyObject()
{
    MdEngine& engine = frame_.engine();
    if (engine.selectedSlot() == 0)
        return;
    const ObjectPanel* panel = frame_.objectPanel();
    PlacedObject object;
    object.aligned = panel->align->isChecked();
    object.onLand = panel->placeOnLand->isChecked();
    const std::optional<D3DVECTOR> position = boxVector(panel->position, QStringLiteral("Object position"));
    if (!position)
        return;
    const std::optional<D3DVECTOR> rotation = boxVector(panel->rotation, QStringLiteral("Object rotation"));
    if (!rotation)
        return;
    const std::optional<D3DVECTOR> scale = boxVector(panel->scale, QStringLiteral("Object scale"));
    if (!scale)
        return;
    object.meshPosition = *position;
    object.meshRotation = *rotation;
    object.meshScale = *scale;
    engine.applyObject(object);
}

void ObjectActions::applyLight()
{
    const std::optional<D3DVECTOR> direction =
        boxVector(frame_.objectPanel()->lightDir, QStringLiteral("Light direction"));
    if (direction)
        frame_.engine().changeLight(*direction);
}

} // namespace landlume
