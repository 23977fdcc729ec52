// Material files: New, Load, Save and the light panel's Default.
#include "ui/Form1.h"
#include "ui/PreviewScene.h"

#include "core/MaterialFile.h"

#include <QCheckBox>
#include <QComboBox>
#include <QRadioButton>
#include <QSlider>

#include <platform/RuntimeError.h>
#include <platform/TextRules.h>

namespace glazery {
namespace {

ColourTexts colourTexts(const ColourGroupControls& g)
{
    return {g.box[0]->text(), g.box[1]->text(), g.box[2]->text(), g.box[3]->text()};
}

void setColourTexts(ColourGroupControls& g, const ColourTexts& t)
{
    g.box[0]->setText(t.red);
    g.box[1]->setText(t.green);
    g.box[2]->setText(t.blue);
    g.box[3]->setText(t.alpha);
}

RgbTexts rgbTexts(const LightTrioControls& trio)
{
    return {trio.box[0]->text(), trio.box[1]->text(), trio.box[2]->text()};
}

void setRgbTexts(LightTrioControls& trio, const RgbTexts& t)
{
    trio.box[0]->setText(t.red);
    trio.box[1]->setText(t.green);
    trio.box[2]->setText(t.blue);
}

XyzTexts xyzTexts(const std::array<NumberBox*, 3>& boxes)
{
    return {boxes[0]->text(), boxes[1]->text(), boxes[2]->text()};
}

void setXyzTexts(std::array<NumberBox*, 3>& boxes, const XyzTexts& t)
{
    boxes[0]->setText(t.x);
    boxes[1]->setText(t.y);
    boxes[2]->setText(t.z);
}

} // namespace

MaterialSettings Form1::currentSettings() const
{
    MaterialSettings s;
    s.material.ambient = colourTexts(groups_[static_cast<size_t>(Group::Ambient)]);
    s.material.diffuse = colourTexts(groups_[static_cast<size_t>(Group::Diffuse)]);
    s.material.specular = colourTexts(groups_[static_cast<size_t>(Group::Specular)]);
    s.material.emissive = colourTexts(groups_[static_cast<size_t>(Group::Emissive)]);
    s.material.power = pow_->text();
    s.backgroundPath = txtBackGround_->text();
    s.texturePath = txtTexture_->text();
    s.bumpMapPath = txtBumpMap_->text();
    s.bumpMappingOff = option3_->isChecked();
    s.sphereMapping = check2_->isChecked();
    s.lightOn = option5_->isChecked();
    s.shownObject = scene_->shownObject();
    s.light.typeRow = cboTypeOfLight_->currentIndex();
    s.light.position = xyzTexts(position_);
    s.light.direction = xyzTexts(direction_);
    s.light.ambient = rgbTexts(lightTrios_[0]);
    s.light.diffuse = rgbTexts(lightTrios_[1]);
    s.light.specular = rgbTexts(lightTrios_[2]);
    s.light.range = lRange_->text();
    s.light.phi = tPhi_->text();
    s.light.theta = tTheta_->text();
    return s;
}

void Form1::menuNew()
{
    loadMaterialFile(defaultMaterialPath());
}

void Form1::menuLoad()
{
    const std::optional<QString> path = dialogs::openFile(kOpenMaterialTitle, kMaterialFileFilter);
    if (path)
        loadMaterialFile(*path);
}

void Form1::menuSave()
{
    const std::optional<QString> path = dialogs::saveFile(kSaveMaterialTitle, kMaterialFileFilter);
    if (path)
        saveMaterialFile(*path);
}

bool Form1::saveMaterialFile(const QString& path)
{
    const SaveResult result = writeMaterialFile(path, currentSettings());
    if (!result.ok)
        dialogs::message(kSaveFailedMessage, dialogs::Icon::None, windowTitle());
    return result.ok;
}

bool Form1::loadMaterialFile(const QString& path)
{
    const MaterialReadResult read = readMaterialFile(path);
    if (!read.settings) {
        // A file that cannot be used leaves every control as it was; say why.
        dialogs::message(read.error, dialogs::Icon::Exclamation, windowTitle());
        return false;
    }
    const MaterialSettings& m = *read.settings;
    PreviewScene& s = *scene_;
    const bool engine = s.ready();
    platform::StepByStep steps;

    // 1. Material boxes as they stand.
    setColourTexts(group(Group::Ambient), m.material.ambient);
    setColourTexts(group(Group::Diffuse), m.material.diffuse);
    setColourTexts(group(Group::Emissive), m.material.emissive);
    setColourTexts(group(Group::Specular), m.material.specular);
    pow_->setText(m.material.power);

    // 2.-3. Background and texture, or the defaults.
    const TextureChoice back = chooseTexture(m.backgroundPath, kDefaultBackFile, s.programFolder());
    txtBackGround_->setText(back.boxText);
    if (engine)
        steps.step([&] { s.loadBackTexture(back.fileToLoad); });
    const TextureChoice fabric = chooseTexture(m.texturePath, kDefaultFabricFile, s.programFolder());
    txtTexture_->setText(fabric.boxText);
    if (engine)
        steps.step([&] { s.loadFabricTexture(fabric.fileToLoad); });

    // 4. Bump map: the chosen one switches bump mapping on; otherwise the
    // default picture under a new id.
    const TextureChoice bump = chooseTexture(m.bumpMapPath, kDefaultFabricFile, s.programFolder());
    txtBumpMap_->setText(bump.boxText);
    if (!bump.usesDefault) {
        if (engine)
            steps.step([&] { s.loadBumpTexture(bump.fileToLoad); });
        steps.step([&] { setBumpMapping(true); });
    } else if (engine) {
        steps.step([&] { s.deleteBumpTexture(); });
        steps.step([&] { s.loadBumpTexture(bump.fileToLoad); });
    }

    // 5.-6. Bump and sphere mapping switches.
    steps.step([&] { setBumpMapping(!m.bumpMappingOff); });
    steps.step([&] { setSphereMapping(m.sphereMapping); });

    // 7.-13. The light part.
    applyLightPart(m, steps);

    // 14. Sliders follow the boxes; the four groups reach the engine.
    steps.step([&] { slidersFromTexts(); });
    steps.step([&] { applyAmbient(); });
    steps.step([&] { applyDiffuse(); });
    steps.step([&] { applyEmissive(); });
    steps.step([&] { applySpecular(); });
    return true;
}

void Form1::applyLightPart(const MaterialSettings& m, platform::StepByStep& steps)
{
    // 7. Direction boxes.
    setXyzTexts(direction_, m.light.direction);
    // 8. Light on or off.
    steps.step([&] { setLightOn(m.lightOn); });
    // 9. The object on show.
    steps.step([&] { showObject(m.shownObject); });
    // 10. Position, light colours, range and spot angles.
    setXyzTexts(position_, m.light.position);
    setRgbTexts(lightTrios_[0], m.light.ambient);
    setRgbTexts(lightTrios_[1], m.light.diffuse);
    setRgbTexts(lightTrios_[2], m.light.specular);
    lRange_->setText(m.light.range);
    tPhi_->setText(m.light.phi);
    tTheta_->setText(m.light.theta);
    // 11. Light type row (type, field enabling, light update).
    cboTypeOfLight_->setCurrentIndex(m.light.typeRow);
    lightTypeClicked();
    // 12. The whole light from the boxes.
    steps.step([&] { rebuildTestLight(); });
}

void Form1::rebuildTestLight()
{
    const MaterialSettings current = currentSettings();
    D3DLIGHT8 light = buildTestLight(current.light);
    light.Phi = PreviewScene::toRadians(platform::csng(platform::val(current.light.phi)));
    light.Theta = PreviewScene::toRadians(platform::csng(platform::val(current.light.theta)));
    testLight_ = light;
    for (size_t t = 0; t < lightTrios_.size(); ++t) {
        const RgbTexts texts = rgbTexts(lightTrios_[t]);
        const Rgb rgb = swatchColour(texts);
        lightTrios_[t].swatch->setBackColor(QColor(rgb.red, rgb.green, rgb.blue));
    }
    applyLight();
}

void Form1::loadLightSettings(const QString& path)
{
    // A missing or short file leaves the light as it is.
    const MaterialReadResult read = readLightSettings(path);
    if (!read.settings)
        return;
    platform::StepByStep steps;
    applyLightPart(*read.settings, steps);
}

} // namespace glazery
