// The material and light editing controls: every edit goes to the engine at
// once through the apply operations.
#include "ui/Form1.h"
#include "ui/PreviewScene.h"

#include "core/EditingRules.h"
#include "core/MaterialFile.h"

#include <QCheckBox>
#include <QComboBox>
#include <QRadioButton>
#include <QSlider>

#include <platform/RuntimeError.h>
#include <platform/TextRules.h>

namespace glazery {

namespace {

float single(const QString& text)
{
    return platform::csng(platform::val(text));
}

D3DVECTOR vectorOf(const std::array<NumberBox*, 3>& boxes)
{
    return {single(boxes[0]->text()), single(boxes[1]->text()), single(boxes[2]->text())};
}

QColor qColour(const Rgb& rgb)
{
    return QColor(rgb.red, rgb.green, rgb.blue);
}

} // namespace

void Form1::wireEditing()
{
    for (int g = 0; g < 4; ++g) {
        const auto group = static_cast<Group>(g);
        ColourGroupControls& controls = groups_[static_cast<size_t>(g)];
        for (int k = 0; k < 4; ++k) {
            NumberBox* box = controls.box[static_cast<size_t>(k)];
            connect(box, &TextBox::lostFocus, this, [this, group, k] { materialBoxLostFocus(group, k); });
            // The alpha boxes of ambient, specular and emissive have no drag-to-adjust.
            if (k < 3 || group == Group::Diffuse) {
                box->enableDragAdjust(dragTracker_, kColourDrag);
                connect(box, &TextBox::mouseMoved, this, [this, group] { applyGroup(group); });
            }
            connect(controls.slider[static_cast<size_t>(k)], &QSlider::valueChanged, this,
                    [this, group, k](int value) { materialSliderChanged(group, k, value); });
        }
        connect(controls.swatch, &PictureBox::clicked, this, [this, group] { materialSwatchClicked(group); });
    }
    connect(pow_, &TextBox::lostFocus, this, &Form1::powerBoxLostFocus);
    pow_->enableDragAdjust(dragTracker_, kColourDrag);
    connect(pow_, &TextBox::mouseMoved, this, [this] { applySpecular(); });
    connect(vPow_, &QSlider::valueChanged, this, [this](int value) {
        pow_->setText(QString::number(value));
        applySpecular();
    });

    for (int t = 0; t < 3; ++t) {
        for (NumberBox* box : lightTrios_[static_cast<size_t>(t)].box) {
            box->enableDragAdjust(dragTracker_, kColourDrag);
            connect(box, &TextBox::mouseMoved, this, [this, t] { updateLightColour(t); });
        }
        connect(lightTrios_[static_cast<size_t>(t)].swatch, &PictureBox::clicked, this,
                [this, t] { lightSwatchClicked(t); });
    }

    for (size_t k = 0; k < 3; ++k) {
        position_[k]->enableDragAdjust(dragTracker_, kPositionDrag);
        connect(position_[k], &TextBox::mouseMoved, this, [this] {
            testLight_.Position = vectorOf(position_);
            applyLight();
        });
        direction_[k]->enableDragAdjust(dragTracker_, kDirectionDrag);
        connect(direction_[k], &TextBox::mouseMoved, this, [this] {
            testLight_.Direction = vectorOf(direction_);
            applyLight();
        });
        connect(directionSlider_[k], &QSlider::valueChanged, this, [this, k](int value) {
            direction_[k]->setText(directionTextFromSlider(value));
            testLight_.Direction = vectorOf(direction_);
            if (scene_->ready())
                platform::StepByStep().step([&] { scene_->setLightDirection(testLight_.Direction); });
        });
    }
    lRange_->enableDragAdjust(dragTracker_, kRangeDrag);
    connect(lRange_, &TextBox::mouseMoved, this, [this] {
        testLight_.Range = single(lRange_->text());
        applyLight();
    });
    tPhi_->enableDragAdjust(dragTracker_, kPhiDrag);
    connect(tPhi_, &TextBox::mouseMoved, this, [this] {
        if (tPhi_->lastMoveDragged())
            tTheta_->setText(thetaAfterPhiChange(tPhi_->text(), tTheta_->text()));
        testLight_.Phi = PreviewScene::toRadians(single(tPhi_->text()));
        applyLight();
    });
    tTheta_->enableDragAdjust(dragTracker_, [this] { return thetaDragLimits(tPhi_->text()); });
    connect(tTheta_, &TextBox::mouseMoved, this, [this] {
        testLight_.Theta = PreviewScene::toRadians(single(tTheta_->text()));
        applyLight();
    });
    connect(cboTypeOfLight_, &QComboBox::activated, this, [this] { lightTypeClicked(); });
    connect(option5_, &QRadioButton::clicked, this, [this] { setLightOn(true); });
    connect(option6_, &QRadioButton::clicked, this, [this] { setLightOn(false); });
}

void Form1::applyGroup(Group g)
{
    const ColourGroupControls& controls = group(g);
    const ColourTexts texts{controls.box[0]->text(), controls.box[1]->text(), controls.box[2]->text(),
                            controls.box[3]->text()};
    controls.swatch->setBackColor(qColour(swatchColour(texts)));
    scene_->setMaterialGroup(g, {previewComponent(texts.red), previewComponent(texts.green),
                                 previewComponent(texts.blue), previewComponent(texts.alpha)});
    if (g == Group::Specular)
        scene_->setMaterialPower(single(pow_->text()));
}

void Form1::applyLight()
{
    scene_->setLight(testLight_);
}

void Form1::materialBoxLostFocus(Group g, int component)
{
    TextBox* box = group(g).box.at(static_cast<size_t>(component));
    const int value = materialBoxValue(box->text());
    box->setText(QString::number(value));
    group(g).slider.at(static_cast<size_t>(component))->setValue(value);
    applyGroup(g);
}

void Form1::powerBoxLostFocus()
{
    const int value = materialBoxValue(pow_->text());
    pow_->setText(QString::number(value));
    vPow_->setValue(value);
    applySpecular();
}

void Form1::materialSliderChanged(Group g, int component, int value)
{
    group(g).box.at(static_cast<size_t>(component))->setText(QString::number(value));
    applyGroup(g);
}

void Form1::materialSwatchClicked(Group g)
{
    ColourGroupControls& controls = group(g);
    const std::optional<QColor> chosen = toolkit::chooseSwatchColour(*controls.swatch, controls.box);
    if (!chosen)
        return;
    controls.swatch->setBackColor(*chosen);
    applyGroup(g);
}

void Form1::updateLightColour(int trio)
{
    const LightTrioControls& controls = lightTrios_.at(static_cast<size_t>(trio));
    const RgbTexts texts{controls.box[0]->text(), controls.box[1]->text(), controls.box[2]->text()};
    const D3DCOLORVALUE colour = lightColour(texts);
    switch (trio) {
    case 0: testLight_.Ambient = colour; break;
    case 1: testLight_.Diffuse = colour; break;
    default: testLight_.Specular = colour; break;
    }
    applyLight();
    controls.swatch->setBackColor(qColour(swatchColour(texts)));
}

void Form1::lightSwatchClicked(int trio)
{
    LightTrioControls& controls = lightTrios_.at(static_cast<size_t>(trio));
    const std::optional<QColor> chosen = toolkit::chooseSwatchColour(*controls.swatch, controls.box);
    if (!chosen)
        return;
    updateLightColour(trio);
    controls.swatch->setBackColor(*chosen);
}

void Form1::lightTypeClicked()
{
    // Every statement runs even when one fails.
    platform::StepByStep steps;
    steps.step([&] { testLight_.Type = cboTypeOfLight_->currentData().toInt(); });
    steps.step([&] { applyLight(); });
    const LightFieldsEnabled on = lightFieldsEnabled(cboTypeOfLight_->currentIndex());
    for (TextBox* box : position_)
        box->setEnabled(on.position);
    tTheta_->setEnabled(on.spotAngles);
    tPhi_->setEnabled(on.spotAngles);
    for (TextBox* box : direction_)
        box->setEnabled(on.direction);
    lRange_->setEnabled(on.range);
}

void Form1::setLightOn(bool on)
{
    (on ? option5_ : option6_)->setChecked(true);
    scene_->enableLight(on);
}

void Form1::setBumpMapping(bool on)
{
    (on ? option4_ : option3_)->setChecked(true);
    scene_->setBumpMapping(on);
}

void Form1::setSphereMapping(bool on)
{
    check2_->setChecked(on);
    scene_->setSphereMapping(on);
}

void Form1::showObject(int index)
{
    if (index < 0 || index >= ObjectCount)
        return;
    optObjects_[static_cast<size_t>(index)]->setChecked(true);
    scene_->showObject(index);
}

void Form1::slidersFromTexts()
{
    for (ColourGroupControls& g : groups_)
        for (size_t k = 0; k < 4; ++k)
            g.slider[k]->setValue(materialBoxValue(g.box[k]->text()));
    vPow_->setValue(materialBoxValue(pow_->text()));
}

void Form1::pickTexture(int which)
{
    const std::optional<QString> path = dialogs::openFile(kPictureDialogTitles.at(static_cast<size_t>(which)),
                                                          kPictureFileFilters.at(static_cast<size_t>(which)));
    if (!path || !scene_->ready())
        return;
    PreviewScene& s = *scene_;
    // The box shows the file only once the engine has taken it.
    try {
        switch (which) {
        case 0:
            s.loadBackTexture(*path);
            s.setBackgroundPicture(*path);
            txtBackGround_->setText(*path);
            break;
        case 1:
            s.loadFabricTexture(*path);
            txtTexture_->setText(*path);
            break;
        default:
            s.loadBumpTexture(*path);
            txtBumpMap_->setText(*path);
            setBumpMapping(true);
            break;
        }
    } catch (const SceneError& error) {
        dialogs::message(error.description, dialogs::Icon::Exclamation, windowTitle());
    }
}

void Form1::clearTexture(int which)
{
    PreviewScene& s = *scene_;
    platform::StepByStep steps;
    switch (which) {
    case 0:
        txtBackGround_->setText(kNoFileText);
        if (s.ready()) {
            steps.step([&] { s.loadBackTexture(s.programFile(kDefaultBackFile)); });
            steps.step([&] { s.setBackgroundPicture(kNoFileText); });
        }
        break;
    case 1:
        txtTexture_->setText(kNoFileText);
        if (s.ready())
            steps.step([&] { s.loadFabricTexture(s.programFile(kDefaultFabricFile)); });
        break;
    default:
        txtBumpMap_->setText(kNoFileText);
        // Bump mapping goes off before its texture goes away, so no mesh refers
        // to a deleted texture.
        steps.step([&] { setBumpMapping(false); });
        if (s.ready())
            steps.step([&] { s.deleteBumpTexture(); });
        break;
    }
}

} // namespace glazery
