#include "ui/ObjectPanel.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QVBoxLayout>

namespace landlume {

ObjectPanel::ObjectPanel(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("PanelRight"));
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(4, 4, 4, 4);
    int description = 4;

    auto* objects = new QGroupBox(QStringLiteral("Object settings"), this);
    auto* grid = new QGridLayout(objects);
    grid->setVerticalSpacing(3);
    loadObject = new ShapeButton(objects, QStringLiteral("LoadObject"), QStringLiteral("Load object"),
                                 QStringLiteral("Load object"));
    grid->addWidget(loadObject, 0, 0, 1, 3);
    const std::array<QString, 3> zeros{QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("0")};
    const std::array<QString, 3> ones{QStringLiteral("1"), QStringLiteral("1"), QStringLiteral("1")};
    position = boxRows(objects, grid, 1, QStringLiteral("TxtObjectPos"),
                       {QStringLiteral("X-Pos:"), QStringLiteral("Y-Pos:"), QStringLiteral("Z-Pos:")}, zeros, true,
                       description);
    rotation = boxRows(objects, grid, 4, QStringLiteral("TxtObjectRot"),
                       {QStringLiteral("X-Rot:"), QStringLiteral("Y-Rot:"), QStringLiteral("Z-Rot:")}, zeros, true,
                       description);
    scale = boxRows(objects, grid, 7, QStringLiteral("TxtObjectScale"),
                    {QStringLiteral("X-Scale:"), QStringLiteral("Y-Scale:"), QStringLiteral("Z-Scale:")}, ones, true,
                    description);
    for (int i = 0; i < 9; ++i) {
        placement[std::size_t(i)] = new QLabel(QStringLiteral("-"), objects);
        placement[std::size_t(i)]->setObjectName(QStringLiteral("LblPlacement_%1").arg(i));
        placement[std::size_t(i)]->setMinimumWidth(44);
        grid->addWidget(placement[std::size_t(i)], 1 + i, 2);
    }
    align = new QCheckBox(QStringLiteral("Align to land"), objects);
    align->setObjectName(QStringLiteral("ChkAlign"));
    placeOnLand = new QCheckBox(QStringLiteral("Position on land"), objects);
    placeOnLand->setObjectName(QStringLiteral("ChkPlaceOnLand"));
    placeOnLand->setChecked(true);
    grid->addWidget(align, 10, 0, 1, 3);
    grid->addWidget(placeOnLand, 11, 0, 1, 3);
    applyObject = applyButton(objects, QStringLiteral("ApplyObject"));
    grid->addWidget(applyObject, 12, 0, 1, 3);
    column->addWidget(objects);

    auto* light = new QGroupBox(QStringLiteral("Light direction"), this);
    auto* lightGrid = new QGridLayout(light);
    int lightLabels = 100;   // not part of the description array
    lightDir = boxRows(light, lightGrid, 0, QStringLiteral("TxtLightDir"),
                       {QStringLiteral("X-Pos:"), QStringLiteral("Y-Pos:"), QStringLiteral("Z-Pos:")},
                       {QStringLiteral("2"), QStringLiteral("-1"), QStringLiteral("2")}, false, lightLabels);
    for (int i = 0; i < 3; ++i)
        light->findChild<QLabel*>(QStringLiteral("LblDescription_%1").arg(100 + i))->setObjectName(QString());
    applyLight = applyButton(light, QStringLiteral("ApplyLight"));
    lightGrid->addWidget(applyLight, 3, 0, 1, 2);
    column->addWidget(light);
    column->addStretch(1);
    setFixedWidth(210);
}

void ObjectPanel::showObject(const PlacedObject& object)
{
    const std::array<QString, 9> texts = placementTexts(object);
    for (int i = 0; i < 9; ++i)
        placement[std::size_t(i)]->setText(texts[std::size_t(i)]);
    for (int i = 0; i < 3; ++i) {
        position[std::size_t(i)]->setText(texts[std::size_t(i)]);
        rotation[std::size_t(i)]->setText(texts[std::size_t(3 + i)]);
        scale[std::size_t(i)]->setText(texts[std::size_t(6 + i)]);
    }
    align->setChecked(object.aligned);
    placeOnLand->setChecked(object.onLand);
}

void ObjectPanel::showDefaults()
{
    for (QLabel* label : placement)
        label->setText(QStringLiteral("-"));
    for (int i = 0; i < 3; ++i) {
        position[std::size_t(i)]->setText(QStringLiteral("0"));
        rotation[std::size_t(i)]->setText(QStringLiteral("0"));
        scale[std::size_t(i)]->setText(QStringLiteral("1"));
    }
    placeOnLand->setChecked(true);
    align->setChecked(false);
    lightDir[0]->setText(QStringLiteral("2"));
    lightDir[1]->setText(QStringLiteral("-1"));
    lightDir[2]->setText(QStringLiteral("2"));
}

} // namespace landlume
