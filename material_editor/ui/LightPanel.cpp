#include "ui/LightPanel.h"
#include "ui/ColourGroupEditor.h"
#include "ui/PanelControls.h"
#include "ui/PreviewScene.h"

#include "core/EditingRules.h"

#include <QComboBox>
#include <QPushButton>
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

XyzTexts xyzTexts(const std::array<NumberBox*, 3>& boxes)
{
    return {boxes[0]->text(), boxes[1]->text(), boxes[2]->text()};
}

void setXyzTexts(const std::array<NumberBox*, 3>& boxes, const XyzTexts& texts)
{
    boxes[0]->setText(texts.x);
    boxes[1]->setText(texts.y);
    boxes[2]->setText(texts.z);
}

D3DVECTOR vectorOf(const std::array<NumberBox*, 3>& boxes)
{
    return {single(boxes[0]->text()), single(boxes[1]->text()), single(boxes[2]->text())};
}

const std::array<const char*, 3> kAxes = {"X", "Y", "Z"};

} // namespace

LightPanel::LightPanel(QWidget* panel, PreviewScene& scene, DragTracker& tracker)
    : QObject(panel)
    , scene_(scene)
{
    buildTypeAndSwitch(panel);
    buildGeometryBoxes(panel);
    buildColourTrios(panel, tracker);
    auto* defaults = controls::button(panel, "Command8", tr("Default"), QRect(148, 360, 80, 22));
    connect(defaults, &QPushButton::clicked, this, &LightPanel::defaultRequested);
    wire(tracker);
}

void LightPanel::buildTypeAndSwitch(QWidget* panel)
{
    controls::label(panel, tr("Type of light:"), 8, 26);
    typeOfLight_ = new QComboBox(panel);
    typeOfLight_->setObjectName("cboTypeOfLight");
    typeOfLight_->setGeometry(96, 22, 132, 22);

    controls::label(panel, tr("Light:"), 8, 50);
    lightOnOption_ = controls::option(panel, "Option5", tr("On"), 96, 49, 50);
    lightOffOption_ = controls::option(panel, "Option6", tr("Off"), 150, 49, 50);
    lightOnOption_->setChecked(true);
}

void LightPanel::buildGeometryBoxes(QWidget* panel)
{
    const LightTexts start;
    const XyzTexts& startPosition = start.position;
    const std::array<QString, 3> positionTexts = {startPosition.x, startPosition.y, startPosition.z};
    const std::array<QString, 3> directionTexts = {start.direction.x, start.direction.y, start.direction.z};
    controls::label(panel, tr("Position of light:"), 8, 72);
    for (size_t k = 0; k < 3; ++k)
        position_[k] = controls::numberBox(panel, QStringLiteral("p") + kAxes[k], positionTexts[k],
                                           8 + static_cast<int>(k) * 74, 88, 70);
    controls::label(panel, tr("Direction of directional light:"), 8, 112);
    for (size_t k = 0; k < 3; ++k) {
        const int x = 8 + static_cast<int>(k) * 74;
        direction_[k] = controls::numberBox(panel, QStringLiteral("t") + kAxes[k], directionTexts[k], x, 128, 70);
        directionSlider_[k] = controls::slider(panel, QStringLiteral("vs") + kAxes[k], Qt::Horizontal,
                                               kDirectionSliderMax, QRect(x, 150, 70, 18));
        directionSlider_[k]->setValue(directionSliderFromText(directionTexts[k]));
    }
    controls::label(panel, tr("Spotlight angles:"), 8, 172);
    controls::label(panel, tr("Theta"), 8, 192);
    theta_ = controls::numberBox(panel, "tTheta", start.theta, 48, 190, 50);
    controls::label(panel, tr("Phi"), 112, 192);
    phi_ = controls::numberBox(panel, "tPhi", start.phi, 140, 190, 50);
    controls::label(panel, tr("Range"), 8, 216);
    range_ = controls::numberBox(panel, "lRange", start.range, 48, 214, 70);
}

void LightPanel::buildColourTrios(QWidget* panel, DragTracker& tracker)
{
    struct Trio {
        const char* caption;
        const char* prefix;
        const char* swatchName;
        const RgbTexts& start;
    };
    const LightTexts start;
    const std::array<Trio, 3> trios = {{{"Light Ambient color:", "la", "picLightAmb", start.ambient},
                                        {"Light Diffuse color:", "ld", "picLightDif", start.diffuse},
                                        {"Light Specular color:", "ls", "picLightSpq", start.specular}}};
    for (size_t t = 0; t < trios.size(); ++t) {
        trios_[t] = ColourGroupEditor::lightTrio(panel, tr(trios[t].caption), trios[t].prefix, trios[t].swatchName,
                                                 trios[t].start.red.toInt(), 238 + static_cast<int>(t) * 40,
                                                 tracker);
        connect(trios_[t], &ColourGroupEditor::edited, this, [this, t] { updateLightColour(t); });
    }
}

void LightPanel::wire(DragTracker& tracker)
{
    for (size_t k = 0; k < 3; ++k) {
        position_[k]->enableDragAdjust(tracker, kPositionDrag);
        connect(position_[k], &TextBox::mouseMoved, this, [this] {
            testLight_.Position = vectorOf(position_);
            applyLight();
        });
        direction_[k]->enableDragAdjust(tracker, kDirectionDrag);
        connect(direction_[k], &TextBox::mouseMoved, this, [this] {
            testLight_.Direction = vectorOf(direction_);
            applyLight();
        });
        connect(directionSlider_[k], &QSlider::valueChanged, this, [this, k](int value) {
            direction_[k]->setText(directionTextFromSlider(value));
            testLight_.Direction = vectorOf(direction_);
            if (scene_.ready())
                platform::StepByStep().step([&] { scene_.setLightDirection(testLight_.Direction); });
        });
    }
    range_->enableDragAdjust(tracker, kRangeDrag);
    connect(range_, &TextBox::mouseMoved, this, [this] {
        testLight_.Range = single(range_->text());
        applyLight();
    });
    phi_->enableDragAdjust(tracker, kPhiDrag);
    connect(phi_, &TextBox::mouseMoved, this, [this] {
        if (phi_->lastMoveDragged())
            theta_->setText(thetaAfterPhiChange(phi_->text(), theta_->text()));
        testLight_.Phi = PreviewScene::toRadians(single(phi_->text()));
        applyLight();
    });
    theta_->enableDragAdjust(tracker, [this] { return thetaDragLimits(phi_->text()); });
    connect(theta_, &TextBox::mouseMoved, this, [this] {
        testLight_.Theta = PreviewScene::toRadians(single(theta_->text()));
        applyLight();
    });
    connect(typeOfLight_, &QComboBox::activated, this, [this] { lightTypeClicked(); });
    connect(lightOnOption_, &QRadioButton::clicked, this, [this] { setLightOn(true); });
    connect(lightOffOption_, &QRadioButton::clicked, this, [this] { setLightOn(false); });
}

void LightPanel::fillLightTypes()
{
    typeOfLight_->clear();
    for (int row = 0; row < kLightTypeRowCount; ++row)
        typeOfLight_->addItem(kLightTypeCaptions[static_cast<size_t>(row)], lightTypeForRow(row));
    typeOfLight_->setCurrentIndex(0);
    lightTypeClicked();
}

void LightPanel::createTestLight()
{
    testLight_ = initialTestLight();
    testLight_.Theta = PreviewScene::toRadians(static_cast<float>(platform::val(theta_->text())));
    testLight_.Phi = PreviewScene::toRadians(static_cast<float>(platform::val(phi_->text())));
    scene_.createTestLight(testLight_);
}

LightTexts LightPanel::texts() const
{
    LightTexts texts;
    texts.typeRow = typeOfLight_->currentIndex();
    texts.position = xyzTexts(position_);
    texts.direction = xyzTexts(direction_);
    texts.ambient = trios_[0]->rgbTexts();
    texts.diffuse = trios_[1]->rgbTexts();
    texts.specular = trios_[2]->rgbTexts();
    texts.range = range_->text();
    texts.phi = phi_->text();
    texts.theta = theta_->text();
    return texts;
}

bool LightPanel::lightOn() const
{
    return lightOnOption_->isChecked();
}

void LightPanel::setTexts(const LightTexts& texts)
{
    setXyzTexts(direction_, texts.direction);
    setXyzTexts(position_, texts.position);
    trios_[0]->setTexts(texts.ambient);
    trios_[1]->setTexts(texts.diffuse);
    trios_[2]->setTexts(texts.specular);
    range_->setText(texts.range);
    phi_->setText(texts.phi);
    theta_->setText(texts.theta);
    typeOfLight_->setCurrentIndex(texts.typeRow);
    lightTypeClicked();
}

void LightPanel::setLightOn(bool on)
{
    (on ? lightOnOption_ : lightOffOption_)->setChecked(true);
    scene_.enableLight(on);
}

void LightPanel::rebuildTestLight()
{
    const LightTexts current = texts();
    D3DLIGHT8 light = buildTestLight(current);
    light.Phi = PreviewScene::toRadians(platform::csng(platform::val(current.phi)));
    light.Theta = PreviewScene::toRadians(platform::csng(platform::val(current.theta)));
    testLight_ = light;
    for (ColourGroupEditor* trio : trios_)
        trio->showColour();
    applyLight();
}

void LightPanel::applyLight()
{
    scene_.setLight(testLight_);
}

void LightPanel::lightTypeClicked()
{
    // Every statement runs even when one fails.
    platform::StepByStep steps;
    steps.step([&] { testLight_.Type = typeOfLight_->currentData().toInt(); });
    steps.step([&] { applyLight(); });
    const LightFieldsEnabled on = lightFieldsEnabled(typeOfLight_->currentIndex());
    for (TextBox* box : position_)
        box->setEnabled(on.position);
    theta_->setEnabled(on.spotAngles);
    phi_->setEnabled(on.spotAngles);
    for (TextBox* box : direction_)
        box->setEnabled(on.direction);
    range_->setEnabled(on.range);
}

void LightPanel::updateLightColour(size_t trio)
{
    const D3DCOLORVALUE colour = lightColour(trios_.at(trio)->rgbTexts());
    switch (trio) {
    case 0: testLight_.Ambient = colour; break;
    case 1: testLight_.Diffuse = colour; break;
    default: testLight_.Specular = colour; break;
    }
    applyLight();
    trios_[trio]->showColour();
}

} // namespace glazery
